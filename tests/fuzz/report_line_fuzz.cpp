// The report's lines: whatever the path holds, a line has exactly three
// fields, ends in one CR LF and carries no other control character.
#include <cstdlib>

#include "remover/core/report_line.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const auto outcome = static_cast<remover_core::Outcome>(data[0] % remover_core::kOutcomeCount);
    const remover_core::Detail detail(static_cast<remover_core::Reason>(data[1] % 19), data[1]);
    const std::string line = remover_core::ReportLine(outcome, fuzz::Narrow(data + 2, size - 2), detail);
    if (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) std::abort();
    size_t tabs = 0;
    for (size_t i = 0; i + 2 < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c == '\t') ++tabs;
        else if (c < 0x20 || c == 0x7F) std::abort();
    }
    if (tabs != 2) std::abort();
    return 0;
}
