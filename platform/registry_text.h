#pragma once
// A registry key whose texts are read as names the remover may act on:
// through the UTF-16 calls, and into the system code page only when they
// convert exactly, since the 8-bit calls turn characters the code page lacks
// into look-alikes (a fullwidth backslash into '\'). The Windows 95 family
// keeps the 8-bit calls.
#include <windows.h>

#include <string>

#include "platform/exact_text.h"
#include "platform/registry_key.h"

namespace platform {

class ExactTextKey {
public:
    // Opens the subkey (named in the code page) like RegistryKeyA::Open.
    LONG Open(HKEY parent, const char* subkey, REGSAM access);
    // Reads the value like RegistryKeyA::ReadText; ERROR_INVALID_DATA for a
    // text without an exact spelling in the code page. `out` changes only on
    // success.
    LONG ReadText(const char* valueName, std::string& out, TextRule rule = TextRule::AnyType) const;

private:
    bool wide_ = IsNtFamily();
    RegistryKeyA narrowKey_;
    RegistryKey wideKey_;
};

}  // namespace platform
