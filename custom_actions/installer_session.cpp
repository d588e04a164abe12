#include "custom_actions/installer_session.h"

namespace custom_actions {

UINT ReadProperty(MSIHANDLE session, const wchar_t* name, wchar_t* buffer, DWORD capacity) {
    DWORD count = capacity;
    const UINT status = ::MsiGetPropertyW(session, name, buffer, &count);
    // A value that did not fit may have been cut; never leave it to be parsed.
    if (status != ERROR_SUCCESS && capacity > 0) buffer[0] = L'\0';
    return status;
}

void WriteProperty(MSIHANDLE session, const wchar_t* name, const wchar_t* value) {
    ::MsiSetPropertyW(session, name, value);
}

InstallScope ReadInstallScope(MSIHANDLE session) {
    wchar_t value[kAllUsersCapacity];
    if (ReadProperty(session, L"ALLUSERS", value, kAllUsersCapacity) != ERROR_SUCCESS)
        return InstallScope::kPerMachine;
    return value[0] == L'1' && value[1] == L'\0' ? InstallScope::kPerMachine : InstallScope::kPerUser;
}

}  // namespace custom_actions
