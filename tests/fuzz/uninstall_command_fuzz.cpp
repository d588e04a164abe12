// The uninstall command over arbitrary texts and file systems: the program is
// quoted whole, the silent line differs only by the switches, and the rest of
// the command is carried over unchanged.
#include <cstdlib>
#include <string>

#include "remover/core/uninstall_command.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte decides which candidate lengths exist as files.
    const unsigned existing = data[0];
    const std::string command = fuzz::Narrow(data + 1, size - 1);
    const remover_core::FileTest isFile = [&](const std::string& path) {
        return path.size() <= command.size() + 4 && ((existing >> (path.size() % 8)) & 1);
    };
    const auto silent = remover_core::ParseUninstallCommand(command, true, isFile);
    const auto plain = remover_core::ParseUninstallCommand(command, false, isFile);
    if (!silent != !plain) std::abort();
    if (!plain) return 0;
    const std::string& program = plain->program;
    if (program.empty() || program.find('"') != std::string::npos || silent->program != program) std::abort();
    if (plain->found && !isFile(program)) std::abort();
    const std::string quoted = "\"" + program + "\"";
    if (plain->commandLine.compare(0, quoted.size(), quoted) != 0) std::abort();
    // What follows the quoted program is the end of the command as written.
    const std::string tail = plain->commandLine.substr(quoted.size());
    if (tail.size() > command.size() || command.compare(command.size() - tail.size(), tail.size(), tail) != 0)
        std::abort();
    if (silent->commandLine != plain->commandLine &&
        silent->commandLine != quoted + " " + std::string(remover_core::kSilentSwitches) + tail.substr(1))
        std::abort();
    return 0;
}
