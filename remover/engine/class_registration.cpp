#include "remover/engine/class_registration.h"

#include "platform/registry_key.h"
#include "platform/registry_text.h"

namespace remover {
namespace {

constexpr const char kClassesKey[] = "Software\\Classes\\CLSID";

// A path that has no exact spelling in the code page is not the product's:
// read with the 8-bit calls it would name another file.
bool ReadServerPath(HKEY hive, const std::string& classKey, std::string& path) {
    platform::ExactTextKey key;
    return key.Open(hive, (classKey + "\\InprocServer32").c_str(), platform::kReadWriteAccess) == ERROR_SUCCESS &&
           key.ReadText(nullptr, path, platform::TextRule::TerminatedString) == ERROR_SUCCESS;
}

}  // namespace

std::string GuidToText(const GUID& classId) {
    wchar_t wide[64] = {};
    if (::StringFromGUID2(classId, wide, 64) == 0) return std::string();
    char text[64] = {};
    if (::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr) == 0)
        return std::string();
    return text;
}

std::optional<ClassServer> ReadInprocServer(const GUID& classId) {
    const std::string id = GuidToText(classId);
    if (id.empty()) return std::nullopt;
    const std::string classKey = std::string(kClassesKey) + "\\" + id;
    for (const bool fromUser : {true, false}) {
        ClassServer server;
        server.fromUser = fromUser;
        if (ReadServerPath(fromUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, classKey, server.path))
            return server;
    }
    return std::nullopt;
}

void DeleteClassRegistration(const GUID& classId) {
    const std::string id = GuidToText(classId);
    if (id.empty()) return;
    platform::RegistryKeyA user;
    if (user.OpenForChange(HKEY_CURRENT_USER, kClassesKey) == ERROR_SUCCESS) user.DeleteKeyTree(id.c_str());
    platform::RegistryKeyA machine;
    if (machine.Open(HKEY_LOCAL_MACHINE, kClassesKey, platform::kReadWriteAccess) == ERROR_SUCCESS)
        machine.DeleteKeyTree(id.c_str());
}

bool IsModulePresent(const GUID& classId) {
    const std::optional<ClassServer> server = ReadInprocServer(classId);
    return server && ::GetFileAttributesA(server->path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace remover
