#include "custom_actions/core/settings_text.h"

#include <optional>

#include "platform/ascii_case.h"

namespace custom_actions_core {
namespace {

constexpr std::size_t kNone = std::wstring_view::npos;

std::wstring_view Trim(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == kNone) return std::wstring_view();
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// The name of a "[name]" line; nothing for any other line.
std::optional<std::wstring_view> SectionName(std::wstring_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != L'[') return std::nullopt;
    const std::size_t close = line.find(L']');
    return Trim(line.substr(1, close == kNone ? kNone : close - 1));
}

bool SameName(std::wstring_view a, std::wstring_view b) { return platform::EqualsIgnoringAsciiCase(Trim(a), b); }

std::vector<std::wstring> SplitLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    while (!text.empty()) {
        const std::size_t end = text.find(L'\n');
        std::wstring_view line = text.substr(0, end);
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        lines.emplace_back(line);
        text.remove_prefix(end == kNone ? text.size() : end + 1);
    }
    return lines;
}

void SetEntry(std::vector<std::wstring>& lines, const SettingsEntry& entry) {
    std::wstring line(entry.key);
    line += L'=';
    line += entry.value;
    std::size_t insertAt = kNone;  // set while inside the section
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i])) {
            if (insertAt != kNone) break;
            if (SameName(*name, entry.section)) insertAt = i + 1;
            continue;
        }
        if (insertAt == kNone) continue;
        if (SameName(std::wstring_view(lines[i]).substr(0, lines[i].find(L'=')), entry.key)) {
            lines[i] = std::move(line);
            return;
        }
        if (!Trim(lines[i]).empty()) insertAt = i + 1;
    }
    if (insertAt != kNone) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
        return;
    }
    lines.push_back(L"[" + std::wstring(entry.section) + L"]");
    lines.push_back(std::move(line));
}

}  // namespace

std::wstring SetSettingsEntries(std::wstring_view text, const std::vector<SettingsEntry>& entries) {
    std::vector<std::wstring> lines = SplitLines(text);
    for (const SettingsEntry& entry : entries) SetEntry(lines, entry);
    std::wstring result;
    for (const std::wstring& line : lines) result += line + L"\r\n";
    return result;
}

}  // namespace custom_actions_core
