#pragma once
// Starting a program from the installation, not waited for.
#include <string>

#include "custom_actions/install_scope.h"

namespace custom_actions {

// True for a per-machine installation that runs with the full half of a split
// token: its programs come from machine-wide registrations only, and never
// from a folder that the user's own processes can write.
bool TakesMachineProgramsOnly(InstallScope scope);

// Starts commandLine. With machineProgramsOnly the program (the command's
// executable) is opened and held, its final path must lie outside the user's
// profile and application-data folders and the shared application-data and
// documents folders, and that final path is started; a program that fails
// this is not started at all.
void StartProgram(std::wstring commandLine, bool machineProgramsOnly);

}  // namespace custom_actions
