// ShowReadme and ShowScene start real programs: a recorder that writes its
// command line to the registry, which the tests wait for.
#include <gtest/gtest.h>

#include <optional>
#include <string>

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

}  // namespace
