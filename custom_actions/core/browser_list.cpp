#include "custom_actions/core/browser_list.h"

#include <algorithm>

#include "platform/ascii_case.h"

namespace custom_actions_core {
namespace {

// Characters beyond the Basic Multilingual Plane count as their two UTF-16
// code units, as on Windows; wchar_t is 32-bit on other systems.
std::u16string CodeUnits(std::wstring_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (wchar_t c : text) {
        const auto value = static_cast<unsigned long>(c);
        if (value > 0xFFFF) {
            const unsigned long offset = value - 0x10000;
            units += static_cast<char16_t>(0xD800 + (offset >> 10));
            units += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        } else {
            units += static_cast<char16_t>(value);
        }
    }
    return units;
}

}  // namespace

bool DisplayNameLess(std::wstring_view a, std::wstring_view b) {
    const auto less = [](char16_t x, char16_t y) { return platform::AsciiLower(x) < platform::AsciiLower(y); };
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        // Windows: the text already is UTF-16, compared without allocating.
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [&](wchar_t x, wchar_t y) {
            return less(static_cast<char16_t>(x), static_cast<char16_t>(y));
        });
    }
    const std::u16string left = CodeUnits(a);
    const std::u16string right = CodeUnits(b);
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(), less);
}

void SortByDisplayName(BrowserList& list) {
    std::stable_sort(list.begin(), list.end(), [](const BrowserRecord& a, const BrowserRecord& b) {
        return DisplayNameLess(a.displayName, b.displayName);
    });
}

bool HoldsKind(const BrowserList& list, BrowserKind kind) {
    return std::any_of(list.begin(), list.end(), [kind](const BrowserRecord& r) { return r.kind == kind; });
}

std::vector<PropertyValue> BrowserListProperties(const BrowserList& sorted, BrowserKind hostKind) {
    const std::size_t count = std::min(sorted.size(), kMaxPublishedBrowsers);
    const std::wstring countText = std::to_wstring(count);
    std::vector<PropertyValue> properties;
    properties.push_back({L"BrwCount", countText});
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring position = std::to_wstring(i + 1);
        properties.push_back({L"BrwID" + position, sorted[i].clientId});
        properties.push_back({L"Brw" + position, sorted[i].displayName});
        // Numbered by the count, so the dialog variant for that many browsers finds it.
        if (sorted[i].kind == hostKind) properties.push_back({L"HostBrowser" + countText, position});
    }
    return properties;
}

}  // namespace custom_actions_core
