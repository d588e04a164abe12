#include "remover/core/option_scan.h"

#include "platform/ascii_case.h"

namespace remover_core {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool EqualsLetterIgnoringCase(std::string_view token, char lower) {
    if (token.size() != 1) return false;
    return platform::AsciiLower(token[0]) == lower;
}

ScannedOption Classify(std::string_view token) {
    if (EqualsLetterIgnoringCase(token, 's')) return {OptionKind::Silent, {}};
    if (EqualsLetterIgnoringCase(token, 'f')) return {OptionKind::KeepFolders, {}};
    if (!token.empty() && platform::AsciiLower(token[0]) == 'x')
        return {OptionKind::KeepComponent, std::string(token.substr(1))};
    return {OptionKind::Ignored, std::string(token)};
}

}  // namespace

std::vector<ScannedOption> ScanOptions(std::string_view commandLine) {
    std::vector<ScannedOption> options;
    size_t pos = 0;
    while (pos < commandLine.size()) {
        const size_t slash = commandLine.find('/', pos);
        if (slash == std::string_view::npos) break;
        size_t end = slash + 1;
        while (end < commandLine.size() && !IsBlank(commandLine[end])) ++end;
        options.push_back(Classify(commandLine.substr(slash + 1, end - slash - 1)));
        // The character that ended the token is consumed with it.
        pos = end + 1;
    }
    return options;
}

}  // namespace remover_core
