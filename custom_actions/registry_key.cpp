#include "custom_actions/registry_key.h"

#include <cstdlib>
#include <cwchar>

#include "platform/registry_link.h"

namespace {

constexpr DWORD kSubkeyNameCapacity = 256;

}  // namespace

LONG RegistryKey::CreateKey(HKEY parent, const wchar_t* subkey) {
    platform::UniqueKey created;
    const LONG status = ::RegCreateKeyExW(parent, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          kReadWriteAccess, nullptr, created.put(), nullptr);
    if (status == ERROR_SUCCESS) key_ = std::move(created);
    return status;
}

LONG RegistryKey::Open(HKEY parent, const wchar_t* subkey, REGSAM access, DWORD options) {
    platform::UniqueKey opened;
    const LONG status = ::RegOpenKeyExW(parent, subkey, options, access, opened.put());
    if (status == ERROR_SUCCESS) key_ = std::move(opened);
    return status;
}

LONG RegistryKey::ReadStringValue(const wchar_t* valueName, wchar_t* buffer, DWORD& count) {
    const DWORD capacity = count;
    count = 0;
    // Without a buffer the query would report the size and succeed.
    if (!buffer || capacity == 0) return ERROR_INVALID_PARAMETER;
    DWORD type = REG_NONE;
    DWORD bytes = capacity * sizeof(wchar_t);
    LONG status =
        ::RegQueryValueExW(key_.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (status == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ) status = ERROR_INVALID_DATA;
    // The registry does not promise a terminator; a value without one is
    // refused rather than terminated on the caller's behalf.
    if (status == ERROR_SUCCESS && bytes != 0 &&
        (bytes % sizeof(wchar_t) != 0 || buffer[bytes / sizeof(wchar_t) - 1] != L'\0'))
        status = ERROR_INVALID_DATA;
    // After any failure, and for a value of no bytes at all, the caller sees
    // the empty string rather than whatever the query left behind.
    if (status != ERROR_SUCCESS || bytes == 0) buffer[0] = L'\0';
    if (status == ERROR_SUCCESS) count = bytes / sizeof(wchar_t);
    return status;
}

LONG RegistryKey::WriteStringValue(const wchar_t* valueName, const wchar_t* text) {
    if (!text) std::abort();  // a programming error: never write a made-up value
    const DWORD bytes = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key_.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

LONG RegistryKey::DeleteKeyTree(const wchar_t* subkey) {
    // An empty name would open the held key itself and empty it.
    if (!subkey || !*subkey) return ERROR_INVALID_PARAMETER;
    {
        RegistryKey target;
        const LONG status = target.Open(key_.get(), subkey, kReadWriteAccess, platform::kOpenLinkOption);
        if (status != ERROR_SUCCESS) return status;
        if (platform::IsRegistryLink(target.get())) {
            RegistryKey link;
            const LONG opened = link.Open(key_.get(), subkey, DELETE, platform::kOpenLinkOption);
            return opened == ERROR_SUCCESS ? platform::DeleteHeldKey(link.get()) : opened;
        }
        // Each deleted child shifts the rest down, so index 0 is asked again.
        for (;;) {
            wchar_t child[kSubkeyNameCapacity];
            DWORD length = kSubkeyNameCapacity;
            if (::RegEnumKeyExW(target.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            const LONG childStatus = target.DeleteKeyTree(child);
            if (childStatus != ERROR_SUCCESS) return childStatus;
        }
    }  // the subkey is closed before it is deleted
    return ::RegDeleteKeyW(key_.get(), subkey);
}
