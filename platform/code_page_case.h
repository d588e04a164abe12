#pragma once
// Upper case the way the system code page has it (CharUpperBuffA), so that
// non-ASCII letters of 8-bit names compare without regard to case too.
#include <windows.h>

#include <string>

namespace platform {

inline std::string CodePageUpper(std::string text) {
    if (!text.empty()) ::CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace platform
