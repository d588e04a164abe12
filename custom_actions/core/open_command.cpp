#include "custom_actions/core/open_command.h"

namespace custom_actions_core {

std::wstring ComposeOpenCommand(std::wstring_view registered, std::wstring_view document) {
    std::wstring command;
    bool placed = false;
    for (std::size_t i = 0; i < registered.size(); ++i) {
        const wchar_t c = registered[i];
        if (c != L'%' || i + 1 == registered.size()) {
            command += c;
            continue;
        }
        const wchar_t code = registered[++i];
        if (code == L'1' || code == L'L' || code == L'l') {
            command += document;
            placed = true;
        } else if (code == L'%') {
            command += L'%';
        } else if (code != L'*' && (code < L'2' || code > L'9')) {
            command += c;  // not a parameter: kept as written
            command += code;
        }
    }
    if (!placed) command += L" \"" + std::wstring(document) + L"\"";
    return command;
}

}  // namespace custom_actions_core
