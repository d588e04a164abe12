// InstallFinalize and UninstallFinalize: the shell's per-user choices, the
// user's "Default" key, the removal of the registration, and Internet
// Explorer's refresh through a stand-in IEFRAME.DLL run in a child process.
#include <gtest/gtest.h>

#include <string>

#include "tests/custom_actions/registry_dump.h"
#include "tests/custom_actions/session_fixture.h"
#include "tests/support/file_fixture.h"
#include "tests/support/process_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/registry_link.h"

namespace {

using namespace testsupport;

const std::string kFileExts = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
const std::string kProduct = "Software\\Halvorix\\Meridel";
const std::string kIEFrame = "Software\\MeridelTest\\IEFrame";

// The shell's choices for the three extensions and one that is not ours.
void SeedShellChoices() {
    SetString(HKEY_CURRENT_USER, kFileExts + "\\.wrl\\UserChoice", "Progid", "Other.File");
    SetString(HKEY_CURRENT_USER, kFileExts + "\\.vrml\\OpenWithList", "a", "other.exe");
    SetString(HKEY_CURRENT_USER, kFileExts + "\\.wrz", "x", "y");
    SetString(HKEY_CURRENT_USER, kFileExts + "\\.txt\\UserChoice", "Progid", "txtfile");
}

void ExpectShellChoicesCleared() {
    for (const char* extension : {".wrl", ".vrml", ".wrz"}) {
        SCOPED_TRACE(extension);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kFileExts + "\\" + extension));
    }
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kFileExts + "\\.txt\\UserChoice", "Progid"), "txtfile");
}

void SeedUserProductKey() {
    SetString(HKEY_CURRENT_USER, kProduct, "Kept", "1");
    SetString(HKEY_CURRENT_USER, kProduct + "\\Default\\Viewer\\Deeper", "v", "x");
    SetString(HKEY_CURRENT_USER, kProduct + "\\Default", "Quality", "high");
    SetString(HKEY_CURRENT_USER, kProduct + "\\Other", "v", "x");
}

class FinalizeActionsTest : public ::testing::Test {
protected:
    static std::vector<std::pair<HKEY, std::string>> Places() {
        auto places = PerUserFileTypePlaces();
        for (const char* extension : {"\\.wrl", "\\.vrml", "\\.wrz", "\\.txt"})
            places.emplace_back(HKEY_CURRENT_USER, kFileExts + extension);
        places.emplace_back(HKEY_CURRENT_USER, "Software\\Halvorix");
        places.emplace_back(HKEY_CURRENT_USER, kIEFrame);
        places.emplace_back(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\action_runner.exe");
        return places;
    }
    ScopedRegistryCleanup cleanup_{Places()};
};

TEST_F(FinalizeActionsTest, InstallFinalizeRemovesTheUserDefaultsOnlyAfterAPerMachineInstallation) {
    struct Row {
        const char* name;
        bool readable;
        std::wstring allUsers;
        bool defaultRemoved;
    };
    const Row rows[] = {
        {"per-machine", true, L"1", true},
        {"per-user", true, L"", false},
        {"2", true, L"2", false},
        {"too long to read", true, std::wstring(32, L'1'), true},
        {"unreadable session", false, L"", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SeedShellChoices();
        SeedUserProductKey();
        SessionFixture session;
        ASSERT_TRUE(session.valid());
        session.SetProperty(L"ALLUSERS", row.allUsers);
        EXPECT_EQ(row.readable ? session.CallAction(L"InstallFinalize")
                               : SessionFixture::CallActionWithHandle(L"InstallFinalize", 0),
                  0u);
        ExpectShellChoicesCleared();
        EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, kProduct + "\\Default"), !row.defaultRemoved);
        EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kProduct, "Kept"), "1");
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kProduct + "\\Other"));
    }
}

TEST_F(FinalizeActionsTest, UninstallFinalizeRemovesTheRegistrationAndNothingElse) {
    SessionFixture session;
    ASSERT_TRUE(session.valid());
    session.SetProperty(L"CustomActionData", L"1:1:browser.exe \"%1\"");
    ASSERT_EQ(session.CallAction(L"RegisterFileExtension"), 0u);
    ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\Meridel.ClientCU\\shell\\open\\ddeexec"));
    SeedShellChoices();
    SeedUserProductKey();
    const RegistryDump product = DumpTree(HKEY_CURRENT_USER, L"Software\\Halvorix");

    EXPECT_EQ(SessionFixture::CallActionWithHandle(L"UninstallFinalize", 0), 0u);
    for (const char* key : {".wrl", ".vrml", ".wrz", "Meridel.ClientCU", "MIME\\Database\\Content Type\\model/vrml",
                            "MIME\\Database\\Content Type\\x-world/x-vrml",
                            "MIME\\Database\\Content Type\\application/x-meridel"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::string("Software\\Classes\\") + key));
    }
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\MIME\\Database\\Content Type"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kFileExts + "\\.wrl\\UserChoice"));
    EXPECT_EQ(DumpTree(HKEY_CURRENT_USER, L"Software\\Halvorix"), product);
}

// A link at the file type's key is deleted as a link; its target stays.
TEST_F(FinalizeActionsTest, UninstallFinalizeDeletesALinkedFileTypeAsALink) {
    const std::string target = "Software\\MeridelTest\\FileTypeTarget";
    ScopedRegistryCleanup targetCleanup({{HKEY_LOCAL_MACHINE, target}});
    SetString(HKEY_LOCAL_MACHINE, target + "\\shell\\open\\command", nullptr, "other.exe");
    MakeRegistryLink(HKEY_CURRENT_USER, "Software\\Classes\\Meridel.ClientCU", target);
    EXPECT_EQ(SessionFixture::CallActionWithHandle(L"UninstallFinalize", 0), 0u);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, target + "\\shell\\open\\command", nullptr), "other.exe");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\Meridel.ClientCU"));
    RemoveRegistryLink(HKEY_CURRENT_USER, "Software\\Classes\\Meridel.ClientCU");
}

// A link of the user's anywhere on a path the actions delete under leads into
// another vendor's machine-wide keys: nothing there is deleted.
TEST_F(FinalizeActionsTest, NoDeletionThroughAUserRegistryLink) {
    const std::string vendor = "Software\\MeridelTestVendor";
    ScopedRegistryCleanup vendorCleanup({{HKEY_LOCAL_MACHINE, vendor}});
    struct Row {
        std::string link;     // below HKEY_CURRENT_USER
        std::string target;   // below the vendor's key
        std::string subkey;   // below the target, what the actions would delete
    };
    const Row rows[] = {
        {kProduct, "\\Product", "Default"},
        {"Software\\Halvorix", "\\Maker", "Meridel\\Default"},
        {kFileExts, "\\FileExts", ".wrl"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.link);
        DeleteTree(HKEY_CURRENT_USER, row.link);
        SetString(HKEY_LOCAL_MACHINE, vendor + row.target + "\\" + row.subkey, "v", "x");
        MakeRegistryLink(HKEY_CURRENT_USER, row.link, vendor + row.target);
        EXPECT_TRUE(RunInSession(L"InstallFinalize", {{L"ALLUSERS", L"1"}}));
        EXPECT_EQ(SessionFixture::CallActionWithHandle(L"UninstallFinalize", 0), 0u);
        RemoveRegistryLink(HKEY_CURRENT_USER, row.link);
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, vendor + row.target + "\\" + row.subkey));
    }
}

// Runs one action in action_runner.exe from `folder` (beside the tests, or a
// subfolder that holds a stand-in IEFRAME.DLL beside its runner) with the
// runner's load order of ieframe set to `ieframeOrder` ("native" loads a
// stand-in, "" disables it).
DWORD RunAction(const std::string& folder, const char* ieframeOrder, const std::string& session,
                const std::string& action, const std::string& properties = "") {
    const std::string overrides = "Software\\Wine\\AppDefaults\\action_runner.exe\\DllOverrides";
    SetString(HKEY_CURRENT_USER, overrides, "ieframe", ieframeOrder);
    const DWORD exitCode = RunAndWait("\"" + TestBinFolder() + folder + "\\action_runner.exe\" \"" +
                                      FixturePath("msi_pinecone.dll") + "\" " + session + " " + action + " " +
                                      properties);
    DeleteTree(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\action_runner.exe");
    return exitCode;
}

// The actions load IEFRAME.DLL from the system folder only: the stand-in
// `variant` ("refresh" or "other") takes the place of Wine's there while this
// lives, and Wine's own comes back afterwards.
class SystemIEFrame {
public:
    explicit SystemIEFrame(const char* variant) {
        char system[MAX_PATH] = {};
        ::GetSystemDirectoryA(system, MAX_PATH);
        path_ = std::string(system) + "\\ieframe.dll";
        saved_ = path_ + ".meridel-saved";
        // Wine's copy moves aside first: the session's system folder shares its
        // files with the prefix template, so it is never written in place.
        moved_ = ::MoveFileExA(path_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
        if (moved_)
            ::CopyFileA((TestBinFolder() + "\\ieframe_" + variant + "\\IEFRAME.DLL").c_str(), path_.c_str(), TRUE);
        EXPECT_TRUE(moved_) << ::GetLastError();
    }
    ~SystemIEFrame() {
        if (!moved_) return;
        ::DeleteFileA(path_.c_str());
        ::MoveFileExA(saved_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    SystemIEFrame(const SystemIEFrame&) = delete;
    SystemIEFrame& operator=(const SystemIEFrame&) = delete;

private:
    std::string path_;
    std::string saved_;
    bool moved_ = false;
};

std::string Package() { return "\"" + FixturePath("session_test.msi") + "\""; }

TEST_F(FinalizeActionsTest, InternetExplorerIsRefreshedWhateverFailedBefore) {
    // No shell choices key, no product key and an unreadable session: every
    // step before the refresh finds nothing to do.
    DeleteTree(HKEY_CURRENT_USER, kFileExts);
    struct Row {
        const char* action;
        std::string session;
        const char* properties;
    };
    for (const Row& row : {Row{"InstallFinalize", "-", ""}, Row{"InstallFinalize", Package(), "ALLUSERS=1"},
                           Row{"UninstallFinalize", "-", ""}}) {
        SCOPED_TRACE(row.action + (" " + row.session));
        DeleteTree(HKEY_CURRENT_USER, kIEFrame);
        const SystemIEFrame ieframe("refresh");
        EXPECT_EQ(RunAction("", "native", row.session, row.action, row.properties), 0u);
        EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kIEFrame, "Loaded"));
        EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kIEFrame, "Refreshed"));
    }
}

TEST_F(FinalizeActionsTest, AnIEFrameBesideTheInstallerIsNeverLoaded) {
    for (const char* action : {"InstallFinalize", "UninstallFinalize"}) {
        SCOPED_TRACE(action);
        DeleteTree(HKEY_CURRENT_USER, kIEFrame);
        EXPECT_EQ(RunAction("\\ieframe_refresh", "native,builtin", Package(), action), 0u);
        EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kIEFrame, "Loaded"));
    }
}

TEST_F(FinalizeActionsTest, MissingIEFrameOrExportIsPassedOver) {
    for (const char* action : {"InstallFinalize", "UninstallFinalize"}) {
        SCOPED_TRACE(action);
        SeedShellChoices();
        DeleteTree(HKEY_CURRENT_USER, kIEFrame);
        // A module without the function: loaded, nothing called.
        {
            const SystemIEFrame ieframe("other");
            EXPECT_EQ(RunAction("", "native", Package(), action), 0u);
        }
        EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kIEFrame, "Loaded"));
        EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kIEFrame, "Refreshed"));
        // No module at all.
        EXPECT_EQ(RunAction("", "", Package(), action), 0u);
        EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kIEFrame, "Refreshed"));
    }
    // The install action still does its own work around the missing refresh.
    SeedShellChoices();
    EXPECT_EQ(RunAction("", "", Package(), "InstallFinalize"), 0u);
    ExpectShellChoicesCleared();
}

}  // namespace
