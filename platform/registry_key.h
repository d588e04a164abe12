#pragma once
// Owner of one open registry key. Every status is the platform's own, so
// callers can tell a missing value (2) from one too large (234) or of the
// wrong type (13). One implementation serves both character widths: the
// remover works in 8-bit texts of the system code page (RegistryKeyA), the
// custom actions in UTF-16 (RegistryKey).
#include <windows.h>

#include <string>
#include <vector>

#include "platform/unique_resource.h"

namespace platform {

// Keys that are changed or deleted under; keys only looked up use KEY_READ.
constexpr REGSAM kReadWriteAccess = KEY_READ | KEY_WRITE;

enum class TextRule {
    // Any value type; the text runs to the first zero. A text stored without
    // its terminator is taken at its data length when that and a terminator
    // fit the buffer, and fails with ERROR_MORE_DATA when they do not.
    AnyType,
    // REG_SZ or REG_EXPAND_SZ only (unexpanded), and the data must end with a
    // zero within its length (an empty value gives the empty string);
    // anything else fails with ERROR_INVALID_DATA.
    TerminatedString,
};

// One value as the enumeration finds it.
template <class Char>
struct RegistryValueEntry {
    std::basic_string<Char> name;
    DWORD type;
};

template <class Char>
class BasicRegistryKey {
public:
    using String = std::basic_string<Char>;
    // ReadText reads into a buffer of this many characters (MAX_PATH).
    static constexpr DWORD kTextCapacity = MAX_PATH;
    // The enumerations read names into buffers of these many characters,
    // terminator included: a subkey name never exceeds 255 characters; a value
    // name longer than MAX_PATH - 1 names no path that the programs handle.
    static constexpr DWORD kSubkeyNameCapacity = 256;
    static constexpr DWORD kValueNameCapacity = MAX_PATH;

    BasicRegistryKey() = default;
    BasicRegistryKey(BasicRegistryKey&&) noexcept = default;
    BasicRegistryKey& operator=(BasicRegistryKey&&) noexcept = default;
    BasicRegistryKey(const BasicRegistryKey&) = delete;
    BasicRegistryKey& operator=(const BasicRegistryKey&) = delete;

    // Creates or opens the subkey (with any missing keys on its path) for
    // reading and writing. What was held before is closed only on success.
    // ERROR_ACCESS_DENIED when an existing key on the path is a registry
    // link: a key that the system itself makes a link (the user's
    // "Software\Classes", the 32-bit view's "Wow6432Node\Classes") is opened
    // first and used as the parent.
    LONG CreateKey(HKEY parent, const Char* subkey);
    // Opens an existing subkey for reading and writing under the same rule:
    // every key that is changed or deleted under is opened this way.
    LONG OpenForChange(HKEY parent, const Char* subkey);
    // Opens an existing subkey; like CreateKey, a failure keeps the old key.
    // options: REG_OPTION_OPEN_LINK opens a link at the last name itself.
    LONG Open(HKEY parent, const Char* subkey, REGSAM access, DWORD options = 0);

    // Reads a REG_SZ or REG_EXPAND_SZ value (unexpanded). count: capacity in
    // characters on entry; characters stored, terminator included, on return,
    // 0 after any failure. A value that is not properly terminated gives 13.
    LONG ReadStringValue(const Char* valueName, Char* buffer, DWORD& count) const;
    // Reads one value as text into kTextCapacity characters under the rule;
    // `out` is left unchanged on any failure.
    LONG ReadText(const Char* valueName, String& out, TextRule rule = TextRule::AnyType) const;
    // Writes text as REG_SZ with its terminator. text must not be null.
    LONG WriteStringValue(const Char* valueName, const Char* text);
    // Deletes the named subkey with everything below it, deepest first. Stops
    // at the first subkey that cannot be deleted and returns its status; an
    // empty or null name is refused with ERROR_INVALID_PARAMETER. A registry
    // link is deleted as a link: its target stays.
    LONG DeleteKeyTree(const Char* subkey) const;
    // Deletes one value of the held key.
    LONG DeleteValue(const Char* valueName) const;

    // The subkey names and the values (name, type), in the registry's index
    // order, as they are when called: a caller may delete what it is given
    // while it walks the list. A name too long for its buffer above is skipped
    // and the names after it are still listed; the walk ends at the first
    // other failure. Empty on a key that is not held.
    std::vector<String> SubkeyNames() const;
    std::vector<RegistryValueEntry<Char>> Values() const;

    HKEY get() const { return key_.get(); }
    bool valid() const { return key_.valid(); }

private:
    UniqueKey key_;
};

using RegistryKey = BasicRegistryKey<wchar_t>;
using RegistryKeyA = BasicRegistryKey<char>;

extern template class BasicRegistryKey<char>;
extern template class BasicRegistryKey<wchar_t>;

}  // namespace platform
