// The browser command lines: executable extraction, quoting into a fixed
// buffer and the command with its suffix never leave their bounds, and what
// they promise about the result holds.
#include <cstdlib>
#include <vector>

#include "custom_actions/core/browser_command.h"
#include "tests/fuzz/fuzz_input.h"

using namespace custom_actions_core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool internetExplorer = data[0] & 1;
    const size_t capacity = 1 + data[0] % 64;  // small buffers reach the edges
    const std::wstring text = fuzz::Wide(data + 1, size - 1);

    if (ExtractExecutable(text).size() > text.size()) std::abort();
    if (StripQuotes(text).size() > text.size()) std::abort();

    // QuotePath works in place: a guard zone after the buffer must stay intact.
    std::vector<wchar_t> buffer(capacity + 8, L'#');
    if (StoreText(text, buffer.data(), capacity)) {
        const std::wstring before(buffer.data());
        const bool quoted = QuotePath(buffer.data(), capacity);
        const std::wstring after(buffer.data());
        if (quoted && after.size() >= capacity) std::abort();
        if (!quoted && after != before) std::abort();
        if (quoted && !before.empty() && before[0] != L'"' && after != L"\"" + before + L"\"") std::abort();
    } else if (buffer[0] != L'\0') {
        std::abort();
    }
    for (size_t i = capacity; i < buffer.size(); ++i)
        if (buffer[i] != L'#') std::abort();

    const auto command = FormBrowserCommand(text, internetExplorer, capacity);
    if (command) {
        if (command->size() + 1 > capacity) std::abort();
        const std::wstring suffix = internetExplorer ? kInternetExplorerSuffix : kFileArgumentSuffix;
        if (command->size() < suffix.size() || command->compare(command->size() - suffix.size(), suffix.size(), suffix) != 0)
            std::abort();
    }

    BrowserSelection selection;
    selection.path = text;
    selection.internetExplorer = internetExplorer;
    selection.alternative = data[0] & 2;
    if (data[0] & 4) selection.internetExplorerCommand = ExtractExecutable(text);
    const auto properties = ComposeBrowserCommandProperties(selection, capacity);
    if (properties && properties->browserCmd.size() + 1 > capacity) std::abort();
    return 0;
}
