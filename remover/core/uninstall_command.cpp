#include "remover/core/uninstall_command.h"

#include "platform/ascii_case.h"

namespace remover_core {
namespace {

constexpr std::string_view kExe = ".exe";

bool EndsWithExe(std::string_view text) {
    if (text.size() < kExe.size()) return false;
    for (size_t k = 0; k < kExe.size(); ++k)
        if (platform::AsciiLower(text[text.size() - kExe.size() + k]) != kExe[k]) return false;
    return true;
}

struct Split {
    std::string program;
    bool found = false;
    std::string_view rest;  // what follows the program part in the command
};

Split SplitQuoted(std::string_view command, const FileTest& isFile) {
    const size_t close = command.find('"', 1);
    Split split;
    split.program = std::string(command.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    split.rest = close == std::string_view::npos ? std::string_view() : command.substr(close + 1);
    split.found = !split.program.empty() && isFile(split.program);
    return split;
}

// What CreateProcess would find, longest first: each blank-separated prefix
// of the command, with ".exe" added where it does not end so. A shorter path
// that merely happens to exist never wins over a longer one.
Split SplitUnquoted(std::string_view command, const FileTest& isFile) {
    for (size_t end = command.size(); end > 0;) {
        // A prefix that ends in a blank (one of several in a row) names nothing.
        if (command[end - 1] != ' ') {
            std::string candidate(command.substr(0, end));
            if (!EndsWithExe(candidate)) candidate += kExe;
            if (isFile(candidate)) return {std::move(candidate), true, command.substr(end)};
        }
        const size_t blank = command.rfind(' ', end - 1);
        if (blank == std::string_view::npos) break;
        end = blank;
    }
    // A first word with another extension ("uninst.com") as written; else
    // the first word as an unresolved program.
    const std::string_view word = command.substr(0, command.find(' '));
    Split split{std::string(word), false, command.substr(word.size())};
    split.found = !word.empty() && isFile(split.program);
    return split;
}

}  // namespace

std::optional<UninstallLaunch> ParseUninstallCommand(std::string_view command, bool silent, const FileTest& isFile) {
    const bool quoted = !command.empty() && command.front() == '"';
    Split split = quoted ? SplitQuoted(command, isFile) : SplitUnquoted(command, isFile);
    if (split.program.empty() || split.program.find('"') != std::string::npos) return std::nullopt;

    UninstallLaunch launch;
    launch.commandLine = "\"" + split.program + "\"";
    if (!split.rest.empty() && split.rest.front() == ' ') {
        launch.commandLine += ' ';
        if (silent) launch.commandLine += kSilentSwitches;
        launch.switched = silent;
        split.rest.remove_prefix(1);
    }
    launch.commandLine += split.rest;
    launch.program = std::move(split.program);
    launch.found = split.found;
    return launch;
}

std::string SwitchesOnlyCommandLine(const UninstallLaunch& launch, std::string_view program) {
    std::string commandLine = "\"" + std::string(program) + "\"";
    // Without the blank that follows them before the arguments.
    if (launch.switched) commandLine += " " + std::string(kSilentSwitches.substr(0, kSilentSwitches.size() - 1));
    return commandLine;
}

}  // namespace remover_core
