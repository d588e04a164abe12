#pragma once
// Installer property access shared by every custom action. Only the exported
// actions use it: they read their inputs here and write their results here,
// and their helpers work on plain values.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include "custom_actions/install_scope.h"
#include "platform/step_frame.h"

namespace custom_actions {

// Buffer capacities of the property reads, in characters with the terminator.
constexpr DWORD kAllUsersCapacity = 32;
constexpr DWORD kCustomActionDataCapacity = 520;
constexpr DWORD kLaunchPropertyCapacity = 520;   // ReadmePath, ShowSceneCmd
constexpr DWORD kBrowserPropertyCapacity = 520;  // BROWSER_CMD, BrwID
constexpr DWORD kAppDirCapacity = 2048;

// Reads a property into buffer (capacity in characters). Returns
// MsiGetPropertyW's status: 0 when the value is read and terminated within the
// buffer, 234 when it does not fit, anything else on failure. On any non-zero
// status the buffer holds the empty string, so it is never parsed by mistake.
UINT ReadProperty(MSIHANDLE session, const wchar_t* name, wchar_t* buffer, DWORD capacity);
// Sets a property; the installer's status is not examined.
void WriteProperty(MSIHANDLE session, const wchar_t* name, const wchar_t* value);
// Per-machine when ALLUSERS cannot be read (or is too long) or is exactly "1".
InstallScope ReadInstallScope(MSIHANDLE session);

// One independent step of an action (platform/step_frame.h).
using platform::RunStep;

// The frame of every exported action: it does its work and returns 0 on every
// path, so that no action ever fails the installation or the removal.
template <class Work>
UINT RunAction(Work&& work) noexcept {
    RunStep(work);
    return 0;
}

}  // namespace custom_actions
