#pragma once
#include <windows.h>

namespace remover {

// Calls a module's entry point that takes no arguments (a "DllUnregisterServer"
// export) behind a frame-based exception handler of its own. The module's own
// handlers see every exception first; one that would leave the entry point
// unwinds back here instead of ending the process. True when the call
// returned normally, false when an exception left it.
bool CallGuarded(FARPROC entryPoint);

}  // namespace remover
