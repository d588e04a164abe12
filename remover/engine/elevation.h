#pragma once
#include <windows.h>

namespace remover {

// True when the elevated-run rules apply: this process runs with the full
// token of a split logon (TokenElevationTypeFull), whose limited twin runs the
// user's other programs with the same registry hive and profile folders, so
// what the remover finds there may have been planted. False on the Windows 95
// family (no tokens), with UAC off, for the built-in Administrator and the
// system account (TokenElevationTypeDefault: no limited twin shares the
// machine with them), and where the system cannot tell.
bool IsProcessElevated();

// The Windows family (VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32_WINDOWS);
// 0 when the call fails.
DWORD WindowsPlatformId();

}  // namespace remover
