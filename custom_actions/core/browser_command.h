#pragma once
// Command lines of the browser actions: the executable inside a registered
// command, the quoted command with its file suffix, and the six properties
// that name the main and the alternative browser.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace custom_actions_core {

// Buffers of the browser and launch actions, in characters with the terminator.
constexpr std::size_t kBrowserCommandCapacity = 520;

// Internet Explorer must not open its home page beside the file.
constexpr wchar_t kInternetExplorerSuffix[] = L" -nohome";
constexpr wchar_t kFileArgumentSuffix[] = L" \"%1\"";

// Length of the terminated text in buffer; capacity when no terminator lies
// within it.
std::size_t BoundedLength(const wchar_t* buffer, std::size_t capacity);

// Copies text with its terminator into buffer. A text that does not fit is not
// stored: the buffer becomes empty and the result is false.
bool StoreText(std::wstring_view text, wchar_t* buffer, std::size_t capacity);

// The executable of a registered open command: inside the leading quotes (to
// the end when the closing quote is missing), or up to the last ".EXE" in any
// case, or the whole text.
std::wstring ExtractExecutable(std::wstring_view command);

// The text between a leading quote and the next one; the text itself when it
// is not quoted that way.
std::wstring_view StripQuotes(std::wstring_view text);

// Encloses the buffer's text in double quotes unless it already begins with
// one. False, with the buffer unchanged, when the quoted text would not fit.
bool QuotePath(wchar_t* buffer, std::size_t capacity);

// The quoted executable (or command already beginning with a quote) followed
// by the Internet Explorer or file-argument suffix; nothing when that does not
// fit the capacity with its terminator.
std::optional<std::wstring> FormBrowserCommand(std::wstring_view path, bool internetExplorer,
                                               std::size_t capacity = kBrowserCommandCapacity);

// What is known about the selected browser when its command is published.
struct BrowserSelection {
    std::wstring path;          // unquoted executable
    bool internetExplorer = false;
    // Per-machine installation of a browser below the user's own folders:
    // other users cannot start it, so Internet Explorer becomes the main one.
    bool alternative = false;
    // Internet Explorer's registered command, asked for in the alternative case.
    std::optional<std::wstring> internetExplorerCommand;
};

struct BrowserCommandProperties {
    std::wstring browserPath;    // BROWSER_PATH
    std::wstring altBrowserIe;   // ALT_BROWSER_IE
    std::wstring altBrowserCmd;  // ALT_BROWSER_CMD
    std::wstring browserIe;      // BROWSER_IE
    std::wstring browserCmd;     // BROWSER_CMD
    std::wstring altBrowser;     // ALT_BROWSER
};

// The six values, or nothing when no main command can be formed within the
// capacity. In the alternative case without Internet Explorer the alternative
// browser's command is the main one too, formed once.
std::optional<BrowserCommandProperties> ComposeBrowserCommandProperties(
    const BrowserSelection& selection, std::size_t capacity = kBrowserCommandCapacity);

}  // namespace custom_actions_core
