#include "remover/engine/elevation.h"

#include "platform/unique_resource.h"

namespace remover {

bool IsProcessElevated() {
    // Wine answers for the token even where it presents Windows 98.
    if (WindowsPlatformId() != VER_PLATFORM_WIN32_NT) return false;
    platform::UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    if (!::GetTokenInformation(token.get(), TokenElevationType, &type, sizeof(type), &size)) return false;
    return type == TokenElevationTypeFull;
}

DWORD WindowsPlatformId() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&version);
#pragma GCC diagnostic pop
    return version.dwPlatformId;
}

}  // namespace remover
