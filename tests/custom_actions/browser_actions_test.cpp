// The three browser actions in a real installer session, on a prepared machine.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/custom_actions/browser_machine.h"
#include "tests/custom_actions/session_fixture.h"

namespace {

using browsertest::BrowserMachine;
using browsertest::Narrow;
using testsupport::Properties;
using testsupport::RunInSession;

// Where this process's view puts Wine's Internet Explorer (Program Files or Program Files (x86)).
const std::wstring kWineInternetExplorer = browsertest::InternetExplorerProgram();
const std::wstring kInternetExplorerCommand = L"\"" + kWineInternetExplorer + L"\" -nohome";
// The six command properties as set before an action that must not write them.
const Properties kCommandsBefore = {{L"BROWSER_PATH", L"before"}, {L"ALT_BROWSER_IE", L"before"},
                                   {L"ALT_BROWSER_CMD", L"before"}, {L"BROWSER_IE", L"before"},
                                   {L"BROWSER_CMD", L"before"}, {L"ALT_BROWSER", L"before"}};

Properties Joined(Properties first, const Properties& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
std::wstring FileCommand(const std::wstring& path) { return Quoted(path) + L" \"%1\""; }

// The command of a browser that is left alone, and the six properties that
// SelectBrowser writes for it in the ordinary (not alternative) case.
Properties MainBrowser(const std::wstring& path, bool internetExplorer) {
    return {{L"BROWSER_PATH", path},
            {L"ALT_BROWSER_IE", L"0"},
            {L"ALT_BROWSER_CMD", L"0"},
            {L"BROWSER_IE", internetExplorer ? L"1" : L"0"},
            {L"BROWSER_CMD", internetExplorer ? Quoted(path) + L" -nohome" : FileCommand(path)},
            {L"ALT_BROWSER", L"0"}};
}

// -- EnumerateBrowsers --------------------------------------------------------

// What EnumerateBrowsers publishes for these browsers (id and name, in list
// order) with the host at `host` (1-based, 0: none): the count, each entry,
// nothing after the last, and the host's number under HostBrowser<count> only.
Properties ListedBrowsers(const std::vector<std::pair<std::wstring, std::wstring>>& browsers, size_t host) {
    const std::wstring count = std::to_wstring(browsers.size());
    Properties expected = {{L"BrwCount", count}};
    for (size_t i = 0; i < browsers.size(); ++i) {
        const std::wstring n = std::to_wstring(i + 1);
        expected.push_back({L"BrwID" + n, browsers[i].first});
        expected.push_back({L"Brw" + n, browsers[i].second});
        if (i + 1 < browsers.size()) expected.push_back({L"HostBrowser" + n, L""});
    }
    expected.push_back({L"BrwID" + std::to_wstring(browsers.size() + 1), L""});
    expected.push_back({L"HostBrowser" + count, host ? std::to_wstring(host) : L""});
    return expected;
}

TEST(EnumerateBrowsersTest, InternetExplorerAndTheDefaultFirefox) {
    BrowserMachine machine;
    const std::wstring firefox = machine.InstallMachineWide("browser_firefox3", L"Mozilla Firefox\\firefox.exe");
    machine.RegisterClient(HKEY_LOCAL_MACHINE, L"FIREFOX.EXE", L"Mozilla Firefox", Quoted(firefox));
    machine.SetDefaultClient(HKEY_LOCAL_MACHINE, L"FIREFOX.EXE");
    for (const wchar_t* allUsers : {L"1", L""}) {
        SCOPED_TRACE(testing::Message() << "ALLUSERS=" << Narrow(allUsers));
        EXPECT_TRUE(RunInSession(
            L"EnumerateBrowsers", {{L"ALLUSERS", allUsers}},
            ListedBrowsers({{L"{internet_explorer}", L"Internet Explorer"}, {L"FIREFOX.EXE", L"Mozilla Firefox"}}, 2)));
    }
}

TEST(EnumerateBrowsersTest, SevenFoundOnePerKindSortedWithoutRegardToCase) {
    BrowserMachine machine;
    const HKEY user = HKEY_CURRENT_USER;
    const HKEY all = HKEY_LOCAL_MACHINE;
    // A per-user Firefox hides the machine-wide one; Internet Explorer's class
    // hides its Start-menu registration; unknown programs are not listed.
    machine.RegisterClient(user, L"FIREFOX.EXE", L"firefox (mine)",
                           Quoted(machine.InstallForUser("browser_firefox3", L"Firefox\\firefox.exe")));
    machine.RegisterClient(all, L"FIREFOX2.EXE", L"Firefox",
                           Quoted(machine.InstallMachineWide("browser_firefox3", L"Firefox\\firefox.exe")));
    machine.RegisterClient(all, L"IEXPLORE.EXE", L"Internet Explorer (registered)",
                           machine.InstallMachineWide("browser_plain", L"IE\\iexplore.exe"));
    machine.RegisterClient(all, L"OPERA.EXE", L"opera",
                           Quoted(machine.InstallMachineWide("browser_opera9", L"Opera\\opera.exe")) + L" \"%1\"");
    machine.RegisterClient(all, L"Safari.exe", L"Safari",
                           machine.InstallMachineWide("browser_safari4", L"Safari\\Safari.exe"));
    machine.RegisterClient(all, L"Google Chrome", L"Google Chrome",
                           Quoted(machine.InstallForUser("browser_chrome", L"Chrome\\chrome.exe")));
    machine.RegisterClient(all, L"NOTES.EXE", L"Alpha Notes",
                           machine.InstallMachineWide("browser_unknown", L"Notes\\notes.exe"));
    machine.SetDefaultClient(all, L"Safari.exe");

    EXPECT_TRUE(RunInSession(L"EnumerateBrowsers", {{L"ALLUSERS", L""}},
                             ListedBrowsers({{L"FIREFOX.EXE", L"firefox (mine)"},
                                             {L"Google Chrome", L"Google Chrome"},
                                             {L"{internet_explorer}", L"Internet Explorer"},
                                             {L"OPERA.EXE", L"opera"},
                                             {L"Safari.exe", L"Safari"}},
                                            5)));
}

TEST(EnumerateBrowsersTest, HostSecondOfThreeIsNumberedByTheCount) {
    BrowserMachine machine;
    machine.RegisterClient(HKEY_LOCAL_MACHINE, L"FIREFOX.EXE", L"Mozilla Firefox",
                           machine.InstallMachineWide("browser_firefox3", L"Firefox\\firefox.exe"));
    machine.RegisterClient(HKEY_LOCAL_MACHINE, L"OPERA.EXE", L"Opera",
                           machine.InstallMachineWide("browser_opera9", L"Opera\\opera.exe"));
    machine.SetDefaultClient(HKEY_CURRENT_USER, L"FIREFOX.EXE");
    EXPECT_TRUE(RunInSession(L"EnumerateBrowsers", {},
                             ListedBrowsers({{L"{internet_explorer}", L"Internet Explorer"},
                                             {L"FIREFOX.EXE", L"Mozilla Firefox"},
                                             {L"OPERA.EXE", L"Opera"}},
                                            2)));
}

TEST(EnumerateBrowsersTest, NoBrowserOrAnUnlistedHost) {
    BrowserMachine machine;
    machine.RemoveInternetExplorerClass();
    EXPECT_TRUE(RunInSession(L"EnumerateBrowsers", {},
                             Joined(ListedBrowsers({}, 0), {{L"Brw1", L""}})));
    // An empty default finds no host: it stays Internet Explorer, which is not listed.
    machine.SetDefaultClient(HKEY_LOCAL_MACHINE, L"");
    machine.RegisterClient(HKEY_LOCAL_MACHINE, L"OPERA.EXE", L"",
                           machine.InstallMachineWide("browser_opera9", L"Opera\\opera.exe"));
    machine.RegisterClient(HKEY_LOCAL_MACHINE, L"Safari.exe", L"Safari",
                           machine.InstallMachineWide("browser_safari4", L"Safari\\Safari.exe"));
    // An empty display name sorts first.
    EXPECT_TRUE(RunInSession(L"EnumerateBrowsers", {},
                             ListedBrowsers({{L"OPERA.EXE", L""}, {L"Safari.exe", L"Safari"}}, 0)));
}

TEST(EnumerateBrowsersTest, ChromeForTheUserAloneIsListedUnderItsSpecialId) {
    BrowserMachine machine;
    const std::wstring chrome = machine.InstallForUser("browser_chrome", L"Chrome\\Application\\chrome.exe");
    machine.SetChromeInstallLocation(chrome.substr(0, chrome.rfind(L'\\')));
    struct Case {
        bool registered;
        const wchar_t* allUsers;
        Properties expected;
    } const cases[] = {
        {false, L"", {{L"BrwCount", L"2"}, {L"BrwID1", L"{google_chrome}"}, {L"Brw1", L"Google Chrome"}}},
        // Listed per-machine as well: selecting it makes it the alternative browser.
        {false, L"1", {{L"BrwCount", L"2"}, {L"BrwID1", L"{google_chrome}"}, {L"BrwID2", L"{internet_explorer}"}}},
        {true, L"", {{L"BrwCount", L"2"}, {L"BrwID1", L"Chromium"}, {L"Brw1", L"Chromium"}, {L"BrwID3", L""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "registered " << c.registered << " ALLUSERS=" << Narrow(c.allUsers));
        if (c.registered) machine.RegisterClient(HKEY_CURRENT_USER, L"Chromium", L"Chromium", chrome);
        EXPECT_TRUE(RunInSession(L"EnumerateBrowsers", {{L"ALLUSERS", c.allUsers}}, c.expected));
    }
}

// -- SelectBrowser ------------------------------------------------------------

TEST(SelectBrowserTest, PublishesTheChosenBrowserOrInternetExplorerInstead) {
    BrowserMachine machine;
    const std::wstring firefox3 = machine.InstallForUser("browser_firefox3", L"Firefox3\\firefox.exe");
    const std::wstring firefox2 = machine.InstallForUser("browser_firefox2", L"Firefox2\\firefox.exe");
    machine.RegisterClient(HKEY_CURRENT_USER, L"FIREFOX.EXE", L"Firefox", Quoted(firefox3) + L" -url \"%1\"");
    machine.RegisterClient(HKEY_CURRENT_USER, L"OLDFOX.EXE", L"Old Firefox", firefox2);
    machine.RegisterClient(HKEY_CURRENT_USER, L"NOTES.EXE", L"Notes",
                           machine.InstallForUser("browser_unknown", L"Notes\\notes.exe"));
    struct Case {
        const wchar_t* clientId;
        Properties expected;
    } const cases[] = {
        {L"FIREFOX.EXE", MainBrowser(firefox3, false)},
        // Firefox 2 is too old for one user, and an unknown program is no browser.
        {L"OLDFOX.EXE", MainBrowser(browsertest::InternetExplorerProgram(), true)},
        {L"NOTES.EXE", MainBrowser(browsertest::InternetExplorerProgram(), true)},
        // The registered quoted path is published unquoted and quoted once.
        {L"{internet_explorer}", MainBrowser(browsertest::InternetExplorerProgram(), true)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.clientId));
        EXPECT_TRUE(RunInSession(L"SelectBrowser", {{L"ALLUSERS", L"2"}, {L"BrwID", c.clientId}}, c.expected));
    }
}

TEST(SelectBrowserTest, WritesNothingWithoutABrowser) {
    BrowserMachine machine;
    machine.RegisterClient(HKEY_CURRENT_USER, L"OLDFOX.EXE", L"Old Firefox",
                           machine.InstallForUser("browser_firefox2", L"Firefox2\\firefox.exe"));
    struct Case {
        const wchar_t* clientId;
        bool internetExplorer;
    } const cases[] = {
        {L"NOWHERE.EXE", true},
        {L"", true},
        {L"{opera}", true},
        // Not recognised and no Internet Explorer to replace it.
        {L"OLDFOX.EXE", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.clientId));
        if (!c.internetExplorer) machine.RemoveInternetExplorerClass();
        EXPECT_TRUE(RunInSession(L"SelectBrowser", Joined({{L"BrwID", c.clientId}}, kCommandsBefore), kCommandsBefore));
    }
}

TEST(SelectBrowserTest, ChromeOfTheUserIsTheAlternativeOfAPerMachineInstallation) {
    BrowserMachine machine;
    const std::wstring chrome = machine.InstallForUser("browser_chrome", L"Chrome\\Application\\chrome.exe");
    machine.SetChromeInstallLocation(chrome.substr(0, chrome.rfind(L'\\')));
    const Properties alternative = {{L"BROWSER_PATH", chrome},
                                    {L"ALT_BROWSER_IE", L"0"},
                                    {L"ALT_BROWSER_CMD", FileCommand(chrome)},
                                    {L"BROWSER_IE", L"1"},
                                    {L"BROWSER_CMD", L"\"" + browsertest::InternetExplorerProgram() + L"\" -nohome"},
                                    {L"ALT_BROWSER", L"1"}};
    // Without Internet Explorer the alternative is the main browser too, its
    // command formed once.
    const Properties alone = {{L"BROWSER_PATH", chrome},
                              {L"ALT_BROWSER_IE", L"0"},
                              {L"ALT_BROWSER_CMD", FileCommand(chrome)},
                              {L"BROWSER_IE", L"0"},
                              {L"BROWSER_CMD", FileCommand(chrome)},
                              {L"ALT_BROWSER", L"1"}};
    struct Case {
        const wchar_t* allUsers;
        bool internetExplorer;
        const Properties& expected;
    } const cases[] = {
        {L"", true, MainBrowser(chrome, false)},
        {L"1", true, alternative},
        {L"1", false, alone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ALLUSERS=" << Narrow(c.allUsers) << " IE " << c.internetExplorer);
        if (!c.internetExplorer) machine.RemoveInternetExplorerClass();
        EXPECT_TRUE(
            RunInSession(L"SelectBrowser", {{L"ALLUSERS", c.allUsers}, {L"BrwID", L"{google_chrome}"}}, c.expected));
    }
}

// -- DetectBrowsers -----------------------------------------------------------

TEST(DetectBrowsersTest, PublishesTheDefaultBrowserWhenNoCommandIsSet) {
    BrowserMachine machine;
    const std::wstring safari = machine.InstallMachineWide("browser_safari4", L"Safari\\Safari.exe");
    machine.RegisterClient(HKEY_LOCAL_MACHINE, L"Safari.exe", L"Safari", Quoted(safari) + L" -url \"%1\"");
    machine.SetDefaultClient(HKEY_LOCAL_MACHINE, L"Safari.exe");
    EXPECT_TRUE(RunInSession(L"DetectBrowsers", {},
                             Joined(MainBrowser(safari, false), {{L"INSTALL_NSPLUGIN", L""}, {L"NSPLUGIN_DIR", L""}})));
    // Without a Start-menu default, Internet Explorer's quoted registration.
    machine.SetDefaultClient(HKEY_LOCAL_MACHINE, L"");
    EXPECT_TRUE(RunInSession(L"DetectBrowsers", {}, MainBrowser(kWineInternetExplorer, true)));
    // A command chosen before stays, with everything that goes with it.
    EXPECT_TRUE(RunInSession(L"DetectBrowsers", {{L"BROWSER_CMD", L"chosen"}},
                             {{L"BROWSER_CMD", L"chosen"}, {L"BROWSER_PATH", L""}, {L"BROWSER_IE", L""}}));
}

TEST(DetectBrowsersTest, PlugInFoldersOfFirefoxBeforeTheMozillaSuite) {
    struct Case {
        const wchar_t* firefoxFolder;  // null: not registered
        const wchar_t* mozillaFolder;
        const wchar_t* expected;       // null: nothing published
    } const cases[] = {
        {L"C:\\Program Files\\Mozilla Firefox", L"C:\\Program Files\\mozilla.org\\Mozilla\\",
         L"C:\\Program Files\\Mozilla Firefox\\"},
        {L"C:\\Program Files\\Mozilla Firefox\\", nullptr, L"C:\\Program Files\\Mozilla Firefox\\"},
        {nullptr, L"C:\\Program Files\\mozilla.org\\Mozilla", L"C:\\Program Files\\mozilla.org\\Mozilla\\"},
        // An empty folder counts as none, so the suite's folder is taken.
        {L"", L"C:\\Mozilla\\", L"C:\\Mozilla\\"},
        {nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.firefoxFolder ? Narrow(c.firefoxFolder) : "-") << " / "
                                        << (c.mozillaFolder ? Narrow(c.mozillaFolder) : "-"));
        BrowserMachine machine;
        if (c.firefoxFolder)
            machine.RegisterNetscapeFamily(L"Mozilla\\Mozilla Firefox", L"3.6.8 (en-US)", c.firefoxFolder);
        if (c.mozillaFolder) machine.RegisterNetscapeFamily(L"mozilla.org\\Mozilla", L"1.7.13", c.mozillaFolder);
        const std::wstring folder = c.expected ? c.expected : L"";
        EXPECT_TRUE(RunInSession(L"DetectBrowsers", {{L"BROWSER_CMD", L"chosen"}},
                                 {{L"NSPLUGIN_DIR", c.expected ? folder + L"Plugins\\" : L""},
                                  {L"NSCOMP_DIR", c.expected ? folder + L"Components\\" : L""},
                                  {L"INSTALL_NSPLUGIN", c.expected ? L"1" : L""}}));
    }
}

}  // namespace
