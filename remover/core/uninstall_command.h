#pragma once
// How an older version's uninstall command is started: which file is the
// program, and the command line it gets. Pure text logic; whether a file
// exists is asked through the caller's test, so every shape of command can be
// tried natively.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace remover_core {

// The switches that make an older version's uninstaller run without asking.
constexpr std::string_view kSilentSwitches = "/S /U ";

// True when the path names an existing file (not a folder).
using FileTest = std::function<bool(const std::string&)>;

struct UninstallLaunch {
    std::string program;      // the program part, unquoted
    bool found = false;       // `program` names an existing file
    std::string commandLine;  // the program quoted, then the switches (silent) and the arguments
    bool switched = false;    // the switches were put in
};

// The program part of the command:
// - quoted: the text inside the quotes;
// - unquoted: the longest blank-separated prefix of the command that names
//   an existing file, with ".exe" added where it does not end so (a path
//   with blanks: "C:\Program Files\Old Meridel\uninst /log" finds
//   "...\uninst.exe"); else the first word, when it names an existing file
//   as written; else the first word as it stands.
// A shorter path that merely happens to exist ("C:\Program.exe") never wins
// over a longer one. The switches go right after the program part and its
// blank; a command without arguments gets none. Nothing when no program can
// be quoted (empty, or a quote inside it).
std::optional<UninstallLaunch> ParseUninstallCommand(std::string_view command, bool silent, const FileTest& isFile);

// The command line for `program` (the path of the file approved in its
// place) with the launch's switches and none of the command's own arguments,
// which the registry's writer chose.
std::string SwitchesOnlyCommandLine(const UninstallLaunch& launch, std::string_view program);

}  // namespace remover_core
