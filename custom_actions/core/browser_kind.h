#pragma once
// Which browser family an executable belongs to, decided from its version
// texts or its file name, and whether that browser suits the installation.
#include <cstdint>
#include <string>
#include <string_view>

namespace custom_actions_core {

// Codes published to nobody but compared everywhere: 0 means not recognised.
enum BrowserKind : int {
    kNotRecognised = 0,
    kInternetExplorer = 1,
    kFirefox = 2,
    kOpera = 3,
    kChrome = 4,
    kSafari = 5,
};

// The first family (in code order) whose keyword occurs in an upper-cased
// version text; kNotRecognised when none does.
BrowserKind KindFromVersionText(std::wstring_view upperText);

// The family whose executable name equals the path's last component (A to Z
// folded); a path without a backslash matches nothing.
BrowserKind KindFromExecutableName(std::wstring_view path);

// What is known about the file when the family's condition is applied.
struct KindEvidence {
    bool perMachine = false;
    bool hasFixedBlock = false;
    unsigned productMajor = 0;       // high word of the product version
    bool underUserAppData = false;   // consulted for Chrome in a per-user installation only
};

// The kind itself when its condition holds, else kNotRecognised.
BrowserKind ApplyKindCondition(BrowserKind kind, const KindEvidence& evidence);

// Chrome is the one family whose condition depends on where the file lies.
bool KindNeedsLocation(BrowserKind kind, bool perMachine);

// "\StringFileInfo\llllcccc\Entry" with lower-case hexadecimal; empty when the
// result would not fit 64 characters with its terminator.
std::wstring VersionStringPath(std::uint16_t language, std::uint16_t codePage, std::wstring_view entry);

}  // namespace custom_actions_core
