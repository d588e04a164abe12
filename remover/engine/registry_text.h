#pragma once
#include <windows.h>

#include <string>

namespace remover {

// Registry texts of the remover are read into 260-byte buffers (MAX_PATH).
constexpr DWORD kTextBufferBytes = MAX_PATH;

enum class TextRule {
    // Any value type; the text runs to the first zero byte. A string stored
    // without its terminator is taken at its data length when that and a
    // terminator fit the buffer, and counts as missing when they do not.
    AnyType,
    // REG_SZ or REG_EXPAND_SZ only, and the data must end with a zero byte
    // within its length (an empty value gives the empty string).
    TerminatedString,
};

// Reads one value of an open key as text. False when the value is missing,
// does not fit 260 bytes or breaks the rule; `out` is then left unchanged.
bool ReadRegistryText(HKEY key, const char* valueName, std::string& out,
                      TextRule rule = TextRule::AnyType);

}  // namespace remover
