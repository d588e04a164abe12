// Internet Explorer's download-cache records of the product's controls: every
// file listed as a REG_SZ value goes, and every record of the table goes.
#include <gtest/gtest.h>

#include "remover/engine/distribution_units.h"
#include "remover/engine/module_file.h"
#include "tests/support/file_fixture.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

using namespace testsupport;

constexpr char kUnitsKey[] = "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
constexpr char kOtherUnit[] = "{0A1B2C3D-0000-4000-8000-00000000AB01}";

std::string Unit(const std::string& id) { return std::string(kUnitsKey) + "\\" + id; }
std::string UnitFiles(const std::string& id) { return Unit(id) + "\\Contains\\Files"; }

TEST(RemoveDistributionUnits, RemovesListedFilesAndEveryRecordOfTheTable) {
    ScopedNewKeys newKeys({{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Code Store Database"}});
    ScopedRegistryCleanup units({{HKEY_LOCAL_MACHINE, Unit(kOtherUnit)}});
    ScopedTempFolder folder("distribution units");
    const std::vector<std::string> ids = ComponentClassIds();
    ASSERT_EQ(ids.size(), 16u);
    ScopedRegistryCleanup tableUnits({{HKEY_LOCAL_MACHINE, Unit(ids[0])},
                                      {HKEY_LOCAL_MACHINE, Unit(ids[1])},
                                      {HKEY_LOCAL_MACHINE, Unit(ids[15])}});
    const std::string control = folder.path() + "\\control.ocx";
    const std::string engine = folder.path() + "\\Sub Folder\\engine.inf";
    const std::string notAString = folder.path() + "\\listed as a number.dll";
    const std::string lastRowFile = folder.path() + "\\converter.cab";
    const std::string otherFile = folder.path() + "\\other.ocx";
    for (const auto& f : {control, engine, notAString, lastRowFile, otherFile}) ASSERT_TRUE(WriteFile(f));

    SetString(HKEY_LOCAL_MACHINE, UnitFiles(ids[0]), control.c_str(), "");
    SetString(HKEY_LOCAL_MACHINE, UnitFiles(ids[0]), engine.c_str(), "");
    SetDword(HKEY_LOCAL_MACHINE, UnitFiles(ids[0]), notAString.c_str(), 1);
    // A record without "Contains\Files" still goes.
    SetString(HKEY_LOCAL_MACHINE, Unit(ids[1]), "InstalledVersion", "2,1,0,0");
    SetString(HKEY_LOCAL_MACHINE, UnitFiles(ids[15]), lastRowFile.c_str(), "");
    SetString(HKEY_LOCAL_MACHINE, UnitFiles(kOtherUnit), otherFile.c_str(), "");

    RemovalContext context;
    RemoveDistributionUnits(context);

    for (const auto& id : {ids[0], ids[1], ids[15]}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Unit(id)));
    }
    EXPECT_FALSE(FileExists(control));
    EXPECT_FALSE(FileExists(engine));
    EXPECT_FALSE(FileExists(lastRowFile));
    // Only REG_SZ entries name files; another product's record is not ours.
    EXPECT_TRUE(FileExists(notAString));
    EXPECT_TRUE(FileExists(otherFile));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, UnitFiles(kOtherUnit), otherFile.c_str()));
}

// Internet Explorer keeps downloaded controls in "Downloaded Program Files"
// inside the Windows folder: a record's files go from there, while every other
// place in the Windows folder, and the cache named by a class registration,
// stay refused.
TEST(RemoveDistributionUnits, RemovesTheDownloadCacheFilesAndNoOtherSystemFile) {
    char windows[MAX_PATH] = {};
    ASSERT_GT(::GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    const std::string cache = std::string(windows) + "\\Downloaded Program Files";
    const std::string system = std::string(windows) + "\\meridel-test-system.dll";
    const std::string cached = cache + "\\MeridelCtl.ocx";
    const std::string conflict = cache + "\\CONFLICT.1\\MeridelCtl.inf";
    const std::string namedByClass = cache + "\\MeridelEngine.dll";
    const bool hadCache = FolderExists(cache);
    for (const auto& f : {system, cached, conflict, namedByClass}) ASSERT_TRUE(WriteFile(f));
    ScopedNewKeys newKeys({{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Code Store Database"}});
    const std::vector<std::string> ids = ComponentClassIds();
    ScopedRegistryCleanup records({{HKEY_LOCAL_MACHINE, Unit(ids[0])}});
    for (const auto& f : {system, cached, conflict}) SetString(HKEY_LOCAL_MACHINE, UnitFiles(ids[0]), f.c_str(), "");

    RemovalContext context;
    RemoveDistributionUnits(context);
    RemoveModuleFile(context, namedByClass.c_str());

    EXPECT_FALSE(FileExists(cached));
    EXPECT_FALSE(FileExists(conflict));
    EXPECT_TRUE(FileExists(system));
    EXPECT_TRUE(FileExists(namedByClass));
    ::DeleteFileA(system.c_str());
    ::DeleteFileA(namedByClass.c_str());
    RemoveTree(cache + "\\CONFLICT.1");
    if (!hadCache) RemoveTree(cache);
}

}  // namespace
}  // namespace remover
