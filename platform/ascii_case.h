#pragma once
// The one ASCII case fold of the project: only A to Z change, every other code
// unit (accented letters included) stays as it is. Windows-free, so the text
// logic that is also built natively uses it too.
#include <cstddef>
#include <string_view>

namespace platform {

template <class Char>
constexpr Char AsciiLower(Char c) noexcept {
    return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

// Same length and the same code units after folding.
template <class Char>
constexpr bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace platform
