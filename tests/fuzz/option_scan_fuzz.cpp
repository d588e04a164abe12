// The remover's command line: every token must come from a slash in the input
// and never reach past it.
#include <cstdlib>

#include "remover/core/option_scan.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line = fuzz::Narrow(data, size);
    const auto options = remover_core::ScanOptions(line);
    size_t slashes = 0;
    for (char c : line) slashes += c == '/';
    if (options.size() > slashes) std::abort();
    for (const auto& option : options) {
        if (option.argument.size() > line.size()) std::abort();
        if (option.argument.find_first_of(" \t") != std::string::npos) std::abort();
    }
    return 0;
}
