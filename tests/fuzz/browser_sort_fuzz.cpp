// The display-name order must be a strict weak ordering, or std::sort may run
// off the list: irreflexive, asymmetric, transitive, with transitive ties.
#include <cstdlib>

#include "custom_actions/core/browser_list.h"
#include "tests/fuzz/fuzz_input.h"

using custom_actions_core::DisplayNameLess;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring all = fuzz::Wide(data, size);
    const size_t first = all.find(L'\n');
    const size_t second = first == std::wstring::npos ? first : all.find(L'\n', first + 1);
    if (second == std::wstring::npos) return 0;
    const std::wstring a = all.substr(0, first);
    const std::wstring b = all.substr(first + 1, second - first - 1);
    const std::wstring c = all.substr(second + 1);
    auto equivalent = [](const std::wstring& x, const std::wstring& y) {
        return !DisplayNameLess(x, y) && !DisplayNameLess(y, x);
    };
    if (DisplayNameLess(a, a)) std::abort();
    if (DisplayNameLess(a, b) && DisplayNameLess(b, a)) std::abort();
    if (DisplayNameLess(a, b) && DisplayNameLess(b, c) && !DisplayNameLess(a, c)) std::abort();
    if (equivalent(a, b) && equivalent(b, c) && !equivalent(a, c)) std::abort();

    custom_actions_core::BrowserList list;
    for (const auto& name : {a, b, c, b, a}) list.push_back({L"id", name, custom_actions_core::kNotRecognised});
    custom_actions_core::SortByDisplayName(list);
    for (size_t i = 1; i < list.size(); ++i)
        if (DisplayNameLess(list[i].displayName, list[i - 1].displayName)) std::abort();
    return 0;
}
