#pragma once
// Turns fuzzer bytes into the texts the parsers take.
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

inline std::string Narrow(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// Pairs of bytes as UTF-16 code units, as the Windows side would see them.
inline std::wstring Wide(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

// Splits the input at the first zero byte (or zero code unit) into two parts.
inline std::pair<std::string, std::string> SplitNarrow(const uint8_t* data, size_t size) {
    const std::string all = Narrow(data, size);
    const size_t cut = all.find('\0');
    if (cut == std::string::npos) return {all, std::string()};
    return {all.substr(0, cut), all.substr(cut + 1)};
}

inline std::pair<std::wstring, std::wstring> SplitWide(const uint8_t* data, size_t size) {
    const std::wstring all = Wide(data, size);
    const size_t cut = all.find(L'\0');
    if (cut == std::wstring::npos) return {all, std::wstring()};
    return {all.substr(0, cut), all.substr(cut + 1)};
}

}  // namespace fuzz
