#pragma once
// Registry links: a key whose "SymbolicLinkValue" (REG_LINK) names another
// key. Opening a name follows the link; a deletion that did so would delete
// the target, which can be any key the link's writer chose. The key-tree
// deletions open each key with REG_OPTION_OPEN_LINK and delete a link itself.
#include <windows.h>

#include "platform/optional_proc.h"

namespace platform {

// Opening a key so that a link at its last name is opened, not followed.
constexpr DWORD kOpenLinkOption = REG_OPTION_OPEN_LINK;

// True when the key, opened with kOpenLinkOption, is a link.
inline bool IsRegistryLink(HKEY key) noexcept {
    DWORD type = REG_NONE;
    return ::RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

// Deletes the key that `key` holds (opened with kOpenLinkOption and DELETE
// access): a link goes as a link. The registry functions delete by name, which
// follows a link; the system's own NtDeleteKey, looked up at run time, deletes
// the held key. Systems without it have no links.
inline LONG DeleteHeldKey(HKEY key) noexcept {
    using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
    using StatusToErrorFn = ULONG(NTAPI*)(LONG);
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const auto deleteKey = GetOptionalProc<NtDeleteKeyFn>(ntdll, "NtDeleteKey");
    const auto toError = GetOptionalProc<StatusToErrorFn>(ntdll, "RtlNtStatusToDosError");
    if (!deleteKey || !toError) return ERROR_CALL_NOT_IMPLEMENTED;
    const LONG status = deleteKey(key);
    return status == 0 ? ERROR_SUCCESS : static_cast<LONG>(toError(status));
}

}  // namespace platform
