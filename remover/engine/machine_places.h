#pragma once
// The machine's folders that the guards judge against, gathered once per run:
// finding them takes the registry, the profile list and some forty shell
// folder lookups, far too slow to repeat for every file of a product folder.
// Only administrators can change the system's folders during a run; the
// user's own folders are protected for the user's sake.
#include <string>
#include <vector>

#include "remover/core/deletion_rules.h"
#include "remover/engine/removal_context.h"

namespace remover {

struct MachinePlaces {
    // What the folder guard refuses, every spelling, upper case.
    remover_core::ProtectedFolders folders;
    // The Windows and system folders, every spelling, upper case: no single
    // file inside them is the product's.
    std::vector<std::string> windowsFolders;
    // The user's profile, Application Data and local Application Data in
    // every spelling: every process of the user can write there.
    std::vector<std::string> userFolders;
    // The maker's folder (product::kMakerFolder) below each Program Files and Common
    // Files folder, in every spelling: only administrators can write there.
    std::vector<std::string> makersFolders;
    // The product's own folders (Application Data, Common Files and Program
    // Files), in every spelling.
    std::vector<std::string> productFolders;
    // The two of them that only administrators can change (Common Files and
    // Program Files), in every spelling.
    std::vector<std::string> adminProductFolders;
    // False when a folder the guards must know (Windows, System, Program Files
    // and Common Files in each form the machine has) could not be learned:
    // the guards then refuse every folder and file.
    bool complete = false;
    // Whether the elevated-run rules apply (see IsProcessElevated).
    bool elevated = false;
};

// Looks every place up now.
MachinePlaces GatherMachinePlaces();

// The run's places, gathered at the first call of the run.
const MachinePlaces& PlacesOf(RemovalContext& context);

}  // namespace remover
