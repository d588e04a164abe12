#pragma once
// Owner of one open registry key of the custom actions; every status is the
// platform's own, so callers can tell a missing value (2) from one too large
// (234) or of the wrong type (13).
#include <windows.h>

#include "platform/unique_resource.h"

// Keys that are changed or deleted under; keys only looked up use KEY_READ.
constexpr REGSAM kReadWriteAccess = KEY_READ | KEY_WRITE;

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(RegistryKey&&) noexcept = default;
    RegistryKey& operator=(RegistryKey&&) noexcept = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Creates or opens the subkey (with any missing keys on its path) for
    // reading and writing. What was held before is closed only on success.
    LONG CreateKey(HKEY parent, const wchar_t* subkey);
    // Opens an existing subkey; like CreateKey, a failure keeps the old key.
    // options: REG_OPTION_OPEN_LINK opens a link at the last name itself.
    LONG Open(HKEY parent, const wchar_t* subkey, REGSAM access, DWORD options = 0);

    // Reads a REG_SZ or REG_EXPAND_SZ value (unexpanded). count: capacity in
    // characters on entry; characters stored, terminator included, on return,
    // 0 after any failure. A value that is not properly terminated gives 13.
    LONG ReadStringValue(const wchar_t* valueName, wchar_t* buffer, DWORD& count);
    // Writes text as REG_SZ with its terminator. text must not be null.
    LONG WriteStringValue(const wchar_t* valueName, const wchar_t* text);
    // Deletes the named subkey with everything below it, deepest first; a
    // registry link is deleted as a link, its target stays.
    LONG DeleteKeyTree(const wchar_t* subkey);

    HKEY get() const { return key_.get(); }
    bool valid() const { return key_.valid(); }

private:
    platform::UniqueKey key_;
};
