// Where the remover's code comes from: system DLLs from the system folder
// only, a component module's dependencies from its own folder, no module
// from the user's profile in an elevated run, and never a link's target.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "remover/engine/file_link.h"
#include "remover/engine/module_file.h"
#include "tests/support/file_fixture.h"
#include "tests/support/host_link.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/process_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/removal_support.h"

namespace {

using namespace testsupport;

const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

// engine_runner.exe with the arguments: elevated (as Wine starts every
// process), or unelevated through limited_launcher.exe.
DWORD RunEngine(bool elevated, const std::string& arguments) {
    const std::string runner = "\"" + FixturePath("engine_runner.exe") + "\" " + arguments;
    return RunAndWait(elevated ? runner : "\"" + FixturePath("limited_launcher.exe") + "\" " + runner);
}

class ModuleLoadingTest : public ::testing::Test {
protected:
    ScopedTempFolder folder_{"module-loading"};
    ScopedRegistryCleanup records_{{{HKEY_CURRENT_USER, kProbeRecordsKey}}};
};

TEST_F(ModuleLoadingTest, TheLauncherGivesAnUnelevatedRun) {
    EXPECT_EQ(RunEngine(true, "--elevated"), 1u);
    EXPECT_EQ(RunEngine(false, "--elevated"), 0u);
}

// The remover started from a Downloads folder that holds a "shfolder.dll",
// with Wine told to prefer such a copy, as Windows would: the system's own
// still finds the product folder below Application Data.
TEST_F(ModuleLoadingTest, AShfolderBesideTheRemoverIsNeverLoaded) {
    const std::string remover = folder_.path() + "\\meridremover.exe";
    CopyFileTo(FixturePath("meridremover.exe"), remover);
    CopyFileTo(FixturePath("unreg_probe.dll"), folder_.path() + "\\shfolder.dll");
    const std::string appDefaults = "Software\\Wine\\AppDefaults\\meridremover.exe";
    ScopedRegistryCleanup overrides({{HKEY_CURRENT_USER, appDefaults}});
    SetString(HKEY_CURRENT_USER, appDefaults + "\\DllOverrides", "shfolder", "native,builtin");
    const ScopedFolderCleanup maker(AppDataMakerFolder());
    const std::string settings = AppDataProductFolder() + "\\settings.ini";
    WriteFile(settings);

    EXPECT_EQ(RunAndWait("\"" + remover + "\" /s"), 0u);
    EXPECT_EQ(ProbeCount("Loaded", "shfolder.dll"), 0u);
    EXPECT_FALSE(FileExists(settings));
}

// A copy of the dependency lies beside the test program too, where a plain
// LoadLibrary of the module would look first.
TEST_F(ModuleLoadingTest, AComponentModuleTakesItsDependenciesFromItsOwnFolder) {
    ASSERT_TRUE(FileExists(FixturePath("dependency_probe.dll")));
    const std::string module = folder_.path() + "\\component.dll";
    const std::string dependency = folder_.path() + "\\dependency_probe.dll";
    CopyFileTo(FixturePath("dependent_module.dll"), module);
    CopyFileTo(FixturePath("dependency_probe.dll"), dependency);
    remover::RemovalContext context;
    remover::RemoveModuleFile(context, module.c_str());
    EXPECT_EQ(ProbeCount("DependencyLoaded", dependency), 1u);
    EXPECT_EQ(ProbeCount("DependencyLoaded", FixturePath("dependency_probe.dll")), 0u);
    EXPECT_FALSE(FileExists(module));
}

// Any process of the user can put a module below the profile: an elevated
// run deletes it without loading it; an unelevated run unregisters it first.
TEST_F(ModuleLoadingTest, AnElevatedRunLoadsNoModuleFromTheUserProfile) {
    char appData[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData), S_OK);
    const std::string profileFolder = std::string(appData) + "\\Meridel Loading Test";
    struct Case {
        const char* name;
        bool elevated;
        bool inProfile;
        DWORD unregisters;
    };
    const Case cases[] = {
        {"elevated_profile.dll", true, true, 0},
        {"limited_profile.dll", false, true, 1},
        {"elevated_machine.dll", true, false, 1},
        {"limited_machine.dll", false, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = (c.inProfile ? profileFolder : folder_.path()) + "\\" + c.name;
        CopyFileTo(FixturePath("unreg_probe.dll"), path);
        SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str(), 1);
        EXPECT_EQ(RunEngine(c.elevated, "--module \"" + path + "\""), 0u);
        EXPECT_EQ(ProbeCount("Loaded", c.name), c.unregisters);
        EXPECT_EQ(ProbeCount("Unregistered", c.name), c.unregisters);
        EXPECT_FALSE(FileExists(path));
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str()));
    }
    RemoveTree(profileFolder);
}

// A file in use is scheduled in a standard user's run, in an elevated one only where no standard user can repoint it.
TEST_F(ModuleLoadingTest, AFileInUseIsScheduledOnlyWhereNoStandardUserCanRepointItsPath) {
    const ScopedFolderCleanup maker(AppDataMakerFolder());
    const std::string appData = AppDataProductFolder(), common = CommonFilesProductFolder(), root = folder_.path();
    const ScopedFolderCleanup commonMaker(common.substr(0, common.rfind('\\')));
    const std::pair<std::string, bool> cases[] = {{appData, true}, {appData, false}, {root, true}, {common, true}};
    for (const auto& [folder, elevated] : cases) {
        const std::string path = folder + "\\held.txt";
        SCOPED_TRACE(path + (elevated ? " | elevated" : " | standard user"));
        ASSERT_TRUE(WriteFile(path));
        {
            FileHolder holder({path});
            ASSERT_TRUE(holder.holding());
            EXPECT_EQ(RunEngine(elevated, "--module \"" + path + "\""), 3u);
        }
        const auto pending = PendingDeletions();
        EXPECT_EQ(std::find(pending.begin(), pending.end(), path) != pending.end(), !elevated || folder == common);
        DropPendingBelow(folder);
    }
}

// The decision itself, on each kind of link the host can make.
TEST_F(ModuleLoadingTest, LinksAreToldFromFiles) {
    const std::string target = folder_.path() + "\\target\\engine.dll";
    WriteFile(target);
    ScopedHostLinks links;
    if (!links.File(folder_.path() + "\\filelink.dll", target) ||
        !links.Folder(folder_.path() + "\\folderlink", folder_.path() + "\\target"))
        GTEST_SKIP() << "no host links here";
    using remover::LinkKind;
    const struct {
        std::string path;
        LinkKind kind;
    } cases[] = {
        {target, LinkKind::None},
        {folder_.path() + "\\filelink.dll", LinkKind::ResolvesElsewhere},
        {folder_.path() + "\\folderlink", LinkKind::Link},
        {folder_.path() + "\\folderlink\\engine.dll", LinkKind::ThroughLinkedFolder},
        {folder_.path() + "\\missing.dll", LinkKind::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(remover::ClassifyLink(c.path), c.kind);
    }
}

// A file link in a product folder: its target is never loaded. Deleting a
// host link under Wine deletes its target, so the remover leaves such a link.
TEST_F(ModuleLoadingTest, AFileLinkIsNeverLoadedNorDeletedThrough) {
    const std::string target = folder_.path() + "\\elsewhere\\someone.dll";
    CopyFileTo(FixturePath("unreg_probe.dll"), target);
    const std::string link = folder_.path() + "\\product\\linked.dll";
    CreateFolders(folder_.path() + "\\product");
    ScopedHostLinks links;
    if (!links.File(link, target)) GTEST_SKIP() << "no host links here";
    remover::RemovalContext context;
    remover::RemoveModuleFile(context, link.c_str());
    EXPECT_EQ(ProbeCount("Loaded", "linked.dll") + ProbeCount("Loaded", "someone.dll"), 0u);
    EXPECT_TRUE(FileExists(target));
}

}  // namespace
