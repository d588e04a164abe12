#include "remover/engine/file_type_cleanup.h"

#include <windows.h>

#include <string>

#include "platform/product_constants.h"
#include "platform/registry_key.h"
#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"

namespace remover {
namespace {

using product::kFileTypes;
using product::kVrmlContentTypes;
using product::kVrmlExtensions;

bool ValueEquals(HKEY parent, const char* subkey, const char* valueName, const std::string& expected) {
    platform::RegistryKeyA key;
    std::string text;
    return key.Open(parent, subkey, KEY_READ) == ERROR_SUCCESS &&
           key.ReadText(valueName, text, platform::TextRule::TerminatedString) == ERROR_SUCCESS &&
           ::lstrcmpiA(text.c_str(), expected.c_str()) == 0;
}

bool NamesOurFileType(HKEY classes, const char* extension) {
    for (const char* type : kFileTypes)
        if (ValueEquals(classes, extension, nullptr, type)) return true;
    return false;
}

}  // namespace

void RemoveFileTypeRegistration() {
    platform::RegistryKeyA classes;
    if (classes.Open(HKEY_CURRENT_USER, "Software\\Classes", platform::kReadWriteAccess) != ERROR_SUCCESS) return;
    for (const char* extension : kVrmlExtensions)
        if (NamesOurFileType(classes.get(), extension)) classes.DeleteKeyTree(extension);
    for (const char* type : kFileTypes) classes.DeleteKeyTree(type);

    platform::RegistryKeyA contentTypes;
    if (contentTypes.Open(classes.get(), "MIME\\Database\\Content Type", platform::kReadWriteAccess) !=
        ERROR_SUCCESS)
        return;
    const std::string control = GuidToText(kControlClassId);
    for (const char* contentType : kVrmlContentTypes)
        if (ValueEquals(contentTypes.get(), contentType, "CLSID", control))
            contentTypes.DeleteKeyTree(contentType);
}

}  // namespace remover
