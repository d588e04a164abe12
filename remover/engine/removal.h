#pragma once
#include <windows.h>

#include <functional>
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

// Called with each step's name (removal_steps.h) as the step starts, inside
// the step's frame, so that what it throws skips that step only. For the test
// drivers; the program passes none.
using StepObserver = std::function<void(const char* stepName)>;

// Takes the product off the machine in one fixed sequence of named steps.
// Reports nothing: a step that fails, or throws, skips the rest of its own
// work and the next step runs. productKeyPath is the product key below
// HKEY_LOCAL_MACHINE, as the program's string table holds it. The caller
// makes the context for this one run and reads the restart flag from it
// afterwards.
void RunRemoval(const RemoverOptions& options, const std::string& productKeyPath, RemovalContext& context,
                const StepObserver& beforeStep = nullptr);

}  // namespace remover
