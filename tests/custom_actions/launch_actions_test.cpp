// ShowReadme and ShowScene start real programs: a recorder that writes its
// command line to the registry, which the tests wait for.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/custom_actions/browser_machine.h"
#include "tests/custom_actions/session_fixture.h"
#include "tests/support/file_fixture.h"
#include "tests/support/registry_fixture.h"

namespace {

using namespace testsupport;

const std::wstring kLaunches = L"Software\\MeridelTest\\Launches";

// The recorded command line of the launch named `name`, once it appears.
std::optional<std::wstring> WaitForLaunch(const wchar_t* name, DWORD timeoutMs = 15000) {
    for (DWORD waited = 0;; waited += 50) {
        if (auto line = ReadStringW(HKEY_CURRENT_USER, kLaunches, name)) return line;
        if (waited >= timeoutMs) return std::nullopt;
        ::Sleep(50);
    }
}

std::wstring Recorder() { return Widen(FixturePath("launch_recorder.exe")); }

class LaunchActionsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(session_.valid()); }

    ScopedRegistryCleanup cleanup_{{
        {HKEY_CURRENT_USER, "Software\\MeridelTest\\Launches"},
        {HKEY_LOCAL_MACHINE, "Software\\Classes\\.mrdreadme"},
        {HKEY_LOCAL_MACHINE, "Software\\Classes\\MeridelTest.Readme"},
        {HKEY_CURRENT_USER, "Software\\Classes\\.mrduser"},
        {HKEY_CURRENT_USER, "Software\\Classes\\MeridelTest.UserReadme"},
    }};
    SessionFixture session_;
};

TEST_F(LaunchActionsTest, ShowSceneStartsTheCommandLineAsGiven) {
    const std::wstring command = L"\"" + Recorder() + L"\" scene \"C:\\Scenes\\sample scene.wrl\"";
    session_.SetProperty(L"ShowSceneCmd", command);
    EXPECT_EQ(session_.CallAction(L"ShowScene"), 0u);
    EXPECT_EQ(WaitForLaunch(L"scene"), command);
}

TEST_F(LaunchActionsTest, OnlyCommandsThatFitTheBufferAreStarted) {
    const std::wstring prefix = L"\"" + Recorder() + L"\" ";
    // 520 characters do not fit with the terminator; 519 do.
    const std::wstring tooLong = prefix + L"toolong " + std::wstring(520 - prefix.size() - 8, L'x');
    const std::wstring longest = prefix + L"longest " + std::wstring(519 - prefix.size() - 8, L'x');
    ASSERT_EQ(tooLong.size(), 520u);
    session_.SetProperty(L"ShowSceneCmd", tooLong);
    EXPECT_EQ(session_.CallAction(L"ShowScene"), 0u);
    session_.SetProperty(L"ShowSceneCmd", longest);
    EXPECT_EQ(session_.CallAction(L"ShowScene"), 0u);
    EXPECT_EQ(WaitForLaunch(L"longest"), longest);
    EXPECT_EQ(ReadStringW(HKEY_CURRENT_USER, kLaunches, L"toolong"), std::nullopt);
}

TEST_F(LaunchActionsTest, LaunchFailuresAndUnreadableSessionsStillSucceed) {
    for (const wchar_t* command : {L"", L"C:\\no\\such\\program.exe scene", L"\"unterminated"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(command)));
        session_.SetProperty(L"ShowSceneCmd", command);
        EXPECT_EQ(session_.CallAction(L"ShowScene"), 0u);
        session_.SetProperty(L"ReadmePath", command);
        EXPECT_EQ(session_.CallAction(L"ShowReadme"), 0u);
    }
    EXPECT_EQ(SessionFixture::CallActionWithHandle(L"ShowScene", 0), 0u);
    EXPECT_EQ(SessionFixture::CallActionWithHandle(L"ShowReadme", 0), 0u);
}

TEST_F(LaunchActionsTest, ShowReadmeOpensTheDocumentThroughItsAssociation) {
    // Machine-wide, since the shell here does not see per-user associations.
    SetStringW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.mrdreadme", nullptr, L"MeridelTest.Readme");
    SetStringW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\MeridelTest.Readme\\shell\\open\\command", nullptr,
               L"\"" + Recorder() + L"\" readme \"%1\"");
    ScopedTempFolder folder("meridel readme");
    const std::string document = folder.path() + "\\Read Me.mrdreadme";
    WriteFile(document, "readme");

    // Too long to read: nothing is opened.
    session_.SetProperty(L"ReadmePath", Widen(document) + std::wstring(520, L' '));
    EXPECT_EQ(session_.CallAction(L"ShowReadme"), 0u);
    session_.SetProperty(L"ReadmePath", Widen(document));
    EXPECT_EQ(session_.CallAction(L"ShowReadme"), 0u);
    const std::optional<std::wstring> line = WaitForLaunch(L"readme");
    ASSERT_TRUE(line);
    EXPECT_NE(line->find(L"Read Me.mrdreadme"), std::wstring::npos) << testing::PrintToString(*line);
    // Only one launch happened: the recorder's one value per name was written once.
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, "Software\\MeridelTest\\Launches").size(), 1u);
}

// A program that the user's own registrations name, or that lies in the
// user's folders, starts in a per-user installation and never in an elevated
// per-machine one, which still starts a program of the machine's.
TEST_F(LaunchActionsTest, AnElevatedPerMachineInstallationStartsNoProgramOfTheUsers) {
    const std::string userFolder = browsertest::Narrow(browsertest::LocalAppDataFolder()) + "\\MeridelTestLaunch";
    const std::wstring userRecorder = Widen(userFolder) + L"\\launch_recorder.exe";
    CreateFolders(userFolder);
    ASSERT_TRUE(CopyFileTo(FixturePath("launch_recorder.exe"), browsertest::Narrow(userRecorder)));
    SetStringW(HKEY_CURRENT_USER, L"Software\\Classes\\.mrduser", nullptr, L"MeridelTest.UserReadme");
    SetStringW(HKEY_CURRENT_USER, L"Software\\Classes\\MeridelTest.UserReadme\\shell\\open\\command", nullptr,
               L"\"" + userRecorder + L"\" userclass \"%1\"");
    SetStringW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.mrdreadme", nullptr, L"MeridelTest.Readme");
    SetStringW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\MeridelTest.Readme\\shell\\open\\command", nullptr,
               L"\"" + userRecorder + L"\" userprogram \"%1\"");
    ScopedTempFolder documents("meridel launches");
    for (const char* name : {"\\Read Me.mrduser", "\\Read Me.mrdreadme"}) WriteFile(documents.path() + name, "readme");
    struct Row {
        const wchar_t* action;
        const wchar_t* property;
        std::wstring value;
        const wchar_t* launch;
    };
    const Row rows[] = {
        {L"ShowReadme", L"ReadmePath", Widen(documents.path()) + L"\\Read Me.mrduser", L"userclass"},
        {L"ShowReadme", L"ReadmePath", Widen(documents.path()) + L"\\Read Me.mrdreadme", L"userprogram"},
        {L"ShowScene", L"ShowSceneCmd", L"\"" + userRecorder + L"\" userscene", L"userscene"},
    };
    for (const wchar_t* allUsers : {L"1", L""}) {
        SCOPED_TRACE(allUsers[0] ? "per-machine" : "per-user");
        DeleteTree(HKEY_CURRENT_USER, "Software\\MeridelTest\\Launches");
        session_.SetProperty(L"ALLUSERS", allUsers);
        for (const Row& row : rows) {
            session_.SetProperty(row.property, row.value);
            EXPECT_EQ(session_.CallAction(row.action), 0u);
        }
        if (allUsers[0]) {
            // The machine's own program starts; whatever was started before it has had its time.
            session_.SetProperty(L"ShowSceneCmd", L"\"" + Recorder() + L"\" machinescene");
            EXPECT_EQ(session_.CallAction(L"ShowScene"), 0u);
            EXPECT_TRUE(WaitForLaunch(L"machinescene"));
            ::Sleep(1000);
        }
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(row.launch)));
            EXPECT_EQ(allUsers[0] ? ReadStringW(HKEY_CURRENT_USER, kLaunches, row.launch).has_value()
                                  : WaitForLaunch(row.launch).has_value(),
                      !allUsers[0]);
        }
    }
    RemoveTree(userFolder);
}

}  // namespace
