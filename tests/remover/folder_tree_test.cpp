#include "remover/engine/product_folders.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <thread>

#include "platform/registry_key.h"
#include "platform/unique_resource.h"
#include "remover/engine/deletion_guard.h"
#include "remover/engine/file_deletion.h"
#include "remover/engine/product_places.h"
#include "tests/support/file_fixture.h"
#include "tests/support/host_link.h"
#include "tests/support/process_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/removal_support.h"

namespace {

using namespace testsupport;

const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

class DeleteFolderTreeTest : public ::testing::Test {
protected:
    ScopedTempFolder folder_{"folder-tree"};
    ScopedRegistryCleanup records_{{{HKEY_CURRENT_USER, kProbeRecordsKey}}};
    std::string root_ = folder_.path() + "\\Meridel";
    remover::RemovalContext context_;

    // Three levels: files at each, read-only and hidden ones, a module.
    std::vector<std::string> SeedTree() {
        std::vector<std::string> files = {
            root_ + "\\readme.txt",
            root_ + "\\Scenes\\hidden.wrl",
            root_ + "\\Scenes\\Samples\\readonly.wrl",
            root_ + "\\Scenes\\Samples\\Deep\\engine.dll",
            root_ + "\\Bin\\UPPER.DLL",
        };
        EXPECT_TRUE(WriteFile(files[0]));
        EXPECT_TRUE(WriteFile(files[1], "x", FILE_ATTRIBUTE_HIDDEN));
        EXPECT_TRUE(WriteFile(files[2], "x", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
        EXPECT_TRUE(CopyFileTo(FixturePath("unreg_probe.dll"), files[3]));
        EXPECT_TRUE(CopyFileTo(FixturePath("unreg_probe.dll"), files[4]));
        for (const std::string& file : files) SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, file.c_str(), 1);
        CreateFolders(root_ + "\\Empty");
        return files;
    }
};

TEST_F(DeleteFolderTreeTest, RemovesEverythingDepthFirst) {
    const auto files = SeedTree();
    remover::DeleteFolderTree(context_, root_);
    EXPECT_FALSE(FolderExists(root_));
    EXPECT_TRUE(FolderExists(folder_.path()));
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, file.c_str()));
    }
    EXPECT_EQ(ProbeCount("Unregistered", "engine.dll"), 1u);
    EXPECT_EQ(ProbeCount("Loaded", "UPPER.DLL"), 0u);
    EXPECT_FALSE(context_.restartNeeded);
}

TEST_F(DeleteFolderTreeTest, MissingAndEmptyFolders) {
    remover::DeleteFolderTree(context_, root_);
    EXPECT_TRUE(FolderExists(folder_.path()));
    CreateFolders(root_);
    remover::DeleteFolderTree(context_, root_);
    EXPECT_FALSE(FolderExists(root_));
}

TEST_F(DeleteFolderTreeTest, KeepsTheFoldersAboveAFileInUseUntilTheRestart) {
    const auto files = SeedTree();
    const std::string busy = files[2];
    context_ = StandardUserContext();  // an elevated run schedules only in the product's folders
    {
        FileHolder holder({busy});
        ASSERT_TRUE(holder.holding());
        remover::DeleteFolderTree(context_, root_);
        EXPECT_TRUE(FileExists(busy));
    }
    EXPECT_TRUE(context_.restartNeeded);
    // The file goes at restart, and after it each folder above it, so that the
    // restart leaves no empty folder behind.
    const auto pending = PendingDeletions();
    auto at = pending.begin();
    for (const std::string& path : {busy, root_ + "\\Scenes\\Samples", root_ + "\\Scenes", root_}) {
        at = std::find(at, pending.end(), path);
        EXPECT_NE(at, pending.end()) << path << " is not scheduled in order";
    }
    EXPECT_TRUE(FolderExists(root_ + "\\Scenes\\Samples"));
    EXPECT_FALSE(FolderExists(root_ + "\\Scenes\\Samples\\Deep"));
    EXPECT_FALSE(FolderExists(root_ + "\\Bin"));
    EXPECT_FALSE(FolderExists(root_ + "\\Empty"));
    EXPECT_FALSE(FileExists(files[0]));
    EXPECT_FALSE(FileExists(files[1]));
    DropPendingBelow(folder_.path());
}

// A link inside the folder is removed as a link (Windows does; Wine 8 cannot
// remove a host link from the Windows side, so the link and the folder above
// it may stay here); a folder that is itself a link is refused. What a link
// points to stays either way and nothing in it is loaded.
TEST_F(DeleteFolderTreeTest, RemovesLinksButNotWhatTheyPointTo) {
    const std::string outside = folder_.path() + "\\Outside";
    ASSERT_TRUE(WriteFile(outside + "\\keep.txt"));
    ASSERT_TRUE(CopyFileTo(FixturePath("unreg_probe.dll"), outside + "\\keep.dll"));
    ASSERT_TRUE(WriteFile(root_ + "\\readme.txt"));
    const std::string innerLink = root_ + "\\Linked";
    const std::string rootLink = folder_.path() + "\\Meridel Link";
    ScopedHostLinks links;
    ASSERT_TRUE(links.Folder(innerLink, outside));
    ASSERT_TRUE(links.Folder(rootLink, outside));
    remover::DeleteFolderTree(context_, root_);
    remover::DeleteFolderTree(context_, rootLink);
    EXPECT_FALSE(FileExists(root_ + "\\readme.txt"));
    EXPECT_NE(::GetFileAttributesA(rootLink.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(FileExists(outside + "\\keep.txt"));
    EXPECT_TRUE(FileExists(outside + "\\keep.dll"));
    EXPECT_EQ(ProbeCount("Loaded", "keep.dll"), 0u);
}

// Names that the code page can only spell with look-alikes: read by best-fit,
// "sub\..\..\Decoy" and "x\..\..\decoy.txt" would lead the walk out of the
// folder. They are neither entered nor deleted, and their folder stays.
TEST_F(DeleteFolderTreeTest, NeverFollowsANameWithoutAnExactSpelling) {
    const std::string decoy = folder_.path() + "\\Decoy";
    ASSERT_TRUE(WriteFile(decoy + "\\decoy.txt"));
    CreateFolders(decoy + "\\Empty");
    ASSERT_TRUE(WriteFile(root_ + "\\readme.txt"));
    const std::wstring root(root_.begin(), root_.end());
    ASSERT_TRUE(::CreateDirectoryW((root + L"\\sub\uFF3C..\uFF3C..\uFF3CDecoy").c_str(), nullptr));
    platform::UniqueFile file(::CreateFileW((root + L"\\x\uFF3C..\uFF3C..\uFF3CDecoy\uFF3Cdecoy.txt").c_str(),
                                              GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file);
    file.reset();
    remover::DeleteFolderTree(context_, root_);
    EXPECT_TRUE(FileExists(decoy + "\\decoy.txt"));
    EXPECT_TRUE(FolderExists(decoy + "\\Empty"));
    EXPECT_FALSE(FileExists(root_ + "\\readme.txt"));
    EXPECT_TRUE(FolderExists(root_));
}

struct ChangeTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type change) noexcept { ::FindCloseChangeNotification(change); }
};

// Another program's folder takes a subfolder's name while the walk deletes
// inside it, renamed there or as a link to it: the walk goes on in the folder
// it holds, and none of the other program's files goes.
TEST_F(DeleteFolderTreeTest, AFolderSwappedDuringTheWalkLeadsNowhere) {
    const int kFiles = 40;
    for (const bool asLink : {false, true}) {
        SCOPED_TRACE(asLink ? "link" : "renamed");
        const std::string scenes = root_ + "\\Scenes", other = folder_.path() + "\\Other";
        const std::string ready = folder_.path() + "\\Ready", moved = folder_.path() + "\\Moved";
        for (int i = 0; i < kFiles; ++i) {
            const std::string name = "\\scene" + std::to_string(i) + ".wrl";
            ASSERT_TRUE(WriteFile(scenes + name));
            ASSERT_TRUE(WriteFile(other + name));
        }
        ScopedHostLinks links;
        if (asLink && !links.Folder(ready, other)) GTEST_SKIP() << "no host links here";
        platform::UniqueResource<ChangeTraits> change(
            ::FindFirstChangeNotificationA(scenes.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME));
        ASSERT_TRUE(change);
        // As soon as the walk deletes its first file there.
        std::thread swap([&] {
            if (::WaitForSingleObject(change.get(), 20000) != WAIT_OBJECT_0) return;
            ::MoveFileA(scenes.c_str(), moved.c_str());
            ::MoveFileA((asLink ? ready : other).c_str(), scenes.c_str());
        });
        remover::DeleteFolderTree(context_, root_);
        swap.join();
        int kept = 0;
        for (int i = 0; i < kFiles; ++i) kept += FileExists(other + "\\scene" + std::to_string(i) + ".wrl") ||
                                                 FileExists(scenes + "\\scene" + std::to_string(i) + ".wrl");
        EXPECT_EQ(kept, kFiles);
        if (asLink) RemoveHostLink(scenes);
        for (const std::string& folder : {root_, other, moved}) RemoveTree(folder);
    }
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)) ? path : "";
}

std::string Parent(const std::string& path) { return path.substr(0, path.rfind('\\')); }

// No shape that reaches beyond a folder of its own, and no system folder or a
// folder holding one, is ever walked: a sentinel file in each stays.
TEST(DeleteFolderTreeRefusal, NeverWalksDrivesSharesOrSystemFolders) {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    const std::string profile = ShellFolder(CSIDL_PROFILE);
    const std::string programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
    char shortProgramFiles[MAX_PATH] = {};
    ::GetShortPathNameA(programFiles.c_str(), shortProgramFiles, MAX_PATH);
    struct Case {
        std::string folder;     // handed to DeleteFolderTree
        std::string sentinel;   // a folder whose content must survive
    };
    const std::string here = current;
    const std::vector<Case> cases = {
        {"", here},
        {"C:", here},
        {"C:\\", "C:"},
        {"C:\\.", "C:"},
        {"C:\\windows\\..", "C:"},
        {"relative", here + "\\relative"},
        {"\\\\server\\share", here},
        {windows, windows},
        {std::string(windows) + "\\", windows},
        {system, system},
        {programFiles, programFiles},
        {shortProgramFiles, programFiles},
        {ShellFolder(CSIDL_PROGRAM_FILES_COMMON), ShellFolder(CSIDL_PROGRAM_FILES_COMMON)},
        {profile, profile},
        {Parent(profile), Parent(profile)},
        {ShellFolder(CSIDL_APPDATA), ShellFolder(CSIDL_APPDATA)},
        {Parent(ShellFolder(CSIDL_APPDATA)), ShellFolder(CSIDL_APPDATA)},
        {ShellFolder(CSIDL_LOCAL_APPDATA), ShellFolder(CSIDL_LOCAL_APPDATA)},
        {ShellFolder(CSIDL_COMMON_APPDATA), ShellFolder(CSIDL_COMMON_APPDATA)},
        {ShellFolder(CSIDL_PERSONAL), ShellFolder(CSIDL_PERSONAL)},
    };
    // Gathered once, as a run does: each case is a run of its own.
    const auto places = std::make_shared<const remover::MachinePlaces>(remover::GatherMachinePlaces());
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.folder + "\"");
        ASSERT_FALSE(c.sentinel.empty());
        const std::string sentinel = c.sentinel + "\\meridel-sentinel.txt";
        ASSERT_TRUE(WriteFile(sentinel));
        EXPECT_FALSE(remover::IsFolderSafeToDelete(*places, c.folder));
        remover::RemovalContext context;
        context.places = places;
        remover::DeleteFolderTree(context, c.folder);
        EXPECT_TRUE(FileExists(sentinel));
        ::DeleteFileA(sentinel.c_str());
    }
    ::RemoveDirectoryA((here + "\\relative").c_str());
    // Below the system folders, folders are deleted as usual.
    const std::string product = ShellFolder(CSIDL_APPDATA) + "\\Halvorix\\Meridel Refusal Test";
    ASSERT_TRUE(WriteFile(product + "\\Sub\\file.txt"));
    remover::RemovalContext context;
    remover::DeleteFolderTree(context, product);
    EXPECT_FALSE(FolderExists(product));
    ::RemoveDirectoryA(Parent(product).c_str());
}

TEST(GetProductFolder, BuildsTheCommonFilesAndApplicationDataFolders) {
    std::string folder;
    ASSERT_TRUE(remover::GetProductFolder(false, folder));
    EXPECT_EQ(folder, ShellFolder(CSIDL_APPDATA) + "\\Halvorix\\Meridel");
    ASSERT_TRUE(remover::GetProductFolder(true, folder));
    EXPECT_EQ(folder, *ReadString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                                  "CommonFilesDir") + "\\Halvorix\\Meridel");
}

TEST(RemoveProductFolders, RemovesTheThreeFoldersAndSparesTheirNeighbours) {
    ScopedRegistryCleanup records({{HKEY_CURRENT_USER, kProbeRecordsKey}});
    const std::string current = "Software\\Microsoft\\Windows\\CurrentVersion";
    const std::string appData = ShellFolder(CSIDL_APPDATA) + "\\Halvorix";
    const std::string common = *ReadString(HKEY_LOCAL_MACHINE, current, "CommonFilesDir") + "\\Halvorix";
    const std::string program = *ReadString(HKEY_LOCAL_MACHINE, current, "ProgramFilesDir") + "\\Halvorix";
    const std::vector<std::string> products = {appData + "\\Meridel", common + "\\Meridel",
                                               program + "\\Meridel VRML Client"};
    std::vector<std::string> bystanders;
    for (const std::string& base : {appData, common, program})
        for (const char* name : {"\\Meridel Tools\\tool.dll", "\\Other\\other.txt", "\\Meridel.txt"})
            bystanders.push_back(base + name);
    for (const std::string& product : products) {
        ASSERT_TRUE(WriteFile(product + "\\Data\\Levels\\scene.wrl", "x", FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(CopyFileTo(FixturePath("unreg_probe.dll"), product + "\\module.dll"));
        SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, (product + "\\module.dll").c_str(), 1);
    }
    for (const std::string& file : bystanders) {
        ASSERT_TRUE(CopyFileTo(FixturePath("unreg_probe.dll"), file));
        SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, file.c_str(), 1);
    }
    remover::RemovalContext context;
    remover::RemoveProductFolders(context);
    for (const std::string& product : products) {
        SCOPED_TRACE(product);
        EXPECT_FALSE(FolderExists(product));
        EXPECT_TRUE(FolderExists(Parent(product)));
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, (product + "\\module.dll").c_str()));
    }
    // The Application Data copy lies below the profile: this elevated run deletes it unloaded.
    EXPECT_EQ(ProbeCount("Unregistered", "module.dll"), 2u);
    for (const std::string& file : bystanders) {
        SCOPED_TRACE(file);
        EXPECT_TRUE(FileExists(file));
        EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, file.c_str()));
    }
    EXPECT_EQ(ProbeCount("Loaded", "tool.dll"), 0u);
    for (const std::string& base : {appData, common, program}) RemoveTree(base);
    platform::RegistryKeyA key;
    if (key.Open(HKEY_LOCAL_MACHINE, kSharedDlls, KEY_ALL_ACCESS) == ERROR_SUCCESS)
        for (const std::string& file : bystanders) ::RegDeleteValueA(key.get(), file.c_str());
}

// Without "shfolder.dll" (disabled for the remover's process) the Application
// Data folder cannot be found and stays; the other two still go.
TEST(RemoveProductFolders, WithoutShfolderLeavesApplicationDataAlone) {
    const std::string current = "Software\\Microsoft\\Windows\\CurrentVersion";
    const std::string appData = ShellFolder(CSIDL_APPDATA) + "\\Halvorix\\Meridel";
    const std::string common = *ReadString(HKEY_LOCAL_MACHINE, current, "CommonFilesDir") + "\\Halvorix\\Meridel";
    const std::string program =
        *ReadString(HKEY_LOCAL_MACHINE, current, "ProgramFilesDir") + "\\Halvorix\\Meridel VRML Client";
    for (const std::string& folder : {appData, common, program}) ASSERT_TRUE(WriteFile(folder + "\\Sub\\file.txt"));
    {
        ScopedRegistryCleanup overrides(
            {{HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\meridremover.exe"}});
        SetString(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\meridremover.exe\\DllOverrides", "shfolder",
                  "disabled");
        EXPECT_EQ(RunRemover("/s"), 0u);
    }
    EXPECT_TRUE(FileExists(appData + "\\Sub\\file.txt"));
    EXPECT_FALSE(FolderExists(common));
    EXPECT_FALSE(FolderExists(program));
    for (const std::string& folder : {appData, common, program}) RemoveTree(Parent(folder));
}

// A process of the user's swaps a product subfolder with a link to another program's folder during walks.
TEST_F(DeleteFolderTreeTest, ASubfolderSwappedForALinkNeverLeadsTheWalkOut) {
    std::string base, product;
    ASSERT_TRUE(remover::GetProductFolderAndBase(false, base, product));
    const ScopedFolderCleanup maker(base + "\\Halvorix");
    const auto file = [](const std::string& folder, int i) { return folder + "\\file" + std::to_string(i) + ".txt"; };
    const int kRuns = 20, kFiles = 20;
    int otherGone = 0;
    for (int run = 0; run < kRuns; ++run) {
        for (int i = 0; i < kFiles; ++i) WriteFile(file(folder_.path(), i)), WriteFile(file(product + "\\Data", i));
        {
            const HostLinkSwapper swapper(HostLinkSwapper::FolderForLink{}, product + "\\Data", folder_.path());
            if (!swapper.started()) GTEST_SKIP() << "no host links here";
            remover::DeleteFolderTree(context_, product, base);
        }
        for (int i = 0; i < kFiles; ++i) otherGone += !FileExists(file(folder_.path(), i));
        RemoveTree(product);
    }
    EXPECT_EQ(otherGone, 0) << "files deleted over " << kRuns << " runs";
}

}  // namespace
