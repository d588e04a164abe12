// The shared-DLL sweep against real SharedDLLs keys: the product folders'
// entries go, everything else (other products, the folders' own names) stays.
#include <gtest/gtest.h>

#include "remover/engine/shared_dll_sweep.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

using namespace testsupport;

struct Entry {
    std::string name;
    bool product;
};

// Product entries and bystanders interleaved, so that deleting during the
// scan would skip some; the over-long name sorts first and must not end it.
std::vector<Entry> SeedEntries() {
    const std::string common = CommonFilesProductFolder();
    const std::string appData = AppDataProductFolder();
    const std::string halvorix = common.substr(0, common.rfind('\\'));
    std::vector<Entry> entries = {
        {"A:\\" + std::string(300, 'x') + ".dll", false},
        {common + "\\engine.dll", true},
        {common + "\\Sub\\Deeper\\npMeridel.xpt", true},
        {appData + "\\cache.dll", true},
        {common, false},
        {appData, false},
        {halvorix + "\\Meridel Tools\\x.dll", false},
        {halvorix + "\\Meridel2.dll", false},
        {appData + " Tools\\y.dll", false},
        {"C:\\windows\\system32\\shared.dll", false},
    };
    // Case does not matter to Windows paths.
    std::string upper = common + "\\UPPER.DLL";
    for (char& c : upper) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    entries.push_back({upper, true});
    for (int i = 0; i < 30; ++i) {
        entries.push_back({common + "\\m" + std::to_string(i) + ".dll", true});
        entries.push_back({halvorix + "\\Meridel Tools\\m" + std::to_string(i) + ".dll", false});
    }
    return entries;
}

std::vector<std::string> Names(const std::vector<Entry>& entries) {
    std::vector<std::string> names;
    for (const Entry& e : entries) names.push_back(e.name);
    return names;
}

TEST(SweepSharedDllEntries, TakesOnlyTheProductFoldersEntriesOfTheGivenHive) {
    const std::vector<Entry> entries = SeedEntries();
    ScopedNewKeys newKeys({{HKEY_CURRENT_USER, kSharedDllsKey}, {HKEY_LOCAL_MACHINE, kSharedDllsKey}});
    ScopedValues userValues(HKEY_CURRENT_USER, kSharedDllsKey, Names(entries));
    ScopedValues machineValues(HKEY_LOCAL_MACHINE, kSharedDllsKey, Names(entries));

    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        SCOPED_TRACE(hive == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE");
        for (HKEY seeded : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            for (const Entry& e : entries) SetDword(seeded, kSharedDllsKey, e.name.c_str(), 2);

        SweepSharedDllEntries(hive);

        for (const Entry& e : entries) {
            SCOPED_TRACE(e.name.substr(0, 120));
            EXPECT_EQ(ValueExists(hive, kSharedDllsKey, e.name.c_str()), !e.product);
            // The other hive is not this sweep's business.
            const HKEY other = hive == HKEY_CURRENT_USER ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
            EXPECT_TRUE(ValueExists(other, kSharedDllsKey, e.name.c_str()));
        }
    }
}

}  // namespace
}  // namespace remover
