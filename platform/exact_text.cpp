#include "platform/exact_text.h"

#include <windows.h>

#include <climits>

namespace platform {

bool IsNtFamily() { return (::GetVersion() & 0x80000000u) == 0; }

bool NarrowExactly(std::wstring_view wide, std::string& narrow) {
    narrow.clear();
    if (wide.empty()) return true;
    if (wide.size() > INT_MAX) return false;
    const int length = static_cast<int>(wide.size());
    // A UTF-8 code page takes neither the best-fit flag nor the default
    // character; there only an unpaired surrogate fails to convert.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const used = utf8 ? nullptr : &usedDefault;
    const int size = ::WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, nullptr, used);
    if (size <= 0 || usedDefault) return false;
    std::string text(static_cast<size_t>(size), '\0');
    if (::WideCharToMultiByte(CP_ACP, flags, wide.data(), length, &text[0], size, nullptr, used) != size ||
        usedDefault)
        return false;
    narrow = std::move(text);
    return true;
}

std::wstring Widen(std::string_view narrow) {
    if (narrow.empty() || narrow.size() > INT_MAX) return {};
    const int length = static_cast<int>(narrow.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), length, nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<size_t>(size), L'\0');
    if (::MultiByteToWideChar(CP_ACP, 0, narrow.data(), length, &wide[0], size) != size) return {};
    return wide;
}

}  // namespace platform
