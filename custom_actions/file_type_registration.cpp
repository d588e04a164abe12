#include "custom_actions/file_type_registration.h"

#include <windows.h>

#include <optional>
#include <string_view>

#include "custom_actions/core/default_icon.h"
#include "custom_actions/core/vrml_types.h"
#include "custom_actions/user_classes.h"
#include "platform/registry_key.h"

using platform::RegistryKey;

namespace custom_actions {
namespace {

using namespace custom_actions_core;

// What becomes of each of the product's keys: deleted, or deleted and written
// afresh.
enum class KeyChange { kDelete, kReplace };

constexpr const wchar_t* kContentTypeKey = L"MIME\\Database\\Content Type";
// The first file type is the one written; the others are older names of it:
// removed, never written.
constexpr const wchar_t* kFileType = product::kFileTypesW[0];
inline constexpr const auto& kRemovedFileTypes = product::kFileTypesW;
constexpr const wchar_t* kFileTypeName = L"VRML File";
constexpr const wchar_t* kExtensionContentType = kVrmlContentTypes[0];
constexpr const wchar_t* kContentTypeExtension = kVrmlExtensions[0];
// The product's own content type maps to no extension.
constexpr std::wstring_view kUnmappedContentType = kVrmlContentTypes[2];

// The shell asks a running Internet Explorer, through the WWW_OpenURL topic,
// to open the file as a file:// URL.
constexpr const wchar_t* kDdeMessage = L"\"file://%1\",,-1,,,,,";
struct DdeRow {
    const wchar_t* subkey;
    const wchar_t* value;
};
constexpr DdeRow kDdeSubkeys[] = {
    {L"Application", L"IExplore"},
    {L"Topic", L"WWW_OpenURL"},
};

void ChangeExtensionKeys(RegistryKey& classes, KeyChange change) {
    for (const wchar_t* extension : kVrmlExtensions) {
        classes.DeleteKeyTree(extension);
        if (change == KeyChange::kDelete) continue;
        RegistryKey key;
        if (key.CreateKey(classes.get(), extension) != ERROR_SUCCESS) continue;
        key.WriteStringValue(nullptr, kFileType);
        key.WriteStringValue(L"Content Type", kExtensionContentType);
    }
}

void ChangeContentTypeKeys(RegistryKey& classes, KeyChange change) {
    // Created in both modes, so removal leaves it behind, empty, if it was missing.
    RegistryKey database;
    if (database.CreateKey(classes.get(), kContentTypeKey) != ERROR_SUCCESS) return;
    for (const wchar_t* contentType : kVrmlContentTypes) {
        // The content type, slash included, is one key name.
        database.DeleteKeyTree(contentType);
        if (change == KeyChange::kDelete) continue;
        RegistryKey key;
        if (key.CreateKey(database.get(), contentType) != ERROR_SUCCESS) continue;
        key.WriteStringValue(L"CLSID", kControlClassId);
        if (contentType != kUnmappedContentType) key.WriteStringValue(L"Extension", kContentTypeExtension);
    }
}

void WriteDdeVerb(RegistryKey& open) {
    RegistryKey ddeexec;
    if (ddeexec.CreateKey(open.get(), L"ddeexec") != ERROR_SUCCESS) return;
    ddeexec.WriteStringValue(nullptr, kDdeMessage);
    for (const DdeRow& row : kDdeSubkeys) {
        RegistryKey key;
        if (key.CreateKey(ddeexec.get(), row.subkey) == ERROR_SUCCESS) key.WriteStringValue(nullptr, row.value);
    }
}

// The engine's server path as registered, unexpanded, with icon index 0.
void WriteDefaultIcon(RegistryKey& fileType) {
    RegistryKey server;
    const std::wstring serverKey = std::wstring(L"CLSID\\") + kEngineClassId + L"\\InprocServer32";
    if (server.Open(HKEY_CLASSES_ROOT, serverKey.c_str(), KEY_READ) != ERROR_SUCCESS) return;
    wchar_t path[kIconValueCapacity];
    DWORD count = kIconValueCapacity;
    if (server.ReadStringValue(nullptr, path, count) != ERROR_SUCCESS) return;
    const std::optional<std::wstring> icon = ComposeDefaultIcon(path);
    if (!icon) return;
    RegistryKey key;
    if (key.CreateKey(fileType.get(), L"DefaultIcon") == ERROR_SUCCESS) key.WriteStringValue(nullptr, icon->c_str());
}

void WriteFileType(RegistryKey& classes, const std::wstring& command, DdeVerb dde) {
    RegistryKey fileType;
    if (fileType.CreateKey(classes.get(), kFileType) != ERROR_SUCCESS) return;
    fileType.WriteStringValue(nullptr, kFileTypeName);
    RegistryKey shell;
    if (shell.CreateKey(fileType.get(), L"shell") != ERROR_SUCCESS) return;
    RegistryKey open;
    if (open.CreateKey(shell.get(), L"open") == ERROR_SUCCESS) {
        RegistryKey commandKey;
        if (commandKey.CreateKey(open.get(), L"command") == ERROR_SUCCESS)
            commandKey.WriteStringValue(nullptr, command.c_str());
        if (dde == DdeVerb::kWith) WriteDdeVerb(open);
    }
    WriteDefaultIcon(fileType);
}

// Everything is deleted before it is written, so nothing of an earlier
// registration (such as its DDE verb) survives. command is written only with
// kReplace.
void ChangeFileTypes(KeyChange change, const std::wstring& command, DdeVerb dde) {
    RegistryKey classes;
    if (OpenUserClassesForChange(classes) != ERROR_SUCCESS) return;
    for (const wchar_t* fileType : kRemovedFileTypes) classes.DeleteKeyTree(fileType);
    ChangeExtensionKeys(classes, change);
    ChangeContentTypeKeys(classes, change);
    if (change == KeyChange::kReplace) WriteFileType(classes, command, dde);
}

}  // namespace

void RemoveFileTypes() { ChangeFileTypes(KeyChange::kDelete, std::wstring(), DdeVerb::kWithout); }

void RegisterFileTypes(const std::wstring& command, DdeVerb dde) { ChangeFileTypes(KeyChange::kReplace, command, dde); }

}  // namespace custom_actions
