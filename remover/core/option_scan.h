#pragma once
// Splits the remover's command line into its options. Pure text logic: the
// class identifier text of /x is handed back as written, for the caller to
// parse with the platform's parser.
#include <string>
#include <string_view>
#include <vector>

namespace remover_core {

enum class OptionKind { Silent, KeepFolders, KeepComponent, Report, Ignored };

struct ScannedOption {
    OptionKind kind;
    std::string argument;  // for KeepComponent: everything after the x; for Report: the file
};

// A report option in UTF-16 arguments: where its token lies (the slash up to
// the blank after it) and its file name, empty when the option is malformed.
struct ReportOption {
    size_t begin;
    size_t end;
    std::wstring fileName;
};

// What follows the program's own path, split off as Windows splits the first
// argument: a quoted path ends at the next quote (a file name holds none), an
// unquoted one at the first space or tab; the blanks after it are skipped.
std::string_view ArgumentsOf(std::string_view commandLine);
std::wstring_view ArgumentsOf(std::wstring_view commandLine);

// The blank-separated words of the arguments, as written (quotes mean nothing).
std::vector<std::wstring_view> BlankSeparatedWords(std::wstring_view arguments);

// Every token that a slash introduces in the arguments, in order. A token runs
// to the first space, tab or the end; quotes have no meaning, except around
// the file name of a report option ("/r" followed by a double quote), which
// then runs to the closing quote, blanks included.
std::vector<ScannedOption> ScanOptions(std::string_view arguments);
// The report options alone, by the same rules, from UTF-16 arguments: the
// file may be named in any characters.
std::vector<ReportOption> FindReportOptions(std::wstring_view arguments);

}  // namespace remover_core
