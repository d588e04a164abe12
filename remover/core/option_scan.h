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

// Every token that a slash introduces, in command-line order. A token runs to
// the first space, tab or the end; the scan covers the program's own path too
// and gives quotes no meaning.
std::vector<ScannedOption> ScanOptions(std::string_view commandLine);

}  // namespace remover_core
