#include "remover/engine/file_type_cleanup.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/product_constants.h"
#include "platform/unique_resource.h"
#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"
#include "remover/engine/key_tree.h"
#include "remover/engine/registry_text.h"

namespace remover {
namespace {

constexpr REGSAM kChangeAccess = KEY_READ | KEY_WRITE;
using product::kFileTypes;
using product::kVrmlContentTypes;
using product::kVrmlExtensions;

bool ValueEquals(HKEY parent, const char* subkey, const char* valueName, const std::string& expected) {
    platform::UniqueKey key;
    if (::RegOpenKeyExA(parent, subkey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    std::string text;
    return ReadRegistryText(key.get(), valueName, text, TextRule::TerminatedString) &&
           ::lstrcmpiA(text.c_str(), expected.c_str()) == 0;
}

bool NamesOurFileType(HKEY classes, const char* extension) {
    for (const char* type : kFileTypes)
        if (ValueEquals(classes, extension, nullptr, type)) return true;
    return false;
}

}  // namespace

void RemoveFileTypeRegistration(const std::vector<GUID>& keepList) {
    const bool controlKept = std::any_of(keepList.begin(), keepList.end(), [](const GUID& kept) {
        return std::memcmp(&kept, &kControlClassId, sizeof(GUID)) == 0;
    });
    if (controlKept && IsModulePresent(kControlClassId)) return;
    platform::UniqueKey classes;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes", 0, kChangeAccess, classes.put()) != ERROR_SUCCESS)
        return;
    for (const char* extension : kVrmlExtensions)
        if (NamesOurFileType(classes.get(), extension)) DeleteKeyTree(classes.get(), extension);
    for (const char* type : kFileTypes) DeleteKeyTree(classes.get(), type);

    platform::UniqueKey contentTypes;
    if (::RegOpenKeyExA(classes.get(), "MIME\\Database\\Content Type", 0, kChangeAccess, contentTypes.put()) !=
        ERROR_SUCCESS)
        return;
    const std::string control = GuidToText(kControlClassId);
    for (const char* contentType : kVrmlContentTypes)
        if (ValueEquals(contentTypes.get(), contentType, "CLSID", control))
            DeleteKeyTree(contentTypes.get(), contentType);
}

}  // namespace remover
