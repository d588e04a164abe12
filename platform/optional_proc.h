#pragma once
// Functions that may be missing on the system are looked up at run time; the
// caller skips its step when the lookup gives null.
#include <windows.h>

namespace platform {

template <class Fn>
Fn GetOptionalProc(HMODULE module, const char* name) noexcept {
    if (!module) return nullptr;
    // Function pointer casts go through void* to keep -Wcast-function-type quiet.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace platform
