#include "custom_actions/core/browser_command.h"

#include <algorithm>
#include <vector>

#include "platform/ascii_case.h"

namespace custom_actions_core {
namespace {

const wchar_t* Flag(bool value) { return value ? L"1" : L"0"; }

}  // namespace

std::size_t BoundedLength(const wchar_t* buffer, std::size_t capacity) {
    std::size_t length = 0;
    while (length < capacity && buffer[length] != L'\0') ++length;
    return length;
}

bool StoreText(std::wstring_view text, wchar_t* buffer, std::size_t capacity) {
    if (capacity == 0) return false;
    if (text.size() >= capacity) {
        buffer[0] = L'\0';
        return false;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'\0';
    return true;
}

std::wstring ExtractExecutable(std::wstring_view command) {
    if (!command.empty() && command.front() == L'"') {
        const std::wstring_view rest = command.substr(1);
        return std::wstring(rest.substr(0, rest.find(L'"')));
    }
    std::wstring lower(command);
    std::transform(lower.begin(), lower.end(), lower.begin(), platform::AsciiLower<wchar_t>);
    const std::size_t exe = lower.rfind(L".exe");
    if (exe == std::wstring::npos) return std::wstring(command);
    return std::wstring(command.substr(0, exe + 4));
}

std::wstring_view StripQuotes(std::wstring_view text) {
    if (text.empty() || text.front() != L'"') return text;
    const std::size_t closing = text.find(L'"', 1);
    if (closing == std::wstring_view::npos) return text;
    return text.substr(1, closing - 1);
}

bool QuotePath(wchar_t* buffer, std::size_t capacity) {
    const std::size_t length = BoundedLength(buffer, capacity);
    if (length == capacity) return false;  // not a terminated text
    if (buffer[0] == L'"') return true;
    if (length + 3 > capacity) return false;
    std::copy_backward(buffer, buffer + length, buffer + length + 1);
    buffer[0] = L'"';
    buffer[length + 1] = L'"';
    buffer[length + 2] = L'\0';
    return true;
}

std::optional<std::wstring> FormBrowserCommand(std::wstring_view path, bool internetExplorer,
                                               std::size_t capacity) {
    std::vector<wchar_t> buffer(capacity);
    if (!StoreText(path, buffer.data(), capacity) || !QuotePath(buffer.data(), capacity)) return std::nullopt;
    std::wstring command(buffer.data());
    command += internetExplorer ? kInternetExplorerSuffix : kFileArgumentSuffix;
    if (command.size() >= capacity) return std::nullopt;
    return command;
}

std::optional<BrowserCommandProperties> ComposeBrowserCommandProperties(const BrowserSelection& selection,
                                                                        std::size_t capacity) {
    BrowserCommandProperties properties;
    properties.browserPath = selection.path;
    properties.altBrowserIe = L"0";
    properties.altBrowserCmd = L"0";
    properties.altBrowser = L"0";

    std::optional<std::wstring> own = FormBrowserCommand(selection.path, selection.internetExplorer, capacity);
    if (!selection.alternative) {
        if (!own) return std::nullopt;
        properties.browserIe = Flag(selection.internetExplorer);
        properties.browserCmd = *own;
        return properties;
    }

    // An alternative command that does not fit is no alternative at all.
    if (own) {
        properties.altBrowserIe = Flag(selection.internetExplorer);
        properties.altBrowserCmd = *own;
        properties.altBrowser = L"1";
    }
    std::optional<std::wstring> internetExplorer;
    if (selection.internetExplorerCommand)
        internetExplorer = FormBrowserCommand(*selection.internetExplorerCommand, true, capacity);
    if (internetExplorer) {
        properties.browserIe = L"1";
        properties.browserCmd = *internetExplorer;
        // Without an alternative, every property names Internet Explorer.
        if (!own) properties.browserPath = std::wstring(StripQuotes(*selection.internetExplorerCommand));
    } else if (own) {
        // No Internet Explorer to fall back on: the alternative browser stays
        // the main one, with its command formed once.
        properties.browserIe = properties.altBrowserIe;
        properties.browserCmd = *own;
    } else {
        return std::nullopt;
    }
    return properties;
}

}  // namespace custom_actions_core
