#include "remover/engine/elevation.h"

#include "platform/split_token.h"

namespace remover {

bool IsProcessElevated() {
    // Wine answers for the token even where it presents Windows 98.
    return WindowsPlatformId() == VER_PLATFORM_WIN32_NT && platform::RunsWithFullSplitToken();
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
