#include "tests/support/removal_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/unique_resource.h"
#include "remover/engine/machine_places.h"
#include "tests/support/file_fixture.h"
#include "tests/support/registry_fixture.h"

namespace testsupport {
namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPendingValue[] = "PendingFileRenameOperations";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), platform::AsciiLower<char>);
    return text;
}

// The value's strings, split at every zero byte within its length, so that the
// empty targets of deletions stay in place.
std::vector<std::string> ReadPendingStrings() {
    platform::UniqueKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), kPendingValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return {};
    std::string data(size, '\0');
    if (::RegQueryValueExA(key.get(), kPendingValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &size) !=
        ERROR_SUCCESS)
        return {};
    data.resize(size);
    // Drop the list's closing zero byte(s) beyond the last pair.
    std::vector<std::string> strings;
    size_t start = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] != '\0') continue;
        strings.push_back(data.substr(start, i - start));
        start = i + 1;
    }
    if (strings.size() % 2 == 1 && strings.back().empty()) strings.pop_back();
    return strings;
}

std::string StripNtPrefix(const std::string& path) {
    return path.rfind("\\??\\", 0) == 0 ? path.substr(4) : path;
}

}  // namespace

const char kProbeRecordsKey[] = "Software\\MeridelTest";

DWORD ProbeCount(const char* event, const std::string& moduleName) {
    platform::UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kProbeRecordsKey) + "\\" + event).c_str(), 0, KEY_READ,
                        key.put()) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0;
    DWORD size = sizeof(count);
    if (::RegQueryValueExA(key.get(), moduleName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&count), &size) !=
        ERROR_SUCCESS)
        return 0;
    return count;
}

FileHolder::FileHolder(const std::vector<std::string>& files) {
    static int serial = 0;
    const std::string tag = std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++serial);
    const std::string readyName = "MeridelHolderReady-" + tag;
    const std::string releaseName = "MeridelHolderRelease-" + tag;
    ready_.reset(::CreateEventA(nullptr, TRUE, FALSE, readyName.c_str()));
    release_.reset(::CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str()));
    std::string commandLine = "\"" + FixturePath("file_holder.exe") + "\" " + readyName + " " + releaseName;
    for (const std::string& file : files) commandLine += " \"" + file + "\"";
    std::vector<char> text(commandLine.begin(), commandLine.end());
    text.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot start the file holder";
        return;
    }
    platform::UniqueHandle thread(info.hThread);
    process_.reset(info.hProcess);
    HANDLE waits[] = {ready_.get(), process_.get()};
    holding_ = ::WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
    EXPECT_TRUE(holding_) << "the file holder did not open every file";
}

FileHolder::~FileHolder() {
    if (release_) ::SetEvent(release_.get());
    if (process_) ::WaitForSingleObject(process_.get(), 30000);
}

std::vector<std::string> PendingDeletions() {
    const std::vector<std::string> strings = ReadPendingStrings();
    std::vector<std::string> deletions;
    for (size_t i = 0; i + 1 < strings.size(); i += 2)
        if (strings[i + 1].empty()) deletions.push_back(StripNtPrefix(strings[i]));
    return deletions;
}

void DropPendingBelow(const std::string& folder) {
    const std::vector<std::string> strings = ReadPendingStrings();
    const std::string prefix = Lower(folder + "\\");
    std::string kept;
    for (size_t i = 0; i + 1 < strings.size(); i += 2) {
        if (Lower(StripNtPrefix(strings[i])).rfind(prefix, 0) == 0) continue;
        kept += strings[i] + '\0' + strings[i + 1] + '\0';
    }
    platform::UniqueKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return;
    if (kept.empty()) {
        ::RegDeleteValueA(key.get(), kPendingValue);
        return;
    }
    kept += '\0';
    ::RegSetValueExA(key.get(), kPendingValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kept.data()),
                     static_cast<DWORD>(kept.size()));
}

std::string WininitPath() {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\wininit.ini";
}

std::string ReadWholeFile(const std::string& path) {
    platform::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string content;
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0) content.append(chunk, read);
    return content;
}

ScopedWininit::ScopedWininit() : existed_(FileExists(WininitPath())), content_(ReadWholeFile(WininitPath())) {}

ScopedWininit::~ScopedWininit() {
    if (existed_)
        WriteFile(WininitPath(), content_);
    else
        ::DeleteFileA(WininitPath().c_str());
}

ScopedWin98Program::ScopedWin98Program(const std::string& exeName)
    : key_("Software\\Wine\\AppDefaults\\" + exeName) {
    SetString(HKEY_CURRENT_USER, key_, "Version", "win98");
}

ScopedWin98Program::~ScopedWin98Program() { DeleteTree(HKEY_CURRENT_USER, key_); }

remover::RemovalContext StandardUserContext() {
    remover::MachinePlaces places = remover::GatherMachinePlaces();
    places.elevated = false;
    remover::RemovalContext context;
    context.places = std::make_shared<const remover::MachinePlaces>(std::move(places));
    return context;
}

}  // namespace testsupport
