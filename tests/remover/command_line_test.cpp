#include "remover/front/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/exact_text.h"
#include "platform/unique_resource.h"
#include "remover/engine/class_registration.h"
#include "tests/support/file_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

struct Case {
    const char* commandLine;
    bool silent;
    bool removeFolders;
    std::vector<std::string> keep;  // registry text of each kept identifier, in order
};

std::vector<std::string> KeepTexts(const RemoverOptions& options) {
    std::vector<std::string> texts;
    for (const GUID& id : options.keepList) texts.push_back(GuidToText(id));
    return texts;
}

const char kA[] = "{845945F8-6993-4B85-B563-DB0116DFC434}";
const char kB[] = "{54D58948-E105-494F-BF70-DF4632A91FA0}";

TEST(ParseCommandLine, ReadsSilentFoldersAndTheKeepList) {
    const Case cases[] = {
        {"meridremover.exe", false, true, {}},
        {"\"C:\\Program Files\\Halvorix\\meridremover.exe\" /s", true, true, {}},
        {"meridremover.exe /S /F", true, false, {}},
        {"meridremover.exe /s\t/f", true, false, {}},
        {"meridremover.exe /s/f", false, true, {}},
        {"meridremover.exe /silent /sf -s", false, true, {}},
        {"meridremover.exe /s /x{845945F8-6993-4B85-B563-DB0116DFC434}", true, true, {kA}},
        // Any letter case of the braced form; order and duplicates are kept.
        {"m.exe /X{54d58948-e105-494f-bf70-df4632a91fa0} /x{845945F8-6993-4B85-B563-DB0116DFC434} "
         "/x{54D58948-E105-494F-BF70-DF4632A91FA0}",
         false, true, {kB, kA, kB}},
        // Malformed identifiers are dropped without effect on the rest.
        {"m.exe /x /x {845945F8-6993-4B85-B563-DB0116DFC434} /xnot-a-guid /f", false, false, {}},
        {"m.exe /x845945F8-6993-4B85-B563-DB0116DFC434", false, true, {}},
        {"m.exe /x{845945F8-6993-4B85-B563-DB0116DFC43}", false, true, {}},
        // The program's own path is never scanned.
        {"C:/s/meridremover.exe /f", false, false, {}},
        {"C:/s /f", false, false, {}},
        {"\"C:\\rt2 /s dir\\meridremover.exe\" /f", false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        const std::string narrow = c.commandLine;
        // The UTF-16 line of the same ASCII text reads alike.
        for (const RemoverOptions& options :
             {ParseCommandLine(narrow.c_str()), ParseCommandLine(std::wstring(narrow.begin(), narrow.end()).c_str())}) {
            EXPECT_EQ(options.silent, c.silent);
            EXPECT_EQ(options.removeFolders, c.removeFolders);
            EXPECT_EQ(KeepTexts(options), c.keep);
        }
    }
}

// Look-alikes of the slash and the backslash that the code page lacks never
// form an option:
// the argument that holds one is dropped whole.
TEST(ParseCommandLine, DropsArgumentsThatDoNotConvertExactly) {
    const struct {
        const wchar_t* commandLine;
        bool silent;
        bool removeFolders;
        size_t kept;
    } cases[] = {
        {L"\"C:\\rt2 \uFF0Fs dir\\meridremover.exe\"", false, true, 0},
        {L"meridremover.exe \uFF0Fs", false, true, 0},
        {L"meridremover.exe \uFF0Fs /f", false, false, 0},
        {L"meridremover.exe /s\uFF3C /F\uFF1A", false, true, 0},
        {L"m.exe /x{845945F8-6993-4B85-B563-DB0116DFC434}\uFF0Fs /s", true, true, 0},
        {L"m.exe /x{845945F8-6993-4B85-B563-DB0116DFC434} /s", true, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.commandLine)));
        const RemoverOptions options = ParseCommandLine(c.commandLine);
        EXPECT_EQ(options.silent, c.silent);
        EXPECT_EQ(options.removeFolders, c.removeFolders);
        EXPECT_EQ(options.keepList.size(), c.kept);
    }
}

TEST(ParseCommandLine, NullCommandLineGivesTheDefaults) {
    for (const RemoverOptions& options :
         {ParseCommandLine(static_cast<const char*>(nullptr)), ParseCommandLine(static_cast<const wchar_t*>(nullptr))}) {
        EXPECT_FALSE(options.silent);
        EXPECT_TRUE(options.removeFolders);
        EXPECT_TRUE(options.keepList.empty());
    }
}

// Starts the command line. A run that asks first is answered by closing its
// window; true only when the program ended by itself without asking.
bool EndsWithoutAsking(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "could not start";
        return false;
    }
    platform::UniqueHandle process(info.hProcess);
    platform::UniqueHandle thread(info.hThread);
    for (int tick = 0; tick < 600; ++tick) {
        if (::WaitForSingleObject(process.get(), 100) == WAIT_OBJECT_0) return true;
        const HWND window = ::FindWindowA(nullptr, "Meridel Remover");
        DWORD owner = 0;
        if (window && ::GetWindowThreadProcessId(window, &owner) && owner == info.dwProcessId) {
            ::PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        }
    }
    if (::WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 1);
    return false;
}

// The real program, started from a folder named with a look-alike of the
// slash or given one as an argument, asks before it removes anything.
TEST(RemoverCommandLine, OnlyARealSlashRemovesSilently) {
    using namespace testsupport;
    ScopedRegistryCleanup cleanup(ProductRegistryPlaces());
    ScopedTempFolder scratch("meridel-command-line");
    const std::wstring folder = platform::Widen(scratch.path()) + L"\\rt2 \uFF0Fs dir";
    const std::wstring lookAlike = folder + L"\\meridremover.exe";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(platform::Widen(FixturePath("meridremover.exe")).c_str(), lookAlike.c_str(), FALSE));
    const std::wstring plain = platform::Widen(FixturePath("meridremover.exe"));
    const struct {
        std::wstring commandLine;
        bool silent;
    } cases[] = {
        {L"\"" + lookAlike + L"\"", false},
        {L"\"" + plain + L"\" \uFF0Fs", false},
        {L"\"" + lookAlike + L"\" /s", true},
        {L"\"" + plain + L"\" /s", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.commandLine));
        testsupport::SetString(HKEY_LOCAL_MACHINE, kProductKey, "Version", "2.1");
        EXPECT_EQ(EndsWithoutAsking(c.commandLine), c.silent);
        EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kProductKey), !c.silent);
    }
    ::DeleteFileW(lookAlike.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace remover
