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

}  // namespace

size_t SilentSwitchPosition(std::string_view command) {
    constexpr size_t npos = std::string_view::npos;
    if (!command.empty() && command.front() == '"') {
        const size_t p = command.find("\" ");
        return (p != npos && p > 0) ? p + 2 : npos;
    }
    const size_t exeEnd = EndOfExeWord(command);
    if (exeEnd != npos) return exeEnd < command.size() ? exeEnd + 1 : npos;
    const size_t p = command.find(' ');
    return (p != npos && p > 0) ? p + 1 : npos;
}

std::string InsertSilentSwitches(std::string_view command) {
    std::string result(command);
    const size_t at = SilentSwitchPosition(command);
    if (at != std::string_view::npos) result.insert(at, kSilentSwitches);
    return result;
}

}  // namespace remover_core
