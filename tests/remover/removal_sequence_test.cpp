// The removal sequence against a seeded registry: which class registrations
// and keys go, which stay.
#include "remover/engine/removal.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <functional>

#include "remover/engine/component_table.h"
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
void RunSilently(const std::vector<GUID>& keepList = {}) {
    RemoverOptions options;
    options.silent = true;
    options.keepList = keepList;
    RemovalContext context;
    RunRemoval(options, context);
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
