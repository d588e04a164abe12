#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "remover/engine/removal_context.h"

namespace remover {

// What the command line asks of a run.
struct RemoverOptions {
    bool silent = false;
    bool removeFolders = true;
    std::vector<GUID> keepList;  // in command-line order, duplicates kept
    // The report file the first /r names; empty when /r names none.
    std::optional<std::wstring> reportFile;
};

// Takes the product off the machine in one fixed sequence. Reports nothing:
// every step skips what it cannot do and the next one runs. The caller makes
// the context for this one run and reads the restart flag from it afterwards;
// its folder decision starts from the options.
void RunRemoval(const RemoverOptions& options, RemovalContext& context);

}  // namespace remover
