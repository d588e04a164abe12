// Opera's settings-file paths and the file-type value stay within the Opera
// action's buffer and keep what they are made of.
#include <cstdlib>
#include <cstring>

#include "custom_actions/core/opera_settings_text.h"
#include "tests/fuzz/fuzz_input.h"

using namespace custom_actions_core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9) return 0;
    std::uint32_t ms = 0, ls = 0;
    std::memcpy(&ms, data, 4);
    std::memcpy(&ls, data + 4, 4);
    const size_t capacity = 1 + data[8] * 8;
    const auto [first, second] = fuzz::SplitWide(data + 9, size - 9);

    const std::wstring suffix = VersionSuffix(ms, ls);
    if (suffix.size() < 10 || suffix.front() != L' ') std::abort();
    const auto value = OperaFileTypeValue(first, suffix, capacity);
    if (value && value->size() + 1 > capacity) std::abort();
    if (value && value->find(first) == std::wstring::npos) std::abort();
    for (const auto& path : {ProgramFolderSettingsFile(first, capacity), ProfileSettingsFile(second, capacity)})
        if (path && path->size() + 1 > capacity) std::abort();
    if (PlugInModulePath(first).compare(0, first.size(), first) != 0) std::abort();
    return 0;
}
