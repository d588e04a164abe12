#include "platform/split_token.h"

#include <windows.h>

#include "platform/unique_resource.h"

namespace platform {

bool RunsWithFullSplitToken() {
    UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    return ::GetTokenInformation(token.get(), TokenElevationType, &type, sizeof(type), &size) &&
           type == TokenElevationTypeFull;
}

}  // namespace platform
