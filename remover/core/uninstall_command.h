#pragma once
// Where the silent switches go in an older version's uninstall command. Pure
// text logic, so that every shape of command can be tried natively.
#include <string>
#include <string_view>

namespace remover_core {

// The switches that make an older version's uninstaller run without asking.
constexpr std::string_view kSilentSwitches = "/S /U ";

// Position just after the blank that ends the program part of the command, or
// npos when the command carries no arguments to put the switches in front of.
// - Quoted program: after the first quote that a space follows.
// - Unquoted: after the first space that follows ".exe" (any case), so a
//   program path with blanks stays whole; when no ".exe" ends a word of the
//   command, after the first space.
size_t SilentSwitchPosition(std::string_view command);

// The command with the switches between the program and its arguments; a
// command without arguments comes back unchanged. The result grows as needed.
std::string InsertSilentSwitches(std::string_view command);

}  // namespace remover_core
