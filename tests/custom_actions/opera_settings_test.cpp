// Opera's settings files written by MakeOperaHappy, directly and through
// InstallFinalize.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/custom_actions/browser_machine.h"
#include "tests/custom_actions/session_fixture.h"
#include "tests/support/file_fixture.h"
#include "tests/support/host_link.h"
#include "tests/support/process_fixture.h"

namespace {

using browsertest::BrowserMachine;
using browsertest::Narrow;

const wchar_t kValueTail[] = L",Meridel3D Viewer,wrl,vrml,wrz|Meridel Netscape Browser Plug-In";

// A section's "key=value" lines in file order; empty when the file or the
// section is missing.
std::vector<std::wstring> SectionLines(const std::wstring& file, const wchar_t* section) {
    std::vector<wchar_t> buffer(8192);
    const DWORD length = ::GetPrivateProfileSectionW(section, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                     file.c_str());
    std::vector<std::wstring> lines;
    for (DWORD i = 0; i < length;) {
        const std::wstring line(buffer.data() + i);
        lines.push_back(line);
        i += static_cast<DWORD>(line.size()) + 1;
    }
    return lines;
}

void ExpectOperaEntries(const std::wstring& file, const std::wstring& value) {
    SCOPED_TRACE(Narrow(file));
    const std::vector<std::wstring> types = {L"model/vrml=" + value, L"x-world/x-vrml=" + value,
                                             L"application/x-meridel=" + value};
    const std::vector<std::wstring> extensions = {L"model/vrml=,0", L"x-world/x-vrml=,0",
                                                  L"application/x-meridel=,0"};
    EXPECT_EQ(types, SectionLines(file, L"File Types"));
    EXPECT_EQ(extensions, SectionLines(file, L"File Types Extension"));
}

bool FileExists(const std::wstring& path) { return testsupport::FileExists(Narrow(path)); }

class OperaSettingsTest : public testing::Test {
protected:
    OperaSettingsTest() {
        appDir_ = browsertest::ProgramFilesFolder() + L"\\Meridel Browsers\\Meridel\\";
        BrowserMachine::CopyFixture("browser_plugin", appDir_ + L"npMeridel.dll");
        operaFolder_ = browsertest::ProgramFilesFolder() + L"\\Meridel Browsers\\Opera\\";
        profileFile_ = browsertest::RoamingAppDataFolder() + L"\\Opera\\Opera\\profile\\opera6.ini";
        value_ = L"6,," + appDir_ + L"npMeridel.dll" + kValueTail + L" (6, 0, 1, 23)";
    }

    // The defaults file is created when missing; Opera's folder is there.
    void RegisterOpera() {
        BrowserMachine::CopyFixture("browser_opera9", operaFolder_ + L"opera.exe");
        machine_.RegisterClient(HKEY_LOCAL_MACHINE, L"OPERA.EXE", L"Opera",
                                L"\"" + operaFolder_ + L"opera.exe\" \"%1\"");
    }
    void CreateProfile() {
        testsupport::WriteFile(Narrow(profileFile_), "[User Prefs]\r\nHome URL=about:blank\r\n");
    }
    testing::AssertionResult Run(const wchar_t* action = L"MakeOperaHappy") {
        return testsupport::RunInSession(action, {{L"APPDIR", appDir_}});
    }

    BrowserMachine machine_;
    std::wstring appDir_;
    std::wstring operaFolder_;
    std::wstring profileFile_;
    std::wstring value_;
};

TEST_F(OperaSettingsTest, ProgramFolderFileIsCreatedForAMachineWideOpera) {
    RegisterOpera();
    ASSERT_TRUE(Run());
    ExpectOperaEntries(operaFolder_ + L"opera6def.ini", value_);
    EXPECT_FALSE(FileExists(profileFile_));
}

TEST_F(OperaSettingsTest, ProfileFileIsWrittenOnlyWhenItExists) {
    CreateProfile();
    // A per-user registration does not lead to the program folder.
    machine_.RegisterClient(HKEY_CURRENT_USER, L"OPERA.EXE", L"Opera", L"\"" + operaFolder_ + L"opera.exe\"");
    ASSERT_TRUE(Run());
    ExpectOperaEntries(profileFile_, value_);
    EXPECT_EQ(std::vector<std::wstring>{L"Home URL=about:blank"}, SectionLines(profileFile_, L"User Prefs"));
    EXPECT_FALSE(FileExists(operaFolder_ + L"opera6def.ini"));
}

TEST_F(OperaSettingsTest, BothFilesThroughInstallFinalize) {
    RegisterOpera();
    CreateProfile();
    ASSERT_TRUE(Run(L"InstallFinalize"));
    ExpectOperaEntries(operaFolder_ + L"opera6def.ini", value_);
    ExpectOperaEntries(profileFile_, value_);
}

TEST_F(OperaSettingsTest, AModuleWithoutVersionGetsNoSuffix) {
    RegisterOpera();
    BrowserMachine::CopyFixture("browser_plain", appDir_ + L"npMeridel.dll");
    ASSERT_TRUE(Run());
    ExpectOperaEntries(operaFolder_ + L"opera6def.ini", L"6,," + appDir_ + L"npMeridel.dll" + kValueTail);
}

TEST_F(OperaSettingsTest, AFolderWithAControlCharacterWritesNothing) {
    RegisterOpera();
    CreateProfile();
    for (const wchar_t* inserted : {L"\r\n[Evil]\r\nx=", L"\n", L"\t"}) {
        SCOPED_TRACE(Narrow(inserted));
        appDir_ = browsertest::ProgramFilesFolder() + L"\\Meridel" + inserted + L"Browsers\\";
        Run();
        EXPECT_FALSE(FileExists(operaFolder_ + L"opera6def.ini"));
        EXPECT_TRUE(SectionLines(profileFile_, L"File Types").empty());
        EXPECT_TRUE(SectionLines(profileFile_, L"Evil").empty());
    }
}

// A link of the user's at its Opera folder leads elsewhere: elevated, the
// settings file there is not the user's and is left as it is; unelevated (the
// action in action_runner.exe behind limited_launcher.exe) the installer can
// write nothing the user could not, and the user's link is the user's choice.
TEST_F(OperaSettingsTest, AProfileReachedThroughALinkIsNotWritten) {
    testsupport::ScopedTempFolder elsewhere("opera-elsewhere");
    const std::string target = elsewhere.path() + "\\Opera";
    const std::string victim = target + "\\Opera\\profile\\opera6.ini";
    testsupport::ScopedHostLinks links;
    const std::string link = Narrow(browsertest::RoamingAppDataFolder()) + "\\Opera";
    testsupport::WriteFile(victim, "[User Prefs]\r\nHome URL=about:blank\r\n");
    if (!links.Folder(link, target)) GTEST_SKIP() << "no host links here";
    ASSERT_TRUE(FileExists(profileFile_));
    ASSERT_TRUE(Run());
    EXPECT_TRUE(SectionLines(profileFile_, L"File Types").empty());

    // The trailing backslash of APPDIR is doubled before the closing quote.
    const std::string runner = "\"" + testsupport::FixturePath("action_runner.exe") + "\" \"" +
                               testsupport::FixturePath("msi_pinecone.dll") + "\" \"" +
                               testsupport::FixturePath("session_test.msi") + "\" MakeOperaHappy \"APPDIR=" +
                               Narrow(appDir_) + "\\\"";
    for (const bool elevated : {true, false}) {
        SCOPED_TRACE(elevated ? "elevated" : "unelevated");
        testsupport::WriteFile(victim, "[User Prefs]\r\n");
        EXPECT_EQ(testsupport::RunAndWait(elevated ? runner
                                                   : "\"" + testsupport::FixturePath("limited_launcher.exe") + "\" " +
                                                         runner),
                  0u);
        EXPECT_EQ(SectionLines(profileFile_, L"File Types").empty(), elevated);
    }
}

// A process of the user's swaps the Opera folder between one inside
// Application Data and one outside while the elevated installer runs: the
// file outside is never written, whenever the swap falls.
TEST_F(OperaSettingsTest, ASwappedProfileFolderIsNeverWrittenOutside) {
    constexpr int kRuns = 100;
    testsupport::ScopedTempFolder elsewhere("opera-race");
    const std::string inside = Narrow(browsertest::RoamingAppDataFolder()) + "\\MeridelOperaInside";
    const std::string files[] = {elsewhere.path() + "\\Opera\\profile\\opera6.ini",
                                 inside + "\\Opera\\profile\\opera6.ini"};
    int written[2] = {};  // outside, inside
    for (const std::string& file : files) testsupport::WriteFile(file, "[User Prefs]\r\n");
    {
        const testsupport::HostLinkSwapper swapper(Narrow(browsertest::RoamingAppDataFolder()) + "\\Opera", inside,
                                                   elsewhere.path());
        if (!swapper.started()) GTEST_SKIP() << "no host links here";
        for (int run = 0; run < kRuns; ++run) {
            Run();
            for (int i = 0; i < 2; ++i) {
                const std::wstring file = testsupport::Widen(files[i]);
                if (SectionLines(file, L"File Types").empty()) continue;
                ++written[i];
                testsupport::WriteFile(files[i], "[User Prefs]\r\n");
            }
        }
    }
    testsupport::RemoveTree(inside);
    EXPECT_EQ(written[0], 0) << "of " << kRuns << " runs; " << written[1] << " wrote inside";
    EXPECT_GT(written[1], 0);
}

TEST_F(OperaSettingsTest, NothingWithoutInstallationFolderOrOpera) {
    RegisterOpera();
    CreateProfile();
    for (const wchar_t* appDir : {L"", L"unreadable"}) {
        SCOPED_TRACE(Narrow(appDir));
        // A value longer than the 2048-character buffer cannot be read.
        EXPECT_TRUE(testsupport::RunInSession(L"MakeOperaHappy",
                                              {{L"APPDIR", appDir[0] ? std::wstring(2048, L'x') : L""}}));
        EXPECT_FALSE(FileExists(operaFolder_ + L"opera6def.ini"));
        EXPECT_TRUE(SectionLines(profileFile_, L"File Types").empty());
    }
    // Opera neither registered machine-wide nor with a profile: nothing at all.
    testsupport::RemoveTree(Narrow(browsertest::RoamingAppDataFolder() + L"\\Opera"));
    machine_.RegisterClient(HKEY_LOCAL_MACHINE, L"OPERA.EXE", L"Opera", L"");
    ASSERT_TRUE(Run());
    EXPECT_FALSE(FileExists(operaFolder_ + L"opera6def.ini"));
    EXPECT_FALSE(FileExists(profileFile_));
}

}  // namespace
