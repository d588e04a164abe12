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

template <class Char>
bool IsReportLetter(Char c) {
    return c == 'r' || c == 'R';
}

// Where the token that starts after a slash at `start` ends.
template <class Char>
size_t TokenEnd(std::basic_string_view<Char> arguments, size_t start) {
    size_t end = start;
    if (end + 1 < arguments.size() && IsReportLetter(arguments[end]) && arguments[end + 1] == '"') {
        const size_t close = arguments.find('"', end + 2);
        end = close == arguments.npos ? arguments.size() : close + 1;
    }
    while (end < arguments.size() && !IsBlank(arguments[end])) ++end;
    return end;
}

// Each token after a slash, in order; `visit` (slash position, token).
template <class Char, class Visit>
void ForEachToken(std::basic_string_view<Char> arguments, Visit visit) {
    size_t pos = 0;
    while (pos < arguments.size()) {
        const size_t slash = arguments.find('/', pos);
        if (slash == arguments.npos) break;
        const size_t end = TokenEnd(arguments, slash + 1);
        visit(slash, arguments.substr(slash + 1, end - slash - 1));
        // The character that ended the token is consumed with it.
        pos = end + 1;
    }
}

// The file of a report token ("r" and the name, quoted or not); empty when a
// quoted name is not closed or something follows its closing quote.
template <class Char>
std::basic_string<Char> ReportFileOf(std::basic_string_view<Char> token) {
    const std::basic_string_view<Char> name = token.substr(1);
    if (name.empty() || name[0] != '"') return std::basic_string<Char>(name);
    if (name.size() < 2 || name.find('"', 1) != name.size() - 1) return {};
    return std::basic_string<Char>(name.substr(1, name.size() - 2));
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
    if (!token.empty() && IsReportLetter(token[0])) return {OptionKind::Report, ReportFileOf(token)};
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
    ForEachToken(arguments, [&options](size_t, std::string_view token) { options.push_back(Classify(token)); });
    return options;
}

std::vector<ReportOption> FindReportOptions(std::wstring_view arguments) {
    std::vector<ReportOption> reports;
    ForEachToken(arguments, [&reports](size_t slash, std::wstring_view token) {
        if (!token.empty() && IsReportLetter(token[0]))
            reports.push_back({slash, slash + 1 + token.size(), ReportFileOf(token)});
    });
    return reports;
}

}  // namespace remover_core
