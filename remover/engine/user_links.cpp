#include "remover/engine/user_links.h"

#include <windows.h>

#include <vector>

#include "remover/core/final_path.h"
#include "remover/core/shared_dll_name.h"
#include "remover/engine/file_link.h"

namespace remover {
namespace {

// Rights that let a user put a link into the folder, or grant themselves that.
constexpr DWORD kWriteRights =
    FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

struct KnownSid {
    SID_IDENTIFIER_AUTHORITY authority;
    BYTE count;
    DWORD rids[2];
};
// Everyone, Authenticated Users, INTERACTIVE and Users: every standard user is in them.
constexpr KnownSid kStandardUsers[] = {
    {SECURITY_WORLD_SID_AUTHORITY, 1, {SECURITY_WORLD_RID, 0}},
    {SECURITY_NT_AUTHORITY, 1, {SECURITY_AUTHENTICATED_USER_RID, 0}},
    {SECURITY_NT_AUTHORITY, 1, {SECURITY_INTERACTIVE_RID, 0}},
    {SECURITY_NT_AUTHORITY, 2, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS}},
};

bool IsStandardUserSid(PSID sid) {
    for (const KnownSid& known : kStandardUsers) {
        DWORD buffer[SECURITY_MAX_SID_SIZE / sizeof(DWORD)] = {};
        SID_IDENTIFIER_AUTHORITY authority = known.authority;
        if (!::InitializeSid(buffer, &authority, known.count)) continue;
        for (BYTE i = 0; i < known.count; ++i) *::GetSidSubAuthority(buffer, i) = known.rids[i];
        if (::EqualSid(buffer, sid)) return true;
    }
    return false;
}

bool AccessListLetsUsersWrite(const std::string& folder) {
    DWORD needed = 0;
    ::GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) return true;
    std::vector<BYTE> descriptor(needed);
    BOOL present = FALSE, defaulted = FALSE;
    PACL list = nullptr;
    if (!::GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed) ||
        !::GetSecurityDescriptorDacl(descriptor.data(), &present, &list, &defaulted) || !present || !list)
        return true;
    for (DWORD index = 0; index < list->AceCount; ++index) {
        void* entry = nullptr;
        if (!::GetAce(list, index, &entry)) return true;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        // Denials are not weighed: a folder counts as writable rather than not.
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE)) continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        if ((allowed->Mask & kWriteRights) && IsStandardUserSid(&allowed->SidStart)) return true;
    }
    return false;
}

}  // namespace

bool StandardUserCanWrite(const MachinePlaces& places, const std::string& folder) {
    for (const std::string& own : places.userFolders)
        if (remover_core::FinalPathIsPath(folder, own) || remover_core::IsInsideFolder(folder, own)) return true;
    return AccessListLetsUsersWrite(folder.size() == 2 && folder[1] == ':' ? folder + "\\" : folder);
}

bool HasUserLinkOnTheWay(const MachinePlaces& places, const std::string& path, const std::string& base) {
    for (const FolderLink& link : FolderLinksOnTheWay(path, base))
        if (StandardUserCanWrite(places, link.holder)) return true;
    return false;
}

}  // namespace remover
