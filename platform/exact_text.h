#pragma once
// Names from the disk, the registry and the command line, taken into the
// system code page only when they convert exactly. The ANSI calls map
// characters the code page lacks to look-alikes (U+FF3C to '\', U+FF0F to
// '/'), so a name read that way can mean a path or an option it never was.
#include <string>
#include <string_view>

namespace platform {

// True on the NT family; the Windows 95 family has no UTF-16 file system
// calls and keeps the ANSI ones.
bool IsNtFamily();

// The text in the system code page, or false (and `narrow` empty) when some
// character has no exact counterpart there.
bool NarrowExactly(std::wstring_view wide, std::string& narrow);

// The system code page text in UTF-16; empty when it does not convert.
std::wstring Widen(std::string_view narrow);

}  // namespace platform
