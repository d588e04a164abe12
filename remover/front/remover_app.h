#pragma once
#include <windows.h>

namespace remover {

// The whole program: options, confirmation, removal, messages. The exit
// status: 0, or with a report what RunReported says.
int RunRemoverProgram(HINSTANCE instance);

}  // namespace remover
