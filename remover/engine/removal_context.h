#pragma once
#include <memory>
#include <set>
#include <string>

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
};

}  // namespace remover
