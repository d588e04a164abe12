// Identification text logic: keyword and file-name matching and the version
// string path never read or build past their bounds.
#include <cstdlib>
#include <cstring>

#include "custom_actions/core/browser_kind.h"
#include "tests/fuzz/fuzz_input.h"

using namespace custom_actions_core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    std::uint16_t language = 0, codePage = 0;
    std::memcpy(&language, data, 2);
    std::memcpy(&codePage, data + 2, 2);
    const std::wstring text = fuzz::Wide(data + 5, size - 5);
    const BrowserKind fromText = KindFromVersionText(text);
    const BrowserKind fromName = KindFromExecutableName(text);
    if (fromText < kNotRecognised || fromText > kSafari || fromName < kNotRecognised || fromName > kSafari)
        std::abort();
    KindEvidence evidence;
    evidence.perMachine = data[4] & 1;
    evidence.hasFixedBlock = data[4] & 2;
    evidence.productMajor = data[4] >> 3;
    evidence.underUserAppData = data[4] & 4;
    const BrowserKind kept = ApplyKindCondition(fromText, evidence);
    if (kept != kNotRecognised && kept != fromText) std::abort();
    const std::wstring path = VersionStringPath(language, codePage, text);
    if (path.size() >= 64) std::abort();
    return 0;
}
