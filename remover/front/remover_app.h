#pragma once
#include <windows.h>

namespace remover {

// The whole program: options, confirmation, removal, messages. Always 0.
int RunRemoverProgram(HINSTANCE instance);

}  // namespace remover
