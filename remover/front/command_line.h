#pragma once
#include "remover/engine/removal.h"

namespace remover {

// Reads /s, /f, every /x{class id} and the first /r<report file> from the arguments of a whole command
// line; the program's own path is never scanned. Never fails and never
// reports: anything it does not recognise is dropped.
RemoverOptions ParseCommandLine(const char* commandLine);
// The same from the UTF-16 command line. An argument counts only when it
// converts exactly into the system code page; any other is dropped whole, so
// that no look-alike character can form an option.
RemoverOptions ParseCommandLine(const wchar_t* commandLine);

// The options of this process: read in UTF-16 on the NT family, as the ANSI
// text on the Windows 95 family.
RemoverOptions ReadProcessOptions();

}  // namespace remover
