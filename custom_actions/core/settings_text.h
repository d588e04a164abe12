#pragma once
// An ini-style settings text changed in memory, as the profile functions
// would change the file, for a caller that writes the file through a handle
// it already holds.
#include <string>
#include <string_view>
#include <vector>

namespace custom_actions_core {

struct SettingsEntry {
    std::wstring_view section;
    std::wstring_view key;
    std::wstring_view value;
};

// The text with each entry set in turn: the key's line in the first section
// of that name is replaced (names compared ignoring ASCII case and outer
// blanks), a missing key goes after the section's last non-empty line, and a
// missing section is added at the end. Lines end in CR LF.
std::wstring SetSettingsEntries(std::wstring_view text, const std::vector<SettingsEntry>& entries);

}  // namespace custom_actions_core
