#pragma once
// The plug-in files that a browser's install folder holds. Pure text logic:
// paths are joined by plain concatenation.
#include <string>
#include <string_view>
#include <vector>

namespace remover_core {

// A Netscape-family install folder with exactly one trailing backslash added
// when it has none (an empty folder becomes a single backslash).
std::string InstallFolder(std::string_view installDirectory);

// The folder whose presence moves the plug-ins below "Program\".
std::string ProgramFolder(std::string_view installDirectory);

// The module and archive in the plug-ins folder (below "Program\" when that
// folder exists), then the type library in "Components\" of the install
// folder itself, in removal order.
std::vector<std::string> NetscapePluginFiles(std::string_view installDirectory, bool hasProgramFolder);

// Opera's four plug-in paths, appended to its "Path" value as it is.
std::vector<std::string> OperaPluginFiles(std::string_view operaFolder);

}  // namespace remover_core
