#include "tests/support/product_fixture.h"

#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"
#include "tests/support/registry_fixture.h"

namespace testsupport {

std::vector<std::string> ComponentClassIds() {
    std::vector<std::string> ids;
    for (const auto& row : remover::kComponentTable)
        if (row.classId) ids.push_back(remover::GuidToText(*row.classId));
    return ids;
}

std::string ClassKey(const std::string& classId) { return "CLSID\\" + classId; }

void RegisterClass(const std::string& classId, const std::string& path, DWORD type) {
    SetString(HKEY_CLASSES_ROOT, ClassKey(classId) + "\\InprocServer32", nullptr, path, type);
    SetString(HKEY_CLASSES_ROOT, ClassKey(classId) + "\\InprocServer32", "ThreadingModel", "Apartment");
}

std::vector<std::pair<HKEY, std::string>> ProductRegistryPlaces() {
    std::vector<std::pair<HKEY, std::string>> places = {{HKEY_LOCAL_MACHINE, "Software\\Halvorix"}};
    for (const auto& id : ComponentClassIds()) places.emplace_back(HKEY_CLASSES_ROOT, ClassKey(id));
    return places;
}

std::vector<std::pair<HKEY, std::string>> PerUserFileTypePlaces() {
    const std::string classes = "Software\\Classes\\";
    const std::string mime = classes + "MIME\\Database\\Content Type\\";
    std::vector<std::pair<HKEY, std::string>> places;
    for (const char* key : {".wrl", ".vrml", ".wrz", "Meridel.ClientCU", "Meridel.Client"})
        places.emplace_back(HKEY_CURRENT_USER, classes + key);
    for (const char* type : {"model/vrml", "x-world/x-vrml", "application/x-meridel"})
        places.emplace_back(HKEY_CURRENT_USER, mime + type);
    return places;
}

}  // namespace testsupport
