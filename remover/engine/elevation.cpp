#include "remover/engine/elevation.h"

#include <windows.h>

#include "platform/unique_resource.h"

namespace remover {

bool IsProcessElevated() {
    platform::UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) return false;
    return elevation.TokenIsElevated != 0;
}

}  // namespace remover
