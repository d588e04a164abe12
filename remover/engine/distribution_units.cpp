#include <string>

#include "platform/unique_resource.h"
#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"
#include "remover/engine/key_tree.h"
#include "remover/engine/module_file.h"
#include "remover/engine/registry_sweeps.h"

namespace remover {
namespace {

constexpr char kDistributionUnitsKey[] = "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
constexpr REGSAM kChangeAccess = KEY_READ | KEY_WRITE;

// Every REG_SZ value of "Contains\Files" names one installed file of the unit.
void RemoveUnitFiles(HKEY units, const char* unitName) {
    platform::UniqueKey unit;
    if (::RegOpenKeyExA(units, unitName, 0, kChangeAccess, unit.put()) != ERROR_SUCCESS) return;
    platform::UniqueKey files;
    if (::RegOpenKeyExA(unit.get(), "Contains\\Files", 0, kChangeAccess, files.put()) != ERROR_SUCCESS)
        return;
    DWORD count = 0;
    if (::RegQueryInfoKeyA(files.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    for (DWORD index = count; index-- > 0;) {
        char name[MAX_PATH];
        DWORD length = MAX_PATH;
        DWORD type = REG_NONE;
        if (::RegEnumValueA(files.get(), index, name, &length, nullptr, &type, nullptr, nullptr) ==
                ERROR_SUCCESS &&
            type == REG_SZ)
            RemoveModuleFile(std::string(name, length).c_str());
    }
}

}  // namespace

void RemoveDistributionUnits() {
    platform::UniqueKey units;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDistributionUnitsKey, 0, kChangeAccess, units.put()) !=
        ERROR_SUCCESS)
        return;
    for (const ComponentRow& row : kComponentTable) {
        if (!row.classId) continue;
        const std::string unitName = GuidToText(*row.classId);
        if (unitName.empty()) continue;
        RemoveUnitFiles(units.get(), unitName.c_str());
        // The record goes even when it listed no files or did not open.
        DeleteKeyTree(units.get(), unitName.c_str());
    }
}

}  // namespace remover
