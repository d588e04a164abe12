#pragma once
#include "remover/engine/removal.h"

namespace remover {

// Reads /s, /f and every /x{class id} of the whole command line. Never fails
// and never reports: anything it does not recognise is dropped.
RemoverOptions ParseCommandLine(const char* commandLine);

}  // namespace remover
