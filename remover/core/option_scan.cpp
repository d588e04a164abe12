#include "remover/core/option_scan.h"

#include "platform/ascii_case.h"

namespace remover_core {
namespace {

template <class Char>
bool IsBlank(Char c) {
    return c == ' ' || c == '\t';
}

template <class Char>
std::basic_string_view<Char> SkipProgramPath(std::basic_string_view<Char> line) {
    size_t pos = 0;
    if (!line.empty() && line[0] == '"') {
        const size_t quote = line.find('"', 1);
        pos = quote == line.npos ? line.size() : quote + 1;
    } else {
        while (pos < line.size() && !IsBlank(line[pos])) ++pos;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    return line.substr(pos);
}

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

std::string_view ArgumentsOf(std::string_view commandLine) { return SkipProgramPath(commandLine); }
std::wstring_view ArgumentsOf(std::wstring_view commandLine) { return SkipProgramPath(commandLine); }

std::vector<std::wstring_view> BlankSeparatedWords(std::wstring_view arguments) {
    std::vector<std::wstring_view> words;
    size_t pos = 0;
    while (pos < arguments.size()) {
        if (IsBlank(arguments[pos])) {
            ++pos;
            continue;
        }
        size_t end = pos;
        while (end < arguments.size() && !IsBlank(arguments[end])) ++end;
        words.push_back(arguments.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

std::vector<ScannedOption> ScanOptions(std::string_view arguments) {
    std::vector<ScannedOption> options;
    size_t pos = 0;
    while (pos < arguments.size()) {
        const size_t slash = arguments.find('/', pos);
        if (slash == std::string_view::npos) break;
        size_t end = slash + 1;
        while (end < arguments.size() && !IsBlank(arguments[end])) ++end;
        options.push_back(Classify(arguments.substr(slash + 1, end - slash - 1)));
        // The character that ended the token is consumed with it.
        pos = end + 1;
    }
    return options;
}

}  // namespace remover_core
