// Discovery of browsers from real registrations and real executables.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "custom_actions/browser_discovery.h"
#include "tests/custom_actions/browser_machine.h"
#include "tests/custom_actions/session_fixture.h"

namespace {

using namespace custom_actions;
using browsertest::BrowserMachine;
using browsertest::Narrow;

constexpr InstallScope kPerMachine = InstallScope::kPerMachine;
constexpr InstallScope kPerUser = InstallScope::kPerUser;

constexpr DWORD kSize = 260;
// Wine registers it quoted.
std::wstring QuotedInternetExplorer() { return L"\"" + browsertest::InternetExplorerProgram() + L"\""; }

std::wstring Text(const wchar_t* buffer) { return buffer; }

TEST(ExpandInPlaceTest, ExpandsOnlyWhenTheResultFits) {
    wchar_t expected[kSize];
    ASSERT_NE(0u, ::ExpandEnvironmentStringsW(L"%ProgramFiles%\\x.exe", expected, kSize));
    const DWORD fitting = static_cast<DWORD>(std::wstring(expected).size()) + 1;
    struct Case {
        const wchar_t* text;
        DWORD size;
        std::wstring result;
    } const cases[] = {
        {L"%ProgramFiles%\\x.exe", kSize, expected},
        {L"%ProgramFiles%\\x.exe", fitting + 1, expected},
        // Room for the result but not for its terminator: stays as it was.
        {L"%ProgramFiles%\\x.exe", fitting - 1, L"%ProgramFiles%\\x.exe"},
        {L"%ProgramFiles%\\x.exe", 22, L"%ProgramFiles%\\x.exe"},
        {L"C:\\plain\\path.exe", 18, L"C:\\plain\\path.exe"},
        {L"%MERIDEL_UNDEFINED%\\a", kSize, L"%MERIDEL_UNDEFINED%\\a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.text) << " in " << c.size);
        std::vector<wchar_t> buffer(c.size + 8, L'#');
        std::wstring(c.text).copy(buffer.data(), std::wstring(c.text).size());
        buffer[std::wstring(c.text).size()] = L'\0';
        ExpandInPlace(buffer.data(), c.size);
        EXPECT_EQ(c.result, Text(buffer.data()));
        for (DWORD i = c.size; i < buffer.size(); ++i) EXPECT_EQ(L'#', buffer[i]) << "written beyond at " << i;
    }
}

TEST(ReadInternetExplorerPathTest, ReadsTheRegisteredServerAsItIs) {
    BrowserMachine machine;
    wchar_t buffer[kSize];
    ASSERT_TRUE(ReadInternetExplorerPath(buffer, kSize, kPerUser));
    EXPECT_EQ(QuotedInternetExplorer(), Text(buffer));

    machine.SetInternetExplorerServer(L"%ProgramFiles%\\Internet Explorer\\iexplore.exe -embedding");
    ASSERT_TRUE(ReadInternetExplorerPath(buffer, kSize, kPerUser));
    EXPECT_EQ(browsertest::ProgramFilesFolder() + L"\\Internet Explorer\\iexplore.exe -embedding", Text(buffer));

    // Too long for the buffer counts as absent.
    EXPECT_FALSE(ReadInternetExplorerPath(buffer, 20, kPerUser));

    machine.RemoveInternetExplorerClass();
    EXPECT_FALSE(ReadInternetExplorerPath(buffer, kSize, kPerUser));
}

TEST(ReadChromePathTest, NeedsTheUninstallEntryAndAnExistingFile) {
    BrowserMachine machine;
    wchar_t buffer[kSize];
    EXPECT_FALSE(ReadChromePath(buffer, kSize));

    const std::wstring chrome = machine.InstallForUser("browser_chrome", L"Chrome\\Application\\chrome.exe");
    const std::wstring folder = chrome.substr(0, chrome.rfind(L'\\'));
    machine.SetChromeInstallLocation(folder);
    ASSERT_TRUE(ReadChromePath(buffer, kSize));
    EXPECT_EQ(chrome, Text(buffer));
    // Install location and "\chrome.exe" must fit together.
    EXPECT_FALSE(ReadChromePath(buffer, static_cast<DWORD>(chrome.size())));
    EXPECT_TRUE(ReadChromePath(buffer, static_cast<DWORD>(chrome.size() + 1)));

    machine.SetChromeInstallLocation(L"%LOCALAPPDATA%\\Meridel Browsers\\Chrome\\Application");
    ASSERT_TRUE(ReadChromePath(buffer, kSize));
    EXPECT_EQ(chrome, Text(buffer));

    // The folder itself, not a file.
    machine.SetChromeInstallLocation(browsertest::LocalAppDataFolder() + L"\\Meridel Browsers\\Chrome");
    EXPECT_FALSE(ReadChromePath(buffer, kSize));
}

TEST(ResolveBrowserExecutableTest, ExtractsTheExecutableFromTheOpenCommand) {
    struct Case {
        std::wstring command;
        std::wstring executable;
    };
    const std::wstring pf = browsertest::ProgramFilesFolder();
    const Case cases[] = {
        {L"\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -url \"%1\"",
         L"C:\\Program Files\\Mozilla Firefox\\firefox.exe"},
        // No closing quote: everything after the opening one.
        {L"\"C:\\Program Files\\Opera\\opera.exe", L"C:\\Program Files\\Opera\\opera.exe"},
        {L"C:\\Progs\\Safari\\Safari.exe -new", L"C:\\Progs\\Safari\\Safari.exe"},
        // The last ".EXE", in any case, even inside folder names.
        {L"C:\\tools.exe\\Apps.Exe\\browser.eXe --flag", L"C:\\tools.exe\\Apps.Exe\\browser.eXe"},
        {L"C:\\no\\executable here", L"C:\\no\\executable here"},
        {L"%ProgramFiles%\\Safari\\Safari.exe", pf + L"\\Safari\\Safari.exe"},
    };
    BrowserMachine machine;
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.command));
        machine.RegisterClient(HKEY_LOCAL_MACHINE, L"Browser.exe", L"Browser", c.command);
        wchar_t buffer[kSize];
        ASSERT_TRUE(ResolveBrowserExecutable(buffer, kPerMachine, L"Browser.exe", kSize));
        EXPECT_EQ(c.executable, Text(buffer));
    }
}

TEST(ResolveBrowserExecutableTest, FollowsTheRootOrderAndTheSpecialIds) {
    BrowserMachine machine;
    machine.RegisterClient(HKEY_CURRENT_USER, L"FIREFOX.EXE", L"Firefox", L"C:\\User\\firefox.exe");
    machine.RegisterClient(HKEY_LOCAL_MACHINE, L"FIREFOX.EXE", L"Firefox", L"C:\\Machine\\firefox.exe");
    machine.RegisterClient(HKEY_CURRENT_USER, L"EMPTY.EXE", L"Empty", L"");
    machine.RegisterClient(HKEY_LOCAL_MACHINE, L"EMPTY.EXE", L"Empty", L"C:\\Machine\\empty.exe");
    machine.RegisterClient(HKEY_CURRENT_USER, L"USERONLY.EXE", L"User only", L"C:\\User\\only.exe");
    const std::wstring chrome = machine.InstallForUser("browser_chrome", L"Chrome\\chrome.exe");
    machine.SetChromeInstallLocation(chrome.substr(0, chrome.rfind(L'\\')));

    struct Case {
        const wchar_t* clientId;
        InstallScope scope;
        bool resolved;
        std::wstring executable;
    } const cases[] = {
        {L"FIREFOX.EXE", kPerUser, true, L"C:\\User\\firefox.exe"},
        {L"firefox.exe", kPerUser, true, L"C:\\User\\firefox.exe"},
        {L"FIREFOX.EXE", kPerMachine, true, L"C:\\Machine\\firefox.exe"},
        // An empty per-user command passes on to the machine-wide one.
        {L"EMPTY.EXE", kPerUser, true, L"C:\\Machine\\empty.exe"},
        {L"USERONLY.EXE", kPerUser, true, L"C:\\User\\only.exe"},
        {L"USERONLY.EXE", kPerMachine, false, L""},
        {L"MISSING.EXE", kPerUser, false, L""},
        {L"{internet_explorer}", kPerMachine, true, QuotedInternetExplorer()},
        {L"{google_chrome}", kPerMachine, true, chrome},
        // Special ids compare with case, and any other braced id is unknown.
        {L"{Google_Chrome}", kPerUser, false, L""},
        {L"{opera}", kPerUser, false, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.clientId)
                                        << (c.scope == kPerMachine ? " per-machine" : " per-user"));
        wchar_t buffer[kSize] = L"";
        EXPECT_EQ(c.resolved, ResolveBrowserExecutable(buffer, c.scope, c.clientId, kSize));
        if (c.resolved) {
            EXPECT_EQ(c.executable, Text(buffer));
        }
    }
}

TEST(LocateDefaultBrowserTest, TheMachineWideDefaultIsResolvedLast) {
    BrowserMachine machine;
    machine.RegisterClient(HKEY_CURRENT_USER, L"SAFARI.EXE", L"Safari", L"C:\\User\\Safari.exe");
    machine.RegisterClient(HKEY_LOCAL_MACHINE, L"OPERA.EXE", L"Opera", L"C:\\Machine\\opera.exe");
    wchar_t buffer[kSize];

    machine.SetDefaultClient(HKEY_CURRENT_USER, L"SAFARI.EXE");
    ASSERT_TRUE(LocateDefaultBrowser(buffer, kPerUser, kSize));
    EXPECT_EQ(L"C:\\User\\Safari.exe", Text(buffer));
    // A per-machine installation does not see the user's default: Internet Explorer.
    ASSERT_TRUE(LocateDefaultBrowser(buffer, kPerMachine, kSize));
    EXPECT_EQ(QuotedInternetExplorer(), Text(buffer));

    // An empty machine-wide default is no default: the user's one stands.
    machine.SetDefaultClient(HKEY_LOCAL_MACHINE, L"");
    ASSERT_TRUE(LocateDefaultBrowser(buffer, kPerUser, kSize));
    EXPECT_EQ(L"C:\\User\\Safari.exe", Text(buffer));

    machine.SetDefaultClient(HKEY_LOCAL_MACHINE, L"OPERA.EXE");
    ASSERT_TRUE(LocateDefaultBrowser(buffer, kPerUser, kSize));
    EXPECT_EQ(L"C:\\Machine\\opera.exe", Text(buffer));

    // The machine-wide default that does not resolve overrides the user's one.
    machine.SetDefaultClient(HKEY_LOCAL_MACHINE, L"GONE.EXE");
    ASSERT_TRUE(LocateDefaultBrowser(buffer, kPerUser, kSize));
    EXPECT_EQ(QuotedInternetExplorer(), Text(buffer));

    machine.RemoveInternetExplorerClass();
    EXPECT_FALSE(LocateDefaultBrowser(buffer, kPerUser, kSize));
}

TEST(LocateDefaultBrowserTest, LeavesTheShellAssociationInTheBufferWithoutFindingIt) {
    BrowserMachine machine;
    machine.RemoveInternetExplorerClass();
    wchar_t expected[kSize];
    DWORD count = kSize;
    ASSERT_TRUE(SUCCEEDED(::AssocQueryStringW(0, ASSOCSTR_EXECUTABLE, L"http", L"open", expected, &count)))
        << "the prefix associates http with a program";

    wchar_t buffer[kSize] = L"unchanged";
    EXPECT_FALSE(LocateDefaultBrowser(buffer, kPerUser, kSize));
    EXPECT_EQ(Text(expected), Text(buffer));

    // An association that does not fit the buffer is emptied, not cut.
    wchar_t small[8] = L"x";
    EXPECT_FALSE(LocateDefaultBrowser(small, kPerUser, 8));
    EXPECT_EQ(L"", Text(small));
}

}  // namespace
