#include "remover/core/rename_section.h"

namespace remover_core {

std::optional<std::string> AppendRenameEntry(std::string_view section, std::string_view shortPath) {
    if (shortPath.empty()) return std::nullopt;
    std::string entry = "NUL=";
    entry += shortPath;
    std::string result;
    if (!section.empty()) {
        // The last entry's own terminator is the section's last character;
        // the new text goes over it, so both form one string.
        std::string_view kept = section.substr(0, section.size() - 1);
        const size_t lastStart = kept.rfind('\0') == std::string_view::npos ? 0 : kept.rfind('\0') + 1;
        const std::string_view last = kept.substr(lastStart);
        const bool endsInLineBreak = last.size() >= 2 && last.substr(last.size() - 2) == "\r\n";
        result.assign(kept);
        if (!endsInLineBreak) result += "\r\n";
    }
    result += entry;
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

}  // namespace remover_core
