#pragma once
// The list of discovered browsers and the installer properties that offer it.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "custom_actions/core/browser_kind.h"

namespace custom_actions_core {

// Client ids of the browsers found outside the Start-menu registrations.
constexpr wchar_t kInternetExplorerClientId[] = L"{internet_explorer}";
constexpr wchar_t kChromeClientId[] = L"{google_chrome}";

// The installer's dialog offers at most this many browsers.
constexpr std::size_t kMaxPublishedBrowsers = 5;

struct BrowserRecord {
    std::wstring clientId;
    std::wstring displayName;
    BrowserKind kind = kNotRecognised;
};
using BrowserList = std::vector<BrowserRecord>;

// Display-name order: A to Z fold to a to z, every other character compares
// by its UTF-16 code unit.
bool DisplayNameLess(std::wstring_view a, std::wstring_view b);
void SortByDisplayName(BrowserList& list);

bool HoldsKind(const BrowserList& list, BrowserKind kind);

struct PropertyValue {
    std::wstring name;
    std::wstring value;
};

// "BrwCount", then "BrwID%d" and "Brw%d" per published position, with the
// host browser's position under "HostBrowser%d" numbered by the count.
std::vector<PropertyValue> BrowserListProperties(const BrowserList& sorted, BrowserKind hostKind);

}  // namespace custom_actions_core
