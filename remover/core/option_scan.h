#pragma once
// Splits the remover's command line into its options. Pure text logic: the
// class identifier text of /x is handed back as written, for the caller to
// parse with the platform's parser.
#include <string>
#include <string_view>
#include <vector>

namespace remover_core {

enum class OptionKind { Silent, KeepFolders, KeepComponent, Ignored };

struct ScannedOption {
    OptionKind kind;
    std::string argument;  // for KeepComponent: everything after the x
};

// What follows the program's own path, split off as Windows splits the first
// argument: a quoted path ends at the next quote (a file name holds none), an
// unquoted one at the first space or tab; the blanks after it are skipped.
std::string_view ArgumentsOf(std::string_view commandLine);
std::wstring_view ArgumentsOf(std::wstring_view commandLine);

// The blank-separated words of the arguments, as written (quotes mean nothing).
std::vector<std::wstring_view> BlankSeparatedWords(std::wstring_view arguments);

// Every token that a slash introduces in the arguments, in order. A token runs
// to the first space, tab or the end; quotes have no meaning.
std::vector<ScannedOption> ScanOptions(std::string_view arguments);

}  // namespace remover_core
