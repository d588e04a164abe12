#include "remover/core/uninstall_command.h"

#include "platform/ascii_case.h"

namespace remover_core {
namespace {

bool EndsWordAt(std::string_view text, size_t end) { return end == text.size() || text[end] == ' '; }

// The end of the first ".exe" (any case) that closes a word, or npos.
size_t EndOfExeWord(std::string_view command) {
    constexpr std::string_view kExe = ".exe";
    for (size_t i = 0; i + kExe.size() <= command.size(); ++i) {
        size_t k = 0;
        while (k < kExe.size() && platform::AsciiLower(command[i + k]) == kExe[k]) ++k;
        if (k == kExe.size() && EndsWordAt(command, i + k)) return i + k;
    }
    return std::string_view::npos;
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

Split SplitUnquoted(std::string_view command, const FileTest& isFile) {
    const size_t exeEnd = EndOfExeWord(command);
    if (exeEnd != std::string_view::npos) {
        std::string candidate(command.substr(0, exeEnd));
        if (isFile(candidate)) return {std::move(candidate), true, command.substr(exeEnd)};
    }
    const std::string_view word = command.substr(0, command.find(' '));
    Split split{std::string(word), false, command.substr(word.size())};
    if (word.empty()) return split;
    if (isFile(split.program)) {
        split.found = true;
    } else if (isFile(split.program + ".exe")) {
        split.program += ".exe";
        split.found = true;
    }
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
        split.rest.remove_prefix(1);
    }
    launch.commandLine += split.rest;
    launch.program = std::move(split.program);
    launch.found = split.found;
    return launch;
}

}  // namespace remover_core
