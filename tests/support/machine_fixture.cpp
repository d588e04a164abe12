#include "tests/support/machine_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/optional_proc.h"
#include "platform/unique_resource.h"
#include "tests/fixtures/uninstaller/run_record.h"
#include "tests/support/registry_fixture.h"

namespace testsupport {

std::string CommonFilesProductFolder() {
    const auto base =
        ReadString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir");
    EXPECT_TRUE(base.has_value());
    return base.value_or("C:\\missing") + "\\Halvorix\\Meridel";
}

std::string AppDataProductFolder() {
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    platform::UniqueModule shfolder(::LoadLibraryA("shfolder.dll"));
    const auto getFolderPath = platform::GetOptionalProc<GetFolderPath>(shfolder.get(), "SHGetFolderPathA");
    char base[MAX_PATH] = {};
    EXPECT_TRUE(getFolderPath && getFolderPath(nullptr, 0x1A, nullptr, 0, base) >= 0);
    return std::string(base) + "\\Halvorix\\Meridel";
}

std::string AppDataMakerFolder() {
    const std::string product = AppDataProductFolder();
    return product.substr(0, product.rfind('\\'));
}

ScopedNewKeys::ScopedNewKeys(std::vector<std::pair<HKEY, std::string>> keys) {
    for (auto& key : keys)
        if (!KeyExists(key.first, key.second)) created_.push_back(std::move(key));
}

ScopedNewKeys::~ScopedNewKeys() {
    // Deepest first is not needed: each tree goes with everything below it.
    for (const auto& [root, path] : created_) DeleteTree(root, path);
}

void DeleteValue(HKEY root, const std::string& path, const std::string& name) {
    platform::UniqueKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), name.c_str());
}

ScopedValues::ScopedValues(HKEY root, std::string path, std::vector<std::string> names)
    : root_(root), path_(std::move(path)), names_(std::move(names)) {
    DeleteAll();
}

ScopedValues::~ScopedValues() { DeleteAll(); }

void ScopedValues::DeleteAll() const {
    for (const std::string& name : names_) DeleteValue(root_, path_, name);
}

std::vector<UninstallerRun> ReadUninstallerRuns() {
    std::vector<UninstallerRun> runs;
    for (int n = 1;; ++n) {
        const std::string name = "run" + std::to_string(n);
        const auto record = ReadString(HKEY_CURRENT_USER, old_uninstaller::kRecordKey, name.c_str());
        if (!record) break;
        UninstallerRun run;
        int consumed = 0;
        if (std::sscanf(record->c_str(), "%llu %llu %n", &run.start, &run.end, &consumed) != 2) {
            ADD_FAILURE() << "unreadable record " << *record;
            break;
        }
        run.commandLine = record->substr(static_cast<size_t>(consumed));
        runs.push_back(run);
    }
    return runs;
}

void ClearUninstallerRuns() { DeleteTree(HKEY_CURRENT_USER, old_uninstaller::kRecordKey); }

std::string ArgumentsAfterProgram(const std::string& commandLine, const std::string& program) {
    for (const std::string& form : {"\"" + program + "\"", program}) {
        if (commandLine.compare(0, form.size(), form) == 0) return commandLine.substr(form.size());
    }
    ADD_FAILURE() << "\"" << commandLine << "\" does not start with " << program;
    return commandLine;
}

unsigned long long SystemTimeNow() {
    FILETIME time{};
    ::GetSystemTimeAsFileTime(&time);
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace testsupport
