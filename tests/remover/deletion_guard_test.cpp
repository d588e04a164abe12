// The one guard in front of every deletion: folders that are not the
// product's, in whatever spelling, and single files that are the system's
// stay untouched; the product's own folders and files still go.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "platform/unique_resource.h"
#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"
#include "remover/engine/deletion_guard.h"
#include "remover/engine/machine_places.h"
#include "remover/engine/module_file.h"
#include "remover/engine/product_folders.h"
#include "tests/support/file_fixture.h"
#include "tests/support/host_link.h"
#include "tests/support/process_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/removal_support.h"

namespace {

using namespace testsupport;

const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)) ? path : "";
}

std::string WindowsFolder() {
    char path[MAX_PATH] = {};
    ::GetWindowsDirectoryA(path, MAX_PATH);
    return path;
}

std::string Parent(const std::string& path) { return path.substr(0, path.rfind('\\')); }

std::string CommonFiles() { return *ReadString(HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir"); }
std::string ProgramFiles() { return *ReadString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir"); }

// Folders that a "User's Guide" value or a tampered base folder can name, and
// that are not the product's. Each gets a sentinel file that must survive.
TEST(DeletionGuard, RefusesFoldersThatAreNotTheProducts) {
    const std::string windows = WindowsFolder();
    const std::string profiles = Parent(ShellFolder(CSIDL_PROFILE));
    // A profile the machine lists outside the profiles folder (another drive
    // on a real machine).
    const std::string carol = windows.substr(0, 3) + "meridel-test-profiles\\carol";
    const std::string listed = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-1-2-3-4242";
    ScopedRegistryCleanup profile({{HKEY_LOCAL_MACHINE, listed}});
    SetString(HKEY_LOCAL_MACHINE, listed, "ProfileImagePath", carol);
    const std::string machineData = ShellFolder(CSIDL_COMMON_APPDATA) + "\\Microsoft";
    const std::string downloads =
        ReadString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   "{374DE290-123F-4565-9164-39C4925E467B}")
            .value_or(ShellFolder(CSIDL_PROFILE) + "\\Downloads");
    struct Case {
        std::string folder;    // handed to DeleteFolderTree
        std::string sentinel;  // a file that must survive ("" : the folder cannot be reached here)
    };
    const Case cases[] = {
        {profiles + "\\bob", profiles + "\\bob\\Documents\\letter.txt"},
        {profiles + "\\bob\\AppData\\Roaming\\Other", profiles + "\\bob\\AppData\\Roaming\\Other\\data.txt"},
        {profiles + "\\All Users\\Meridel", profiles + "\\All Users\\Meridel\\shared.txt"},
        {windows + "\\help", windows + "\\help\\meridel-sentinel.txt"},
        {windows + "\\system32\\drivers\\etc", windows + "\\system32\\drivers\\etc\\meridel-sentinel.txt"},
        {windows + "\\system32\\config", windows + "\\system32\\config\\meridel-sentinel.txt"},
        {windows + "\\winsxs\\Meridel", windows + "\\winsxs\\Meridel\\meridel-sentinel.txt"},
        {windows + "\\Sysnative\\Meridel", ""},
        {"\\\\localhost\\C$\\windows\\help", windows + "\\help\\meridel-sentinel.txt"},
        {"\\\\server\\share\\Meridel", ""},
        {CommonFiles() + "\\System", CommonFiles() + "\\System\\msado15.dll"},
        {CommonFiles() + "\\System\\ado", CommonFiles() + "\\System\\ado\\msado15.dll"},
        {CommonFiles() + "\\Microsoft Shared\\VGX", CommonFiles() + "\\Microsoft Shared\\VGX\\vgx.dll"},
        {ShellFolder(CSIDL_APPDATA) + "\\Halvorix", ShellFolder(CSIDL_APPDATA) + "\\Halvorix\\Other\\o.txt"},
        {CommonFiles() + "\\halvorix. ", CommonFiles() + "\\Halvorix\\Other\\o.txt"},
        {ProgramFiles() + "\\Halvorix", ProgramFiles() + "\\Halvorix\\Other\\o.txt"},
        {ShellFolder(CSIDL_FAVORITES) + "\\Guide", ShellFolder(CSIDL_FAVORITES) + "\\Guide\\mine.txt"},
        {carol + "\\Guide", carol + "\\Guide\\mine.txt"},
        {machineData + "\\Crypto", machineData + "\\Crypto\\meridel-sentinel.txt"},
        {downloads, downloads + "\\meridel-sentinel.txt"},
    };
    ScopedRegistryCleanup records({{HKEY_CURRENT_USER, kProbeRecordsKey}});
    // Gathered once, as a run does: each case is a run of its own.
    const auto places = std::make_shared<const remover::MachinePlaces>(remover::GatherMachinePlaces());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        if (!c.sentinel.empty()) CopyFileTo(FixturePath("unreg_probe.dll"), c.sentinel);
        remover::RemovalContext context;
        context.places = places;
        remover::DeleteFolderTree(context, c.folder);
        if (c.sentinel.empty()) continue;
        EXPECT_TRUE(FileExists(c.sentinel));
        ::DeleteFileA(c.sentinel.c_str());
    }
    EXPECT_EQ(ProbeCount("Loaded", "msado15.dll"), 0u);
    for (const char* folder : {"\\bob", "\\All Users\\Meridel"}) RemoveTree(profiles + folder);
    for (const std::string& base : {ShellFolder(CSIDL_APPDATA), CommonFiles(), ProgramFiles()})
        RemoveTree(base + "\\Halvorix");
    RemoveTree(ShellFolder(CSIDL_FAVORITES) + "\\Guide");
    RemoveTree(windows + "\\winsxs\\Meridel");
    RemoveTree(Parent(carol));
    // The product's own folders are still deleted.
    const std::string product = ShellFolder(CSIDL_APPDATA) + "\\Halvorix\\Meridel";
    const std::string docs = ProgramFiles() + "\\Halvorix\\Meridel VRML Client\\Docs";
    for (const std::string& folder : {product, docs}) {
        WriteFile(folder + "\\Sub\\file.txt");
        remover::RemovalContext context;
        remover::DeleteFolderTree(context, folder);
        EXPECT_FALSE(FolderExists(folder)) << folder;
    }
    for (const std::string& base : {ShellFolder(CSIDL_APPDATA), ProgramFiles()}) RemoveTree(base + "\\Halvorix");
}

// A link at any name below the folder's base sends the walk elsewhere: the
// "Halvorix" parent of the Application Data product folder, or the product
// folder itself. Links are made with the host's ln (see host_link.h).
TEST(DeletionGuard, RefusesFoldersReachedThroughALink) {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    const std::string elsewhere = appData + "\\Meridel Link Target";
    const std::string victim = elsewhere + "\\Meridel\\important.txt";
    struct Case {
        std::string link;
        std::string target;
    };
    const Case cases[] = {
        {appData + "\\Halvorix", elsewhere},
        {appData + "\\Halvorix\\Meridel", elsewhere + "\\Meridel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        WriteFile(victim);
        CreateFolders(Parent(c.link));
        {
            ScopedHostLinks links;
            ASSERT_TRUE(links.Folder(c.link, c.target));
            ASSERT_TRUE(FileExists(appData + "\\Halvorix\\Meridel\\important.txt"));
            remover::RemovalContext context;
            remover::RemoveProductFolders(context);
            EXPECT_TRUE(FileExists(victim));
        }
        RemoveTree(appData + "\\Halvorix");
    }
    RemoveTree(elsewhere);
}

// A link on the way to a registered file, into the product's Common Files
// folder: where only administrators can change it (the client's folder in
// Program Files) the file goes and its unregistration runs, by where it lies;
// where a standard user could re-point it (a folder Everyone may write, the
// profile) nothing is loaded or deleted.
TEST(DeletionGuard, FollowsOnlyLinksThatNoStandardUserCanChange) {
    ScopedRegistryCleanup records({{HKEY_CURRENT_USER, kProbeRecordsKey}});
    const std::string product = CommonFiles() + "\\Halvorix\\Meridel";
    const std::string client = ProgramFiles() + "\\Halvorix\\Meridel VRML Client";
    const struct {
        std::string holder;
        bool everyoneWrites, followed;
    } cases[] = {
        {client, false, true},
        {client + "\\Open", true, false},
        {ShellFolder(CSIDL_APPDATA) + "\\Halvorix\\Meridel", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holder);
        ASSERT_TRUE(CopyFileTo(FixturePath("unreg_probe.dll"), product + "\\engine.dll"));
        CreateFolders(c.holder);
        if (c.everyoneWrites) {
            ASSERT_TRUE(LetEveryoneWrite(c.holder));
        }
        {
            ScopedHostLinks links;
            if (!links.Folder(c.holder + "\\Common", product)) GTEST_SKIP() << "no host links here";
            remover::RemovalContext context;
            remover::RemoveModuleFile(context, (c.holder + "\\Common\\engine.dll").c_str());
        }
        EXPECT_EQ(FileExists(product + "\\engine.dll"), !c.followed);
        EXPECT_EQ(ProbeCount("Loaded", "engine.dll"), c.followed ? 1u : 0u);
        DeleteTree(HKEY_CURRENT_USER, kProbeRecordsKey);
        for (const std::string& base : {CommonFiles(), ProgramFiles(), ShellFolder(CSIDL_APPDATA)})
            RemoveTree(base + "\\Halvorix");
    }
}

// A product folder that is itself a link goes as a link: what it points to
// stays and nothing in it is loaded. (Wine cannot remove a host link from the
// Windows side, so here the link stays too.)
TEST(DeletionGuard, RemovesAProductFolderThatIsALinkAsALink) {
    ScopedRegistryCleanup records({{HKEY_CURRENT_USER, kProbeRecordsKey}});
    ScopedTempFolder target("linked-product");
    ASSERT_TRUE(CopyFileTo(FixturePath("unreg_probe.dll"), target.path() + "\\keep.dll"));
    CreateFolders(CommonFiles() + "\\Halvorix");
    {
        ScopedHostLinks links;
        ASSERT_TRUE(links.Folder(CommonFiles() + "\\Halvorix\\Meridel", target.path()));
        remover::RemovalContext context;
        remover::RemoveProductFolders(context);
    }
    EXPECT_TRUE(FileExists(target.path() + "\\keep.dll"));
    EXPECT_EQ(ProbeCount("Loaded", "keep.dll"), 0u);
    RemoveTree(CommonFiles() + "\\Halvorix");
}

// Single files named by a class registration, the product key or a browser
// folder: what is not plainly one of the product's files is neither loaded
// nor deleted, and its SharedDlls value stays.
TEST(DeletionGuard, RefusesSystemRelativeAndFolderPathsForSingleFiles) {
    ScopedRegistryCleanup records({{HKEY_CURRENT_USER, kProbeRecordsKey}});
    const std::string system32 = WindowsFolder() + "\\system32";
    const std::string systemFile = system32 + "\\meridel_sys_probe.dll";
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    const std::string relativeFile = std::string(current) + "\\meridel_bare_probe.dll";
    ScopedTempFolder folder("guarded-files");
    CopyFileTo(FixturePath("unreg_probe.dll"), systemFile);
    CopyFileTo(FixturePath("unreg_probe.dll"), relativeFile);
    const std::string named[] = {
        systemFile,
        "\\\\localhost\\C$\\windows\\system32\\meridel_sys_probe.dll",
        system32 + "\\..\\system32\\meridel_sys_probe.dll",
        WindowsFolder() + "\\Sysnative\\meridel_sys_probe.dll",
        "meridel_bare_probe.dll",
        folder.path(),
    };
    const auto places = std::make_shared<const remover::MachinePlaces>(remover::GatherMachinePlaces());
    for (const std::string& path : named) {
        SCOPED_TRACE(path);
        SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str(), 1);
        remover::RemovalContext context;
        context.places = places;  // gathered once: each path is a run of its own
        remover::RemoveModuleFile(context, path.c_str());
        EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str()));
        platform::UniqueKey shared;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_ALL_ACCESS, shared.put()) == ERROR_SUCCESS)
            ::RegDeleteValueA(shared.get(), path.c_str());
    }
    EXPECT_TRUE(FileExists(systemFile));
    EXPECT_TRUE(FileExists(relativeFile));
    EXPECT_TRUE(FolderExists(folder.path()));
    EXPECT_EQ(ProbeCount("Loaded", "meridel_sys_probe.dll"), 0u);
    EXPECT_EQ(ProbeCount("Loaded", "meridel_bare_probe.dll"), 0u);
    const auto pending = PendingDeletions();
    EXPECT_EQ(std::find(pending.begin(), pending.end(), folder.path()), pending.end());
    ::DeleteFileA(relativeFile.c_str());
    ::DeleteFileA(systemFile.c_str());
}

// The whole program: a class registration of the product that names a
// system library keeps the library, and the registration still goes.
TEST(DeletionGuard, ClassRegistrationNamingASystemLibraryKeepsTheLibrary) {
    const std::string systemFile = WindowsFolder() + "\\system32\\meridel_msxml_probe.dll";
    const std::string control = remover::GuidToText(remover::kControlClassId);
    ScopedRegistryCleanup registry({{HKEY_CURRENT_USER, kProbeRecordsKey},
                                    {HKEY_LOCAL_MACHINE, kProductKey},
                                    {HKEY_CLASSES_ROOT, ClassKey(control)}});
    CopyFileTo(FixturePath("unreg_probe.dll"), systemFile);
    SetString(HKEY_LOCAL_MACHINE, kProductKey, "Version", "2.1");
    RegisterClass(control, systemFile);
    EXPECT_EQ(RunRemover("/s /f"), 0u);
    EXPECT_TRUE(FileExists(systemFile));
    EXPECT_EQ(ProbeCount("Loaded", "meridel_msxml_probe.dll"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKey(control)));
    ::DeleteFileA(systemFile.c_str());
}

const std::string kUserControlClass = "Software\\Classes\\" + ClassKey(remover::GuidToText(remover::kControlClassId));

ScopedRegistryCleanup UserClassCleanup() {
    return ScopedRegistryCleanup({{HKEY_CURRENT_USER, kProbeRecordsKey},
                                  {HKEY_LOCAL_MACHINE, kProductKey},
                                  {HKEY_CLASSES_ROOT, ClassKey(remover::GuidToText(remover::kControlClassId))},
                                  {HKEY_CURRENT_USER, kUserControlClass}});
}

// The product's control registered for the machine and in the user's own
// classes, both naming a copy of the probe module at `file`; then the remover.
// A standard user's run goes through limited_launcher.exe.
void RemoveWithUserClassNaming(const std::string& file, bool elevated = true) {
    CopyFileTo(FixturePath("unreg_probe.dll"), file);
    SetString(HKEY_LOCAL_MACHINE, kProductKey, "Version", "2.1");
    RegisterClass(remover::GuidToText(remover::kControlClassId), file);
    SetString(HKEY_CURRENT_USER, kUserControlClass + "\\InprocServer32", nullptr, file);
    const std::string remover = "\"" + FixturePath("meridremover.exe") + "\" /s /f";
    EXPECT_EQ(RunAndWait(elevated ? remover : "\"" + FixturePath("limited_launcher.exe") + "\" " + remover), 0u);
}

// On Windows HKEY_CLASSES_ROOT shows the user's own registration over the
// machine's (Wine shows the machine's only, so both name the file here): an
// elevated run neither loads nor deletes another program's file named so; a
// standard user's run, which gains nothing by it, removes the module.
TEST(DeletionGuard, AUserClassRegistrationCannotNameAnotherProgramsFile) {
    ScopedTempFolder vendor("other-vendor");
    const std::string file = vendor.path() + "\\vendor_core.dll";
    const std::string control = remover::GuidToText(remover::kControlClassId);
    for (const bool elevated : {true, false}) {
        SCOPED_TRACE(elevated ? "elevated" : "standard user");
        ScopedRegistryCleanup registry = UserClassCleanup();
        RemoveWithUserClassNaming(file, elevated);
        EXPECT_EQ(FileExists(file), elevated);
        EXPECT_EQ(ProbeCount("Loaded", "vendor_core.dll"), elevated ? 0u : 1u);
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKey(control)));
    }
}

// Each hive's registration is read directly and a path judged by the hive it
// came from: in an elevated run the user's path counts as the user's, and the
// machine's stays the machine's where the user's key names no path.
TEST(DeletionGuard, EachClassPathIsJudgedByTheHiveItCameFrom) {
    char appData[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData), S_OK);
    const ScopedFolderCleanup profile(std::string(appData) + "\\Meridel Class Hive Test");
    ScopedTempFolder outside("class-hive");
    const std::string server = "Software\\Classes\\" + ClassKey(remover::GuidToText(remover::kControlClassId));
    ScopedRegistryCleanup registry({{HKEY_CURRENT_USER, kProbeRecordsKey}, {HKEY_LOCAL_MACHINE, kProductKey},
                                    {HKEY_LOCAL_MACHINE, server}, {HKEY_CURRENT_USER, server}});
    struct Module {
        HKEY hive;
        std::string name;  // of the probe, in the folder below; "": a key without a path
        const std::string& folder;
        bool deleted;
        bool loaded;
    };
    const Module cases[][2] = {
        {{HKEY_CURRENT_USER, "user_own.dll", profile.path, true, false}, {nullptr, "", outside.path(), false, false}},
        {{HKEY_CURRENT_USER, "", outside.path(), false, false},
         {HKEY_LOCAL_MACHINE, "machine_core.dll", outside.path(), true, true}},
    };
    for (const auto& modules : cases) {
        SetString(HKEY_LOCAL_MACHINE, kProductKey, "Version", "2.1");
        for (const Module& m : modules) {
            if (m.hive) SetString(m.hive, server + "\\InprocServer32", "ThreadingModel", "Apartment");
            if (!m.name.empty() && CopyFileTo(FixturePath("unreg_probe.dll"), m.folder + "\\" + m.name))
                SetString(m.hive, server + "\\InprocServer32", nullptr, m.folder + "\\" + m.name);
        }
        EXPECT_EQ(RunRemover("/s /f"), 0u);
        for (const Module& m : modules) {
            if (!m.hive) continue;
            SCOPED_TRACE(m.name);
            EXPECT_FALSE(KeyExists(m.hive, server));
            if (m.name.empty()) continue;
            EXPECT_EQ(FileExists(m.folder + "\\" + m.name), !m.deleted);
            EXPECT_EQ(ProbeCount("Loaded", m.name), m.loaded ? 1u : 0u);
        }
    }
}

// This computer's own shares are its local files under another spelling;
// another computer's share may hold the product's file.
TEST(DeletionGuard, JudgesSharesByTheComputerTheyReach) {
    char computer[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    ASSERT_TRUE(::GetComputerNameA(computer, &length));
    remover::RemovalContext context;
    const remover::MachinePlaces& places = remover::PlacesOf(context);
    EXPECT_FALSE(remover::IsFileSafeToRemove(places, "\\\\?\\UNC\\" + std::string(computer) + "\\apps\\a.dll"));
    EXPECT_TRUE(remover::IsFileSafeToRemove(places, "\\\\meridel-filer.invalid\\apps\\Meridel\\control.dll"));
}

// In an elevated run a user's class registration still removes the product's
// module in its three folders, loaded to unregister itself outside the profile.
TEST(DeletionGuard, AUserClassRegistrationStillRemovesTheProductsOwnModules) {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    const std::pair<std::string, DWORD> cases[] = {
        {ProgramFiles() + "\\Halvorix\\Meridel VRML Client\\meridel_user_client.dll", 1},
        {CommonFiles() + "\\Halvorix\\Meridel\\meridel_user_common.dll", 1},
        {appData + "\\Halvorix\\Meridel\\meridel_user_data.dll", 0},
    };
    for (const auto& [file, loads] : cases) {
        SCOPED_TRACE(file);
        ScopedRegistryCleanup registry = UserClassCleanup();
        RemoveWithUserClassNaming(file);
        EXPECT_FALSE(FileExists(file));
        EXPECT_EQ(ProbeCount("Loaded", file.substr(file.rfind('\\') + 1)), loads);
    }
    for (const std::string& base : {appData, CommonFiles(), ProgramFiles()}) RemoveTree(base + "\\Halvorix");
}

}  // namespace
