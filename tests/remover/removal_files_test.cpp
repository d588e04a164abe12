// A seeded installation removed by the whole sequence: component modules
// named in the product key and in class registrations, spread over the three
// product folders, some in use, some read-only and hidden, one named ".DLL",
// one ".exe", one that crashes, one that throws and one that raises, each
// followed by more removal work.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <list>
#include <optional>

#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"
#include "remover/engine/removal.h"
#include "platform/unique_resource.h"
#include "tests/support/file_fixture.h"
#include "tests/support/process_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/removal_support.h"

namespace {

using namespace testsupport;

const char kProductKey[] = "Software\\Halvorix\\Meridel\\2.1";
const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";

enum Base { AppData, Common, Program };

struct Module {
    int row;             // component table row, 1-based
    bool viaClass;       // named by the class registration, else by the product key
    Base base;
    const char* file;    // below the product folder
    const char* fixture;
    bool inUse;
    DWORD attributes;
};

const DWORD kHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

const Module kModules[] = {
    {1, true, Program, "control.dll", "unreg_probe.dll", false, FILE_ATTRIBUTE_NORMAL},
    {2, true, Program, "Engine\\probe.exe", "unreg_probe_exe.exe", false, FILE_ATTRIBUTE_NORMAL},
    {3, false, Program, "Imagers\\Main\\Deep\\imager.dll", "unreg_probe.dll", false, kHidden},
    {4, false, Common, "transport.dll", "unreg_probe.dll", true, FILE_ATTRIBUTE_NORMAL},
    {5, true, Common, "crash_support.dll", "unreg_probe.dll", false, FILE_ATTRIBUTE_NORMAL},
    {7, false, AppData, "res3d.dll", "unreg_probe.dll", false, FILE_ATTRIBUTE_NORMAL},
    {9, false, Program, "Scripts\\jsengine.dll", "unreg_probe.dll", false, FILE_ATTRIBUTE_NORMAL},
    {9, true, Program, "Scripts\\jsclass.dll", "unreg_probe.dll", true, kHidden},
    {11, true, Common, "Bin\\eai.dll", "plain_module.dll", false, FILE_ATTRIBUTE_NORMAL},
    {13, true, Program, "Audio\\Sound\\Mixer\\sound.dll", "unreg_probe.dll", false, kHidden},
    {16, true, Program, "Movies\\throw_texture.dll", "unreg_probe.dll", false, FILE_ATTRIBUTE_NORMAL},
    {17, true, AppData, "Automation\\raise_driver.dll", "unreg_probe.dll", false, FILE_ATTRIBUTE_NORMAL},
    {21, false, Common, "Convertors\\VRML1.DLL", "unreg_probe.dll", false, FILE_ATTRIBUTE_NORMAL},
};

// Files in the folders that no registration names.
const std::pair<Base, const char*> kOtherFiles[] = {
    {Program, "readme.txt"}, {AppData, "settings.ini"}, {Common, "Convertors\\notes.txt"}};

remover::RemoverOptions SilentOptions() {
    remover::RemoverOptions options;
    options.silent = true;
    return options;
}

std::string FileName(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// An elevated run loads no module below the user's profile; ".DLL" is never a module.
bool IsLoaded(const Module& m, bool elevated) {
    return std::string(m.file).find(".DLL") == std::string::npos && !(elevated && m.base == AppData);
}
// A module whose entry point faulted stays loaded, so its file goes at restart.
bool Faults(const Module& m, bool elevated) {
    const std::string file = m.file;
    return IsLoaded(m, elevated) && (file.find("crash") != std::string::npos || file.find("raise") != std::string::npos ||
                                        file.find("throw") != std::string::npos);
}
std::string Parent(const std::string& path) { return path.substr(0, path.rfind('\\')); }

class RemovalFilesTest : public ::testing::Test {
protected:
    RemovalFilesTest() {
        char appData[MAX_PATH] = {};
        ::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
        halvorix_[AppData] = std::string(appData) + "\\Halvorix";
        halvorix_[Common] = *ReadString(HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir") + "\\Halvorix";
        halvorix_[Program] = *ReadString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir") + "\\Halvorix";
        product_[AppData] = halvorix_[AppData] + "\\Meridel";
        product_[Common] = halvorix_[Common] + "\\Meridel";
        product_[Program] = halvorix_[Program] + "\\Meridel VRML Client";
        for (const auto& row : remover::kComponentTable)
            if (row.classId) cleanup_.emplace_back("CLSID\\" + remover::GuidToText(*row.classId));
    }
    ~RemovalFilesTest() override {
        // What an in-process run left loaded after a fault must go too.
        for (const Module& m : kModules)
            if (HMODULE left = ::GetModuleHandleA(PathOf(m).c_str())) ::FreeLibrary(left);
        for (const std::string& path : halvorix_) {
            DropPendingBelow(path);
            RemoveTree(path);
        }
        for (const std::string& key : cleanup_) DeleteTree(HKEY_CLASSES_ROOT, key);
        platform::UniqueKey shared;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_ALL_ACCESS, shared.put()) == ERROR_SUCCESS)
            for (const std::string& name : ValueNames(HKEY_LOCAL_MACHINE, kSharedDlls))
                for (const std::string& base : halvorix_)
                    if (name.rfind(base, 0) == 0) ::RegDeleteValueA(shared.get(), name.c_str());
    }

    std::string PathOf(const Module& m) const { return product_[m.base] + "\\" + m.file; }

    // True when every file is in place.
    bool Seed() {
        bool seeded = true;
        for (const Module& m : kModules) {
            const std::string path = PathOf(m);
            seeded = CopyFileTo(FixturePath(m.fixture), path) && seeded;
            if (m.attributes != FILE_ATTRIBUTE_NORMAL) ::SetFileAttributesA(path.c_str(), m.attributes);
            SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str(), 2);
            const remover::ComponentRow& row = remover::kComponentTable[m.row - 1];
            if (m.viaClass)
                SetString(HKEY_CLASSES_ROOT, "CLSID\\" + remover::GuidToText(*row.classId) + "\\InprocServer32",
                          nullptr, path);
            else
                SetString(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\" + row.moduleSubkey,
                          row.moduleValueName, path);
            if (m.inUse) inUse_.push_back(path);
        }
        for (const auto& [base, file] : kOtherFiles) {
            seeded = WriteFile(product_[base] + "\\" + file, "x", FILE_ATTRIBUTE_HIDDEN) && seeded;
            SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, (product_[base] + "\\" + file).c_str(), 1);
        }
        for (const std::string& base : halvorix_)
            for (const char* file : {"\\Meridel Tools\\tool.dll", "\\Other\\other.txt"}) {
                seeded = CopyFileTo(FixturePath("unreg_probe.dll"), base + file) && seeded;
                SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, (base + file).c_str(), 1);
                bystanders_.push_back(base + file);
            }
        return seeded;
    }

    // The files that can only go at restart: those in use and those whose
    // module faulted.
    std::vector<std::string> Scheduled(bool elevated) const {
        std::vector<std::string> files;
        for (const Module& m : kModules)
            if (m.inUse || Faults(m, elevated)) files.push_back(PathOf(m));
        return files;
    }

    // A run in a process of its own frees every module at its exit, a faulted
    // one too: only an in-process run shows that the faulted one stayed loaded.
    void Verify(bool elevated = true, bool inProcess = false) {
        const auto pending = PendingDeletions();
        auto isPending = [&](const std::string& path) {
            return std::find(pending.begin(), pending.end(), path) != pending.end();
        };
        for (const Module& m : kModules) {
            const std::string path = PathOf(m);
            SCOPED_TRACE(path);
            const std::string name = FileName(path);
            const bool loaded = IsLoaded(m, elevated);
            const bool hasExport = std::string(m.fixture) != "plain_module.dll";
            const bool scheduled = m.inUse || Faults(m, elevated);
            EXPECT_EQ(ProbeCount("Unregistered", name), loaded && hasExport ? 1u : 0u);
            if (std::string(m.fixture) != "unreg_probe_exe.exe") {
                EXPECT_EQ(ProbeCount("Loaded", name), loaded ? 1u : 0u);
                if (inProcess || !Faults(m, elevated)) {
                    EXPECT_EQ(ProbeCount("Freed", name), loaded && !Faults(m, elevated) ? 1u : 0u);
                }
            }
            EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str()));
            EXPECT_EQ(FileExists(path), scheduled);
            EXPECT_EQ(isPending(path), scheduled);
            if (m.viaClass) {
                const auto& row = remover::kComponentTable[m.row - 1];
                EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + remover::GuidToText(*row.classId)));
            }
        }
        for (const auto& [base, file] : kOtherFiles) {
            const std::string path = product_[base] + "\\" + file;
            EXPECT_FALSE(FileExists(path)) << path;
            EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str())) << path;
        }
        // Folders that hold a pending file stay; every other one is gone.
        const std::vector<std::pair<std::string, bool>> folders = {
            {product_[AppData], !elevated},
            {product_[Common], true},
            {product_[Common] + "\\Bin", false},
            {product_[Common] + "\\Convertors", false},
            {product_[Program], true},
            {product_[Program] + "\\Scripts", true},
            {product_[Program] + "\\Engine", false},
            {product_[Program] + "\\Imagers", false},
            {product_[Program] + "\\Audio", false},
            {product_[Program] + "\\Movies", true},
        };
        for (const auto& [folder, stays] : folders) EXPECT_EQ(FolderExists(folder), stays) << folder;
        for (const std::string& file : bystanders_) {
            SCOPED_TRACE(file);
            EXPECT_TRUE(FileExists(file));
            EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, file.c_str()));
            EXPECT_EQ(ProbeCount("Loaded", FileName(file)), 0u);
        }
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    }

    std::string halvorix_[3];
    std::string product_[3];
    std::vector<std::string> cleanup_;
    std::vector<std::string> inUse_;
    std::vector<std::string> bystanders_;
    ScopedRegistryCleanup registry_{{{HKEY_CURRENT_USER, kProbeRecordsKey},
                                     {HKEY_LOCAL_MACHINE, kProductKey}}};
};

TEST_F(RemovalFilesTest, SilentRunRemovesEveryModuleOnce) {
    ASSERT_TRUE(Seed());
    FileHolder holder(inUse_);
    ASSERT_TRUE(holder.holding());
    EXPECT_EQ(RunRemover("/s"), 0u);
    Verify();
}

// A standard user's run: the modules below the profile are unregistered too.
TEST_F(RemovalFilesTest, UnelevatedRunUnregistersTheProfileModulesToo) {
    Seed();
    FileHolder holder(inUse_);
    ASSERT_TRUE(holder.holding());
    EXPECT_EQ(RunAndWait("\"" + FixturePath("limited_launcher.exe") + "\" \"" + FixturePath("meridremover.exe") +
                         "\" /s"),
              0u);
    Verify(false);
}

TEST_F(RemovalFilesTest, InProcessRunSetsTheRestartFlag) {
    ASSERT_TRUE(Seed());
    FileHolder holder(inUse_);
    ASSERT_TRUE(holder.holding());
    remover::RemovalContext context;
    remover::RunRemoval(SilentOptions(), kProductKey, context);
    EXPECT_TRUE(context.restartNeeded);
    Verify(true, true);
}

// Two runs in one process: what the first scheduled does not follow the
// second, which deletes the files (no longer held) that the first left. The
// faulting modules fault again, so the second run schedules exactly those.
TEST_F(RemovalFilesTest, EachRunStartsWithACleanContext) {
    ASSERT_TRUE(Seed());
    remover::RemovalContext first;
    {
        FileHolder holder(inUse_);
        ASSERT_TRUE(holder.holding());
        remover::RunRemoval(SilentOptions(), kProductKey, first);
    }
    EXPECT_TRUE(first.restartNeeded);
    const std::vector<std::string> left = Scheduled(true);
    EXPECT_EQ(first.scheduledFiles.size(), left.size());
    for (const std::string& path : left) ASSERT_TRUE(FileExists(path)) << path;
    // The module the first run left loaded after its fault is freed, as a
    // new process would start without it.
    for (const std::string& path : left)
        if (HMODULE module = ::GetModuleHandleA(path.c_str())) ::FreeLibrary(module);

    remover::RemovalContext second;
    remover::RunRemoval(SilentOptions(), kProductKey, second);
    std::vector<std::string> faulting;
    for (const Module& m : kModules)
        if (Faults(m, true)) faulting.push_back(PathOf(m));
    EXPECT_EQ(second.scheduledFiles.size(), faulting.size());
    EXPECT_EQ(second.restartNeeded, !faulting.empty());
    for (const std::string& path : left) {
        const bool faults = std::find(faulting.begin(), faulting.end(), path) != faulting.end();
        EXPECT_EQ(FileExists(path), faults) << path;
    }
    for (const std::string& product : product_) {
        const bool holdsFaulting = std::any_of(faulting.begin(), faulting.end(), [&](const std::string& path) {
            return path.compare(0, product.size() + 1, product + "\\") == 0;
        });
        EXPECT_EQ(FolderExists(product), holdsFaulting) << product;
    }
}

TEST_F(RemovalFilesTest, KeepFoldersOptionLeavesTheFolderFiles) {
    ASSERT_TRUE(Seed());
    EXPECT_EQ(RunRemover("/s /f"), 0u);
    // The modules the product key and class registrations name still go...
    for (const Module& m : kModules) EXPECT_EQ(FileExists(PathOf(m)), Faults(m, true)) << PathOf(m);
    // ...but the other files and the folders stay.
    for (const auto& [base, file] : kOtherFiles) EXPECT_TRUE(FileExists(product_[base] + "\\" + file)) << file;
}

// Windows 98 family: the in-use modules go into wininit.ini, not the NT list.
// It has no elevated runs: the modules below the profile are loaded too.
TEST_F(RemovalFilesTest, Windows98RunWritesWininit) {
    ScopedWininit wininit;
    ScopedWin98Program win98("meridremover.exe");
    ASSERT_TRUE(Seed());
    {
        FileHolder holder(inUse_);
        ASSERT_TRUE(holder.holding());
        EXPECT_EQ(RunRemover("/s"), 0u);
    }
    const std::string text = ReadWholeFile(WininitPath());
    const std::vector<std::string> scheduled = Scheduled(false);
    for (const std::string& path : scheduled) {
        SCOPED_TRACE(path);
        char shortPath[MAX_PATH] = {};
        ASSERT_GT(::GetShortPathNameA(path.c_str(), shortPath, MAX_PATH), 0u);
        EXPECT_NE(text.find("\r\nNUL=" + std::string(shortPath) + "\r\n"), std::string::npos) << text;
        const auto pending = PendingDeletions();
        EXPECT_EQ(std::find(pending.begin(), pending.end(), path), pending.end());
    }
    EXPECT_EQ(text.find("\r\n\r\n"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '='), static_cast<long>(scheduled.size()));
}

// The documentation folder comes from a registry value; whatever it holds,
// nothing outside a folder of the product's own is touched.
TEST(DocumentationFolder, RefusesDrivesAndSystemFolders) {
    ScopedRegistryCleanup registry({{HKEY_LOCAL_MACHINE, kProductKey}});
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    char profile[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, 0, profile);
    const std::string profilesRoot = Parent(profile);
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    const std::vector<std::string> sentinels = {std::string(current) + "\\meridel-sentinel.txt",
                                                "C:\\meridel-sentinel.txt",
                                                std::string(windows) + "\\meridel-sentinel.txt",
                                                profilesRoot + "\\meridel-sentinel.txt"};
    const std::string guides[] = {"guide.pdf", "C:\\guide.pdf", std::string(windows) + "\\guide.pdf",
                                  profilesRoot + "\\guide.pdf"};
    for (const std::string& guide : guides) {
        SCOPED_TRACE(guide);
        for (const std::string& sentinel : sentinels) ASSERT_TRUE(WriteFile(sentinel));
        SetString(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Help", "User's Guide", guide);
        EXPECT_EQ(RunRemover("/s /f"), 0u);
        for (const std::string& sentinel : sentinels) EXPECT_TRUE(FileExists(sentinel)) << sentinel;
        EXPECT_TRUE(FileExists(std::string(windows) + "\\system32\\kernel32.dll"));
    }
    for (const std::string& sentinel : sentinels) ::DeleteFileA(sentinel.c_str());
    // A folder of the product's own is deleted.
    ScopedTempFolder docs("docs");
    ASSERT_TRUE(WriteFile(docs.path() + "\\Guide\\guide.pdf", "x", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteFile(docs.path() + "\\Guide\\Images\\figure.png"));
    SetString(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Help", "User's Guide",
              docs.path() + "\\Guide\\guide.pdf");
    EXPECT_EQ(RunRemover("/s /f"), 0u);
    EXPECT_FALSE(FolderExists(docs.path() + "\\Guide"));
    EXPECT_TRUE(FolderExists(docs.path()));
}

// One value of the CurrentVersion key in one registry view, set (or, with a
// null value, deleted) while this lives.
class ScopedViewValue {
public:
    ScopedViewValue(REGSAM view, const char* name, const char* value) : view_(view), name_(name) {
        char old[MAX_PATH] = {};
        DWORD size = sizeof(old) - 1;
        platform::UniqueKey key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_QUERY_VALUE | view, key.put()) ==
                ERROR_SUCCESS &&
            ::RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS)
            old_ = old;
        Write(value);
    }
    ~ScopedViewValue() { Write(old_ ? old_->c_str() : nullptr); }
    ScopedViewValue(const ScopedViewValue&) = delete;
    ScopedViewValue& operator=(const ScopedViewValue&) = delete;

private:
    void Write(const char* value) const {
        platform::UniqueKey key;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_SET_VALUE | view_, key.put()),
                  ERROR_SUCCESS);
        if (value)
            ::RegSetValueExA(key.get(), name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                             static_cast<DWORD>(std::strlen(value) + 1));
        else
            ::RegDeleteValueA(key.get(), name_);
    }
    REGSAM view_;
    const char* name_;
    std::optional<std::string> old_;
};

// This 64-bit remover sees the x86 Program Files only in the 32-bit registry
// view, as the shipping 32-bit one sees the native Program Files only in the
// 64-bit view: a folder that either view names stays, and when a Program
// Files folder cannot be learned at all, no folder goes.
TEST(DocumentationFolder, ProgramFilesOfEitherRegistryViewStays) {
    ScopedRegistryCleanup registry({{HKEY_LOCAL_MACHINE, kProductKey}});
    ScopedTempFolder scratch("other-view");
    const std::string named = scratch.path() + "\\Named";
    const std::string guide = scratch.path() + "\\Guide";
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> x86Values;  // 32-bit view name, value
        std::string folder;  // the documentation folder, which must stay
    };
    const Case cases[] = {
        {"named by the 32-bit view only", {{"ProgramFilesDir", named.c_str()}}, named},
        {"named by no view", {{"ProgramFilesDir", nullptr}, {"ProgramFilesDir (x86)", nullptr}}, guide},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::list<ScopedViewValue> values;
        // The 64-bit view's name of the x86 folder goes in every case.
        values.emplace_back(KEY_WOW64_64KEY, "ProgramFilesDir (x86)", nullptr);
        for (const auto& [name, value] : c.x86Values) values.emplace_back(KEY_WOW64_32KEY, name, value);
        ASSERT_TRUE(WriteFile(c.folder + "\\vendor.txt"));
        SetString(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Help", "User's Guide", c.folder + "\\guide.pdf");
        EXPECT_EQ(RunRemover("/s /f"), 0u);
        EXPECT_TRUE(FileExists(c.folder + "\\vendor.txt"));
    }
}

}  // namespace
