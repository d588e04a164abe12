#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

// Starts a command line and waits for it; the exit code, or ~0u when it could
// not start or did not end within the time-out.
DWORD RunAndWait(const std::string& commandLine, DWORD timeoutMs = 60000);

// Runs meridremover.exe (built beside the tests) with the given arguments.
DWORD RunRemover(const std::string& arguments, DWORD timeoutMs = 60000);

}  // namespace testsupport
