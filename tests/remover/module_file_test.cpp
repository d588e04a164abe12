#include "remover/engine/module_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/exact_text.h"
#include "platform/registry_key.h"
#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"
#include "tests/support/file_fixture.h"
#include "tests/support/host_link.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/process_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/removal_support.h"

namespace {

using namespace testsupport;

const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
// What an over-long path once expanded to: a value of this name must survive.
const char kTooLongName[] = "!! ERROR - Too Long Name !!";

class RemoveModuleFileTest : public ::testing::Test {
protected:
    ScopedTempFolder folder_{"module-file"};
    ScopedRegistryCleanup records_{{{HKEY_CURRENT_USER, kProbeRecordsKey}}};
    remover::RemovalContext context_;

    // A copy of a fixture module under `name`, with its SharedDlls value.
    std::string Install(const std::string& fixture, const std::string& name) {
        const std::string path = folder_.path() + "\\" + name;
        EXPECT_TRUE(CopyFileTo(FixturePath(fixture), path));
        SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str(), 3);
        return path;
    }
    ~RemoveModuleFileTest() override {
        // Modules left loaded after a fault, so that the folder can go.
        for (const char* name : {"crash.dll", "raise.dll", "throw.dll"})
            if (HMODULE left = ::GetModuleHandleA((folder_.path() + "\\" + name).c_str())) ::FreeLibrary(left);
        for (const std::string& name : ValueNames(HKEY_LOCAL_MACHINE, kSharedDlls))
            if (name.rfind(folder_.path(), 0) == 0 || name == kTooLongName) {
                platform::RegistryKeyA key;
                if (key.Open(HKEY_LOCAL_MACHINE, kSharedDlls, KEY_ALL_ACCESS) == ERROR_SUCCESS)
                    ::RegDeleteValueA(key.get(), name.c_str());
            }
    }
};

// Each kind of file: whether its entry point runs, and that the file and its
// SharedDlls value go whatever the module does. A module whose entry point
// faulted stays loaded (its detach code would run unguarded), so its file
// can only go at restart.
TEST_F(RemoveModuleFileTest, UnregistersModulesThenDeletesValueAndFile) {
    struct Case {
        const char* fixture;
        const char* name;
        DWORD loads;        // LoadLibrary calls
        DWORD unregisters;  // DllUnregisterServer calls
        bool faults;        // an exception left the entry point
    };
    const Case cases[] = {
        {"unreg_probe.dll", "engine.dll", 1, 1, false},
        {"unreg_probe.dll", "UPPER.DLL", 0, 0, false},
        {"unreg_probe.dll", "Mixed.Dll", 0, 0, false},
        {"unreg_probe.dll", "plugin.jar", 0, 0, false},
        {"plain_module.dll", "noexport.dll", 1, 0, false},
        {"unreg_probe.dll", "crash.dll", 1, 1, true},
        {"unreg_probe.dll", "raise.dll", 1, 1, true},
        {"unreg_probe.dll", "throw.dll", 1, 1, true},
        {"unreg_probe.dll", "selfcatch.dll", 1, 1, false},
        {"unreg_probe_exe.exe", "probe.exe", 0, 1, false},
    };
    context_ = StandardUserContext();  // an elevated run schedules only in the product's folders
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Install(c.fixture, c.name);
        remover::RemoveModuleFile(context_, path.c_str());
        // An .exe loaded as a module gets no DllMain call, so it records only its entry point.
        EXPECT_EQ(ProbeCount("Loaded", c.name), c.loads);
        EXPECT_EQ(ProbeCount("Freed", c.name), c.faults ? 0u : c.loads);
        EXPECT_EQ(ProbeCount("Unregistered", c.name), c.unregisters);
        EXPECT_EQ(FileExists(path), c.faults);
        const auto pending = PendingDeletions();
        EXPECT_EQ(std::find(pending.begin(), pending.end(), path) != pending.end(), c.faults);
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str()));
    }
    // The guard sees only what leaves the entry point: a module's own handler comes first.
    EXPECT_EQ(ProbeCount("CaughtOwn", "selfcatch.dll"), 1u);
    EXPECT_TRUE(context_.restartNeeded);
    DropPendingBelow(folder_.path());
}

TEST_F(RemoveModuleFileTest, UsesTheLongPathForEveryStep) {
    const std::string longPath = Install("unreg_probe.dll", "Meridel Scene Engine.dll");
    char shortPath[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameA(longPath.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(longPath, shortPath);
    SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, shortPath, 1);
    remover::RemoveModuleFile(context_, shortPath);
    EXPECT_EQ(ProbeCount("Unregistered", "Meridel Scene Engine.dll"), 1u);
    EXPECT_FALSE(FileExists(longPath));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, longPath.c_str()));
    // Only the long path's value is the file's: the one named by the short form stays.
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, shortPath));
}

TEST_F(RemoveModuleFileTest, MissingFileStillLosesItsValue) {
    const std::string path = folder_.path() + "\\gone.dll";
    SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str(), 2);
    remover::RemoveModuleFile(context_, path.c_str());
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str()));
    EXPECT_FALSE(context_.restartNeeded);
}

TEST_F(RemoveModuleFileTest, NullEmptyAndOverLongPathsTouchNothing) {
    SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, kTooLongName, 1);
    remover::RemoveModuleFile(context_, nullptr);
    remover::RemoveModuleFile(context_, "");
    // A file whose path is over 260 characters, made through the \\?\ form.
    std::string deep = folder_.path();
    while (deep.size() < 250) deep += "\\" + std::string(40, 'd');
    const std::wstring wideDeep = L"\\\\?\\" + std::wstring(deep.begin(), deep.end());
    for (size_t pos = wideDeep.find(L'\\', 4 + folder_.path().size()); pos != std::wstring::npos;
         pos = wideDeep.find(L'\\', pos + 1))
        ::CreateDirectoryW(wideDeep.substr(0, pos).c_str(), nullptr);
    ::CreateDirectoryW(wideDeep.c_str(), nullptr);
    const std::string file = deep + "\\engine.dll";
    ASSERT_GT(file.size(), 260u);
    const std::wstring wideFile = L"\\\\?\\" + std::wstring(file.begin(), file.end());
    platform::UniqueFile(::CreateFileW(wideFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, file.c_str(), 1);
    remover::RemoveModuleFile(context_, file.c_str());
    EXPECT_NE(::GetFileAttributesW(wideFile.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, file.c_str()));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, kTooLongName));
    ::DeleteFileW(wideFile.c_str());
    for (std::wstring dir = wideDeep; dir.size() > 4 + folder_.path().size(); dir.resize(dir.rfind(L'\\')))
        ::RemoveDirectoryW(dir.c_str());
}

TEST_F(RemoveModuleFileTest, ModuleInUseRunsItsEntryPointAndIsScheduled) {
    const std::string path = Install("unreg_probe.dll", "busy.dll");
    context_ = StandardUserContext();  // an elevated run schedules only in the product's folders
    {
        FileHolder holder({path});
        ASSERT_TRUE(holder.holding());
        remover::RemoveModuleFile(context_, path.c_str());
        EXPECT_EQ(ProbeCount("Unregistered", "busy.dll"), 1u);
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str()));
        EXPECT_TRUE(FileExists(path));
        EXPECT_TRUE(context_.restartNeeded);
        const auto pending = PendingDeletions();
        EXPECT_NE(std::find(pending.begin(), pending.end(), path), pending.end());
    }
    DropPendingBelow(folder_.path());
}

// Below the user's profile an elevated run (every run under Wine) schedules
// nothing: by the restart, a folder on the way could be a link elsewhere. The
// file is not gone, so the user is still asked to restart.
TEST_F(RemoveModuleFileTest, AFileInUseBelowTheProfileIsLeftForTheNextRun) {
    const ScopedFolderCleanup maker(AppDataMakerFolder());
    const std::string path = AppDataProductFolder() + "\\held.txt";
    ASSERT_TRUE(WriteFile(path));
    {
        FileHolder holder({path});
        ASSERT_TRUE(holder.holding());
        remover::RemoveModuleFile(context_, path.c_str());
    }
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(context_.restartNeeded);
    const auto pending = PendingDeletions();
    EXPECT_EQ(std::find(pending.begin(), pending.end(), path), pending.end());
    DropPendingBelow(AppDataProductFolder());
}

// A registered path is judged and acted on in one spelling. "x\\j/evil.dll",
// j a link to "other": a walk that split only at backslashes made it
// "x\\evil.dll". "x\\sub\\..\\evil.dll" opens "x\\evil.dll" but its long form
// is "x\\sub\\x\\evil.dll", another file; x U+FF3C evil.dll is x\\evil.dll in 8 bits. Nothing goes.
TEST(RemoverProgram, ARegisteredPathLeadsToNoOtherFile) {
    ScopedTempFolder scratch("one-spelling");
    const std::string control = remover::GuidToText(remover::kControlClassId);
    ScopedRegistryCleanup registry({{HKEY_CURRENT_USER, kProbeRecordsKey},
                                    {HKEY_LOCAL_MACHINE, kProductKey},
                                    {HKEY_CLASSES_ROOT, ClassKey(control)}});
    const std::string base = scratch.path();
    const char* const files[] = {"\\other\\evil.dll", "\\x\\evil.dll", "\\x\\sub\\x\\evil.dll"};
    for (const char* file : files) ASSERT_TRUE(CopyFileTo(FixturePath("unreg_probe.dll"), base + file));
    ASSERT_TRUE(LetEveryoneWrite(base + "\\x"));  // j is a standard user's link
    ScopedHostLinks links;
    if (!links.Folder(base + "\\x\\j", base + "\\other")) GTEST_SKIP() << "no host links here";
    for (const wchar_t* registered : {L"\\x\\j/evil.dll", L"\\x\\sub\\..\\evil.dll", L"\\x\uFF3Cevil.dll"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(registered)));
        SetString(HKEY_LOCAL_MACHINE, kProductKey, "Version", "2.1");
        SetStringW(HKEY_CLASSES_ROOT, platform::Widen(ClassKey(control) + "\\InprocServer32"), nullptr,
                   platform::Widen(base) + registered);
        EXPECT_EQ(RunRemover("/s /f"), 0u);
        EXPECT_EQ(ProbeCount("Loaded", "evil.dll"), 0u);
        for (const char* file : files) EXPECT_TRUE(FileExists(base + file)) << file;
    }
}

}  // namespace
