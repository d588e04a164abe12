// The removal sequence against a seeded registry: which class registrations
// and keys go, which stay.
#include "remover/engine/removal.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <functional>
#include <new>

#include "remover/engine/component_table.h"
#include "tests/support/file_fixture.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/process_fixture.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

using namespace testsupport;

GUID Parse(const std::string& text) {
    GUID id{};
    std::wstring wide(text.begin(), text.end());
    EXPECT_EQ(::CLSIDFromString(wide.c_str(), &id), S_OK) << text;
    return id;
}

// A silent run, with a context of its own, that would also remove the folders.
void RunSilently(const std::vector<GUID>& keepList = {}, bool removeFolders = true) {
    RemoverOptions options;
    options.silent = true;
    options.removeFolders = removeFolders;
    options.keepList = keepList;
    RemovalContext context;
    RunRemoval(options, kProductKey, context);
}

class RemovalSequence : public ::testing::Test {
protected:
    RemovalSequence() : cleanup_(ProductRegistryPlaces()) {}

    void SeedProductKey() {
        SetString(HKEY_LOCAL_MACHINE, kProductKey, "Version", "2.1");
        SetString(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Render\\Deep", "Note", "x");
        SetString(HKEY_LOCAL_MACHINE, std::string(kProductParentKey) + "\\Other", "Kept", "yes");
    }
    // Every class of the table registered with a server file that does not exist.
    void RegisterAllClasses() {
        for (const auto& id : ComponentClassIds()) RegisterClass(id, "C:\\nowhere\\" + id + ".dll");
    }

    ScopedRegistryCleanup cleanup_;
};

TEST_F(RemovalSequence, DeletesEveryClassRegistrationButTheKeptOnesAndThenTheProductKey) {
    SeedProductKey();
    RegisterAllClasses();
    const auto ids = ComponentClassIds();
    const std::vector<GUID> keep = {Parse(ids[2]), Parse("{00000000-1111-2222-3333-444444444444}"),
                                    Parse(ids[2])};

    RunSilently(keep);

    for (size_t i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(ids[i]);
        EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, ClassKey(ids[i])), i == 2);
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kProductParentKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProductParentKey) + "\\Other"));
}

TEST_F(RemovalSequence, KeepsAClassWhoseServerPathCannotBeRead) {
    SeedProductKey();
    const auto ids = ComponentClassIds();
    struct Seed {
        const char* what;
        std::function<void(const std::string&)> seed;
        bool deleted;
    };
    const std::string server = "\\InprocServer32";
    const Seed seeds[] = {
        {"no InprocServer32 key", [](const std::string& id) { CreateKey(HKEY_CLASSES_ROOT, ClassKey(id)); }, false},
        {"no default value",
         [&](const std::string& id) { SetString(HKEY_CLASSES_ROOT, ClassKey(id) + server, "Other", "x"); }, false},
        {"REG_DWORD default", [&](const std::string& id) { SetDword(HKEY_CLASSES_ROOT, ClassKey(id) + server, nullptr, 7); },
         false},
        {"path of 260 bytes",
         [&](const std::string& id) { SetString(HKEY_CLASSES_ROOT, ClassKey(id) + server, nullptr, std::string(260, 'a')); },
         false},
        {"REG_EXPAND_SZ path",
         [&](const std::string& id) { RegisterClass(id, "%SystemRoot%\\none.dll", REG_EXPAND_SZ); }, true},
        {"empty REG_SZ path", [&](const std::string& id) { RegisterClass(id, ""); }, true},
        {"path of 259 bytes", [&](const std::string& id) { RegisterClass(id, std::string(259, 'b')); }, true},
    };
    for (size_t i = 0; i < std::size(seeds); ++i) seeds[i].seed(ids[i]);

    RunSilently();

    for (size_t i = 0; i < std::size(seeds); ++i) {
        SCOPED_TRACE(seeds[i].what);
        EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, ClassKey(ids[i])), !seeds[i].deleted);
    }
}

TEST_F(RemovalSequence, WithoutTheProductKeyLeavesClassRegistrationsAlone) {
    RegisterAllClasses();
    RunSilently();
    for (const auto& id : ComponentClassIds()) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, ClassKey(id)));
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
}

// A kept component keeps its row; while its module is there, the product
// folders stay too, as "/f" keeps them.
TEST_F(RemovalSequence, AKeptComponentWithItsModuleKeepsTheFolders) {
    ScopedTempFolder scratch("kept component");
    const ScopedFolderCleanup maker(CommonFilesProductFolder().substr(0, CommonFilesProductFolder().rfind('\\')));
    const std::string control = ComponentClassIds()[0];
    const std::string folderFile = CommonFilesProductFolder() + "\\settings.ini";
    const struct {
        bool kept, modulePresent, removeFolders, foldersStay;
    } cases[] = {{true, true, true, true}, {true, false, true, false}, {false, true, true, false}, {true, true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.kept << c.modulePresent << c.removeFolders);
        SeedProductKey();
        const std::string module = scratch.path() + (c.modulePresent ? "\\control.dll" : "\\missing.dll");
        if (c.modulePresent) {
            ASSERT_TRUE(WriteFile(module));
        }
        ASSERT_TRUE(WriteFile(folderFile));
        RegisterClass(control, module);
        RunSilently(c.kept ? std::vector<GUID>{Parse(control)} : std::vector<GUID>{}, c.removeFolders);
        EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, ClassKey(control)), c.kept);
        EXPECT_EQ(FileExists(module), c.kept && c.modulePresent);
        EXPECT_EQ(FileExists(folderFile), c.foldersStay);
    }
}

// The keep list names class identifiers: rows without one go whatever it holds.
TEST_F(RemovalSequence, RowsWithoutAClassIdentifierIgnoreTheKeepList) {
    ScopedTempFolder scratch("rows without class");
    SeedProductKey();
    std::vector<GUID> keep = {GUID{}};
    for (const auto& id : ComponentClassIds()) keep.push_back(Parse(id));
    std::vector<std::string> modules;
    for (const ComponentRow& row : kComponentTable) {
        if (row.classId) continue;
        modules.push_back(scratch.path() + "\\row" + std::to_string(modules.size()) + ".dll");
        ASSERT_TRUE(WriteFile(modules.back()));
        SetString(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\" + row.moduleSubkey, row.moduleValueName,
                  modules.back());
    }
    RunSilently(keep);
    ASSERT_FALSE(modules.empty());
    for (const auto& module : modules) EXPECT_FALSE(FileExists(module)) << module;
}

// A step that throws (here a failed allocation as the component rows start)
// skips its own work only: every later step still runs.
TEST_F(RemovalSequence, AStepThatThrowsSkipsOnlyItself) {
    SeedProductKey();
    RegisterAllClasses();
    std::vector<std::string> steps;
    RemoverOptions options;
    RemovalContext context;
    RunRemoval(options, kProductKey, context, [&](const char* step) {
        steps.push_back(step);
        if (steps.back() == "components") throw std::bad_alloc();
    });
    for (const auto& id : ComponentClassIds()) EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, ClassKey(id))) << id;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    ASSERT_EQ(steps.size(), 12u);
    EXPECT_EQ(steps.back(), "product-key");
}

TEST_F(RemovalSequence, SilentProgramRunRemovesAndShowsNothing) {
    SeedProductKey();
    RegisterAllClasses();
    const auto ids = ComponentClassIds();
    // A message box would block the run until the time-out.
    EXPECT_EQ(RunRemover("/s /x" + ids[0] + " /x{not-a-guid} /X" + ids[15], 30000), 0u);
    for (size_t i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(ids[i]);
        EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, ClassKey(ids[i])), i == 0 || i == 15);
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kProductParentKey));
}

}  // namespace
}  // namespace remover
