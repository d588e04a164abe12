// The remover's command line: the arguments are a tail of the line, every token
// must come from a slash in them and never reach past it, and every word is a
// blank-free piece of the arguments.
#include <cstdlib>

#include "remover/core/option_scan.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line = fuzz::Narrow(data, size);
    const std::string_view arguments = remover_core::ArgumentsOf(line);
    if (arguments.data() + arguments.size() != line.data() + line.size()) std::abort();
    const auto options = remover_core::ScanOptions(arguments);
    size_t slashes = 0;
    for (char c : arguments) slashes += c == '/';
    if (options.size() > slashes) std::abort();
    for (const auto& option : options) {
        if (option.argument.size() > arguments.size()) std::abort();
        // Only a report option's quoted file name holds blanks.
        const bool blank = option.argument.find_first_of(" \t") != std::string::npos;
        if (blank && option.kind != remover_core::OptionKind::Report) std::abort();
    }
    const std::wstring wide = fuzz::Wide(data, size);
    const std::wstring_view wideArguments = remover_core::ArgumentsOf(wide);
    if (wideArguments.data() + wideArguments.size() != wide.data() + wide.size()) std::abort();
    size_t after = 0;
    for (const auto& report : remover_core::FindReportOptions(wideArguments)) {
        if (report.begin < after || report.end > wideArguments.size() || wideArguments[report.begin] != L'/' ||
            report.fileName.size() > report.end - report.begin)
            std::abort();
        after = report.end;
    }
    for (const std::wstring_view word : remover_core::BlankSeparatedWords(wideArguments)) {
        if (word.empty() || word.find_first_of(L" \t") != std::wstring_view::npos) std::abort();
        if (word.data() < wideArguments.data() || word.data() + word.size() > wideArguments.data() + wideArguments.size())
            std::abort();
    }
    return 0;
}
