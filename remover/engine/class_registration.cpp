#include "remover/engine/class_registration.h"

#include "platform/registry_key.h"

namespace remover {

std::string GuidToText(const GUID& classId) {
    wchar_t wide[64] = {};
    if (::StringFromGUID2(classId, wide, 64) == 0) return std::string();
    char text[64] = {};
    if (::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr) == 0)
        return std::string();
    return text;
}

bool GetInprocServerPath(const GUID& classId, std::string& path) {
    const std::string keyName = "CLSID\\" + GuidToText(classId) + "\\InprocServer32";
    if (keyName.size() >= MAX_PATH) return false;
    platform::RegistryKeyA key;
    return key.Open(HKEY_CLASSES_ROOT, keyName.c_str(), platform::kReadWriteAccess) == ERROR_SUCCESS &&
           key.ReadText(nullptr, path, platform::TextRule::TerminatedString) == ERROR_SUCCESS;
}

bool IsUserClassRegistration(const GUID& classId) {
    const std::string keyName = "Software\\Classes\\CLSID\\" + GuidToText(classId) + "\\InprocServer32";
    platform::RegistryKeyA key;
    return key.Open(HKEY_CURRENT_USER, keyName.c_str(), KEY_READ) == ERROR_SUCCESS;
}

bool IsModulePresent(const GUID& classId) {
    std::string path;
    return GetInprocServerPath(classId, path) &&
           ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace remover
