#include "custom_actions/user_classes.h"

#include <windows.h>
#include <string>

#include "platform/optional_proc.h"
#include "platform/registry_link.h"
#include "platform/unique_resource.h"

namespace custom_actions {
namespace {

constexpr const wchar_t* kClassesKey = L"Software\\Classes";
constexpr DWORD kLinkCapacity = 256;

// "\REGISTRY\USER\<sid>_Classes", where the system links the user's classes.
std::wstring SystemClassesLink() {
    platform::UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return std::wstring();
    union {
        TOKEN_USER user;
        BYTE bytes[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
    } buffer{};
    DWORD size = 0;
    wchar_t* sid = nullptr;
    // Looked up at run time: the Windows 95 family has neither SIDs nor links.
    using SidToTextFn = BOOL(WINAPI*)(PSID, wchar_t**);
    const auto sidToText =
        platform::GetOptionalProc<SidToTextFn>(::GetModuleHandleW(L"advapi32.dll"), "ConvertSidToStringSidW");
    if (!sidToText || !::GetTokenInformation(token.get(), TokenUser, &buffer, sizeof(buffer), &size) ||
        !sidToText(buffer.user.User.Sid, &sid))
        return std::wstring();
    std::wstring link = std::wstring(L"\\REGISTRY\\USER\\") + sid + L"_Classes";
    ::LocalFree(sid);
    return link;
}

// True when the key at HKCU\Software\Classes is the system's link.
bool IsSystemClassesLink() {
    platform::UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kClassesKey, platform::kOpenLinkOption, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS)
        return false;
    wchar_t target[kLinkCapacity] = {};
    DWORD type = REG_NONE;
    DWORD bytes = sizeof(target) - sizeof(wchar_t);  // stored without a terminator
    if (::RegQueryValueExW(key.get(), L"SymbolicLinkValue", nullptr, &type, reinterpret_cast<BYTE*>(target),
                           &bytes) != ERROR_SUCCESS ||
        type != REG_LINK)
        return false;
    const std::wstring expected = SystemClassesLink();
    return !expected.empty() && ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, target,
                                                 static_cast<int>(bytes / sizeof(wchar_t)), expected.c_str(),
                                                 -1) == CSTR_EQUAL;
}

}  // namespace

LONG OpenUserClassesForChange(platform::RegistryKey& classes) {
    const LONG status = classes.CreateKey(HKEY_CURRENT_USER, kClassesKey);
    if (status != ERROR_ACCESS_DENIED || !IsSystemClassesLink()) return status;
    return classes.Open(HKEY_CURRENT_USER, kClassesKey, platform::kReadWriteAccess);
}

}  // namespace custom_actions
