#pragma once
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "remover/core/report_line.h"

namespace remover {

struct MachinePlaces;

// What one removal run has found out so far. The caller of the run makes it
// and hands it down to every step that deletes files, so nothing of one run
// is left over for the next.
struct RemovalContext {
    // Set when a file could only be scheduled for deletion at the next
    // restart; the caller asks the user to restart after the run.
    bool restartNeeded = false;
    // Files this run has scheduled for deletion at restart, upper-cased the way
    // the code page does.
    std::set<std::string> scheduledFiles;
    // The machine's protected folders, gathered at the run's first judgement
    // (PlacesOf in machine_places.h).
    std::shared_ptr<const MachinePlaces> places;
    // Every trace the run acted on or left, counted by outcome.
    remover_core::OutcomeCounts outcomes{};
    // Of the failures, those left for the run after the restart.
    unsigned leftForNextRun = 0;
    // Receives each report line (UTF-8, with its line end) when the run keeps
    // a report; empty otherwise.
    std::function<void(const std::string&)> reportLine;

    // The one place where steps tell what became of a trace: `path` in the
    // code page (a file, a folder, a program, a registry key). Defined in
    // removal_report.cpp.
    void Report(remover_core::Outcome outcome, const std::string& path,
                const remover_core::Detail& detail = remover_core::Detail());
};

}  // namespace remover
