#pragma once
#include <windows.h>

#include <vector>

namespace remover {

struct RemoverOptions {
    bool silent = false;
    bool removeFolders = true;
    std::vector<GUID> keepList;  // in command-line order, duplicates kept
};

// Reads /s, /f and every /x{class id} of the whole command line. Never fails
// and never reports: anything it does not recognise is dropped.
RemoverOptions ParseCommandLine(const char* commandLine);

}  // namespace remover
