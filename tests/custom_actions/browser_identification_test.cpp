// Identification of real executables by their version resources and names.
#include <gtest/gtest.h>

#include <string>

#include "custom_actions/browser_identification.h"
#include "tests/custom_actions/browser_machine.h"
#include "tests/custom_actions/session_fixture.h"
#include "tests/support/file_fixture.h"

namespace {

using namespace custom_actions;
using browsertest::BrowserMachine;
using custom_actions_core::BrowserKind;

enum class Place { kProgramFiles, kLocalAppData, kRoamingAppData };

struct IdentifyCase {
    const char* fixture;
    const wchar_t* fileName;
    Place place;
    int perMachineKind;
    int perUserKind;
};

std::wstring PlaceFolder(Place place) {
    switch (place) {
        case Place::kProgramFiles: return browsertest::ProgramFilesFolder();
        case Place::kLocalAppData: return browsertest::LocalAppDataFolder();
        case Place::kRoamingAppData: return browsertest::RoamingAppDataFolder();
    }
    return {};
}

TEST(IdentifyBrowserTest, DecidesByVersionTextsThenNameUnderEachCondition) {
    const IdentifyCase cases[] = {
        // Firefox needs product version 2 machine-wide and 3 for one user;
        // the file version (10.1) must not count.
        {"browser_firefox2", L"firefox.exe", Place::kProgramFiles, 2, 0},
        {"browser_firefox3", L"firefox.exe", Place::kProgramFiles, 2, 2},
        // "Opera" alone is found text that matches nothing: the name is not asked.
        {"browser_opera_bare", L"OPERA.EXE", Place::kProgramFiles, 0, 0},
        {"browser_opera9", L"opera.exe", Place::kProgramFiles, 3, 3},
        {"browser_opera8", L"opera.exe", Place::kProgramFiles, 0, 0},
        {"browser_safari4", L"Safari.exe", Place::kProgramFiles, 5, 5},
        {"browser_safari3", L"Safari.exe", Place::kProgramFiles, 0, 0},
        {"browser_chrome", L"chrome.exe", Place::kProgramFiles, 4, 0},
        {"browser_chrome", L"chrome.exe", Place::kLocalAppData, 4, 4},
        {"browser_iexplore", L"browser.exe", Place::kProgramFiles, 1, 1},
        // Internet Explorer's keyword comes before Firefox's.
        {"browser_two_keywords", L"firefox.exe", Place::kProgramFiles, 1, 1},
        // The file description is read after the product name.
        {"browser_description_only", L"viewer.exe", Place::kProgramFiles, 5, 5},
        {"browser_unknown", L"FIREFOX.EXE", Place::kProgramFiles, 0, 0},
        // Without a translation table the name decides; the fixed block still counts.
        {"browser_no_translation", L"FIREFOX.EXE", Place::kProgramFiles, 2, 2},
        {"browser_no_translation", L"browser.exe", Place::kProgramFiles, 0, 0},
        // No version resource at all.
        {"browser_plain", L"IEXPLORE.EXE", Place::kProgramFiles, 1, 1},
        {"browser_plain", L"iexplore.exe", Place::kProgramFiles, 1, 1},
        {"browser_plain", L"FIREFOX.EXE", Place::kProgramFiles, 0, 0},
        {"browser_plain", L"OPERA.EXE", Place::kProgramFiles, 0, 0},
        {"browser_plain", L"SAFARI.EXE", Place::kProgramFiles, 0, 0},
        {"browser_plain", L"CHROME.EXE", Place::kProgramFiles, 4, 0},
        {"browser_plain", L"CHROME.EXE", Place::kLocalAppData, 4, 4},
        {"browser_plain", L"CHROME.EXE", Place::kRoamingAppData, 4, 4},
        {"browser_plain", L"notepad.exe", Place::kProgramFiles, 0, 0},
    };
    BrowserMachine machine;
    int row = 0;
    for (const IdentifyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << row << ": " << c.fixture << " as "
                                        << browsertest::Narrow(c.fileName));
        const std::wstring path =
            PlaceFolder(c.place) + L"\\Meridel Browsers\\" + std::to_wstring(row++) + L"\\" + c.fileName;
        BrowserMachine::CopyFixture(c.fixture, path);
        // A stale error code from an earlier call must not hide the texts.
        ::SetLastError(ERROR_ACCESS_DENIED);
        EXPECT_EQ(c.perMachineKind, IdentifyBrowser(InstallScope::kPerMachine, path.c_str()));
        ::SetLastError(ERROR_ACCESS_DENIED);
        EXPECT_EQ(c.perUserKind, IdentifyBrowser(InstallScope::kPerUser, path.c_str()));
    }
}

TEST(IdentifyBrowserTest, FolderOrMissingFileIsNotRecognised) {
    BrowserMachine machine;
    const std::wstring folder = browsertest::LocalAppDataFolder() + L"\\Meridel Browsers\\chrome.exe";
    testsupport::CreateFolders(browsertest::Narrow(folder));
    EXPECT_EQ(0, IdentifyBrowser(InstallScope::kPerMachine, folder.c_str()));
    const std::wstring missing = browsertest::ProgramFilesFolder() + L"\\Meridel Browsers\\CHROME.EXE";
    EXPECT_EQ(0, IdentifyBrowser(InstallScope::kPerMachine, missing.c_str()));
}

TEST(ReadFixedVersionTest, CopiesTheProductVersionOrReportsNone) {
    BrowserMachine machine;
    VS_FIXEDFILEINFO fixed{};
    ASSERT_TRUE(ReadFixedVersion(testsupport::Widen(testsupport::FixturePath("browser_plugin.exe")).c_str(), fixed));
    EXPECT_EQ(0xFEEF04BDu, fixed.dwSignature);
    EXPECT_EQ(0x00060000u, fixed.dwProductVersionMS);
    EXPECT_EQ(0x00010017u, fixed.dwProductVersionLS);
    EXPECT_EQ(0x000A0001u, fixed.dwFileVersionMS);

    EXPECT_FALSE(ReadFixedVersion(testsupport::Widen(testsupport::FixturePath("browser_plain.exe")).c_str(), fixed));
    const std::wstring missing = browsertest::ProgramFilesFolder() + L"\\Meridel Browsers\\none.exe";
    EXPECT_FALSE(ReadFixedVersion(missing.c_str(), fixed));
}

TEST(IsUnderUserAppDataTest, RoamingAndLocalFoldersOnly) {
    const std::wstring local = browsertest::LocalAppDataFolder();
    const std::wstring roaming = browsertest::RoamingAppDataFolder();
    struct Case {
        std::wstring path;
        bool expected;
    } const cases[] = {
        {local + L"\\Google\\Chrome\\Application\\chrome.exe", true},
        {roaming + L"\\Browser\\browser.exe", true},
        {local, true},
        // A folder whose name only begins like the application-data folder.
        {local + L"Low\\browser.exe", false},
        {browsertest::ProgramFilesFolder() + L"\\Google\\Chrome\\Application\\chrome.exe", false},
        {L"chrome.exe", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(browsertest::Narrow(c.path));
        EXPECT_EQ(c.expected, IsUnderUserAppData(c.path.c_str()));
    }
}

}  // namespace
