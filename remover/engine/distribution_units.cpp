#include "remover/engine/distribution_units.h"

#include <string>

#include "platform/registry_key.h"
#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"
#include "remover/engine/module_file.h"

namespace remover {
namespace {

constexpr char kDistributionUnitsKey[] = "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";

// Every REG_SZ value of "Contains\Files" names one installed file of the unit.
void RemoveUnitFiles(RemovalContext& context, HKEY units, const char* unitName) {
    platform::RegistryKeyA unit;
    if (unit.Open(units, unitName, platform::kReadWriteAccess) != ERROR_SUCCESS) return;
    platform::RegistryKeyA files;
    if (files.Open(unit.get(), "Contains\\Files", platform::kReadWriteAccess) != ERROR_SUCCESS) return;
    const auto values = files.Values();
    // From the last value to the first, as the unit's files were always taken.
    for (auto value = values.rbegin(); value != values.rend(); ++value)
        if (value->type == REG_SZ) RemoveModuleFile(context, value->name.c_str(), FileOrigin::DownloadCache);
}

}  // namespace

void RemoveDistributionUnits(RemovalContext& context) {
    platform::RegistryKeyA units;
    if (units.Open(HKEY_LOCAL_MACHINE, kDistributionUnitsKey, platform::kReadWriteAccess) != ERROR_SUCCESS) return;
    for (const ComponentRow& row : kComponentTable) {
        if (!row.classId) continue;
        const std::string unitName = GuidToText(*row.classId);
        if (unitName.empty()) continue;
        RemoveUnitFiles(context, units.get(), unitName.c_str());
        // The record goes even when it listed no files or did not open.
        units.DeleteKeyTree(unitName.c_str());
    }
}

}  // namespace remover
