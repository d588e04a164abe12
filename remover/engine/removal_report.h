#pragma once
// Helpers of the steps for telling the run's report what they did; the line
// itself is made by RemovalContext::Report alone.
#include <windows.h>

#include <string>

#include "remover/engine/removal_context.h"

namespace remover {

// Reports only when something lies at the path: a guard that refused a path
// naming nothing left no trace.
void ReportIfPresent(RemovalContext& context, remover_core::Outcome outcome, const std::string& path,
                     const remover_core::Detail& detail);

// A file whose deletion failed: a file or folder that was not there is no
// trace and makes no line.
void ReportFailure(RemovalContext& context, const std::string& path, DWORD error);

// A component the command line keeps: its module when a class registration
// names one, else its class key.
void ReportKeptComponent(RemovalContext& context, const GUID& classId);

}  // namespace remover
