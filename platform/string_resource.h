#pragma once
#include <windows.h>
#include <string>

namespace platform {

// Loads an 8-bit string resource: first into 256 characters, and again into a
// larger buffer while the text fills the buffer. Empty when it is missing.
std::string LoadStringResourceA(HINSTANCE module, UINT id);

// The module whose resources the program loads; the program's own by default.
HINSTANCE ResourceModule() noexcept;
void SetResourceModule(HINSTANCE module) noexcept;

}  // namespace platform
