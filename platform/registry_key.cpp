#include "platform/registry_key.h"

#include <cstdlib>

#include "platform/registry_link.h"

namespace platform {
namespace {

// The registry calls of each character width, chosen by overloading.
LONG CreateSubkey(HKEY parent, const char* subkey, HKEY* key, DWORD* disposition) {
    return ::RegCreateKeyExA(parent, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWriteAccess, nullptr, key,
                             disposition);
}
LONG CreateSubkey(HKEY parent, const wchar_t* subkey, HKEY* key, DWORD* disposition) {
    return ::RegCreateKeyExW(parent, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWriteAccess, nullptr, key,
                             disposition);
}
LONG OpenSubkey(HKEY parent, const char* subkey, DWORD options, REGSAM access, HKEY* key) {
    return ::RegOpenKeyExA(parent, subkey, options, access, key);
}
LONG OpenSubkey(HKEY parent, const wchar_t* subkey, DWORD options, REGSAM access, HKEY* key) {
    return ::RegOpenKeyExW(parent, subkey, options, access, key);
}
LONG QueryValue(HKEY key, const char* name, DWORD* type, void* data, DWORD* bytes) {
    return ::RegQueryValueExA(key, name, nullptr, type, static_cast<BYTE*>(data), bytes);
}
LONG QueryValue(HKEY key, const wchar_t* name, DWORD* type, void* data, DWORD* bytes) {
    return ::RegQueryValueExW(key, name, nullptr, type, static_cast<BYTE*>(data), bytes);
}
LONG SetString(HKEY key, const char* name, const char* text, DWORD bytes) {
    return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}
LONG SetString(HKEY key, const wchar_t* name, const wchar_t* text, DWORD bytes) {
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}
LONG EnumSubkey(HKEY key, DWORD index, char* name, DWORD* length) {
    return ::RegEnumKeyExA(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
}
LONG EnumSubkey(HKEY key, DWORD index, wchar_t* name, DWORD* length) {
    return ::RegEnumKeyExW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
}
LONG EnumValue(HKEY key, DWORD index, char* name, DWORD* length, DWORD* type) {
    return ::RegEnumValueA(key, index, name, length, nullptr, type, nullptr, nullptr);
}
LONG EnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type) {
    return ::RegEnumValueW(key, index, name, length, nullptr, type, nullptr, nullptr);
}
LONG DeleteNamedValue(HKEY key, const char* name) { return ::RegDeleteValueA(key, name); }
LONG DeleteNamedValue(HKEY key, const wchar_t* name) { return ::RegDeleteValueW(key, name); }
LONG DeleteSubkey(HKEY key, const char* name) { return ::RegDeleteKeyA(key, name); }
LONG DeleteSubkey(HKEY key, const wchar_t* name) { return ::RegDeleteKeyW(key, name); }

template <class Char>
DWORD TextLength(const Char* text, DWORD limit) {
    DWORD length = 0;
    while (length < limit && text[length] != Char()) ++length;
    return length;
}

// ERROR_SUCCESS when `bytes` of `buffer`, of the given type, follow the rule.
template <class Char>
LONG CheckText(TextRule rule, DWORD type, const Char* buffer, DWORD bytes, DWORD capacity) {
    const DWORD chars = bytes / sizeof(Char);
    const bool terminated = chars > 0 && bytes % sizeof(Char) == 0 && buffer[chars - 1] == Char();
    if (rule == TextRule::TerminatedString) {
        if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
        // The registry does not promise a terminator; a value without one is
        // refused rather than terminated on the caller's behalf.
        if (bytes != 0 && !terminated) return ERROR_INVALID_DATA;
    } else if (!terminated && chars >= capacity) {
        return ERROR_MORE_DATA;  // no room left for the terminator the data lacks
    }
    return ERROR_SUCCESS;
}

}  // namespace

namespace {

enum class Missing { kFail, kCreate };

// Keys passed on the way are only asked whether they are links, and given
// subkeys where these are missing.
constexpr REGSAM WayAccess(Missing missing) {
    return missing == Missing::kCreate ? KEY_QUERY_VALUE | KEY_CREATE_SUB_KEY : KEY_QUERY_VALUE;
}

// Opens subkey one name at a time, each below the key held before it and as
// itself (a link is opened, not followed), so that what is checked is what is
// written under. Another process of the user may have made a link in its own
// hive: writes and deletions through it would land in a key of that process's
// choosing, with this process's rights. ERROR_ACCESS_DENIED when a key on the
// way is a link, or appears between the look and the creation. `out` is
// replaced only on success.
template <class Char>
LONG OpenWithoutLinks(HKEY parent, const Char* subkey, Missing missing, UniqueKey& out) {
    static constexpr Char kNoName[] = {Char()};
    UniqueKey current;
    std::basic_string<Char> name;
    for (const Char* c = subkey ? subkey : kNoName;; ++c) {
        const bool last = *c == Char();
        if (!last && *c != Char('\\')) {
            name.push_back(*c);
            continue;
        }
        if (!name.empty() || (last && !current.valid())) {
            const HKEY base = current.valid() ? current.get() : parent;
            const REGSAM access = last ? kReadWriteAccess : WayAccess(missing);
            UniqueKey next;
            LONG status = OpenSubkey(base, name.c_str(), name.empty() ? 0 : kOpenLinkOption, access, next.put());
            if (status == ERROR_SUCCESS && IsRegistryLink(next.get())) return ERROR_ACCESS_DENIED;
            if (status == ERROR_FILE_NOT_FOUND && missing == Missing::kCreate) {
                DWORD disposition = 0;
                status = CreateSubkey(base, name.c_str(), next.put(), &disposition);
                if (status == ERROR_SUCCESS && disposition != REG_CREATED_NEW_KEY) return ERROR_ACCESS_DENIED;
            }
            if (status != ERROR_SUCCESS) return status;
            current = std::move(next);
            name.clear();
        }
        if (last) break;
    }
    out = std::move(current);
    return ERROR_SUCCESS;
}

}  // namespace

template <class Char>
LONG BasicRegistryKey<Char>::CreateKey(HKEY parent, const Char* subkey) {
    return OpenWithoutLinks(parent, subkey, Missing::kCreate, key_);
}

template <class Char>
LONG BasicRegistryKey<Char>::OpenForChange(HKEY parent, const Char* subkey) {
    return OpenWithoutLinks(parent, subkey, Missing::kFail, key_);
}

template <class Char>
LONG BasicRegistryKey<Char>::Open(HKEY parent, const Char* subkey, REGSAM access, DWORD options) {
    UniqueKey opened;
    const LONG status = OpenSubkey(parent, subkey, options, access, opened.put());
    if (status == ERROR_SUCCESS) key_ = std::move(opened);
    return status;
}

template <class Char>
LONG BasicRegistryKey<Char>::ReadStringValue(const Char* valueName, Char* buffer, DWORD& count) const {
    const DWORD capacity = count;
    count = 0;
    // Without a buffer the query would report the size and succeed.
    if (!buffer || capacity == 0) return ERROR_INVALID_PARAMETER;
    DWORD type = REG_NONE;
    DWORD bytes = capacity * sizeof(Char);
    LONG status = QueryValue(key_.get(), valueName, &type, buffer, &bytes);
    if (status == ERROR_SUCCESS) status = CheckText(TextRule::TerminatedString, type, buffer, bytes, capacity);
    // After any failure, and for a value of no bytes at all, the caller sees
    // the empty string rather than whatever the query left behind.
    if (status != ERROR_SUCCESS || bytes == 0) buffer[0] = Char();
    if (status == ERROR_SUCCESS) count = bytes / sizeof(Char);
    return status;
}

template <class Char>
LONG BasicRegistryKey<Char>::ReadText(const Char* valueName, String& out, TextRule rule) const {
    Char buffer[kTextCapacity] = {};
    DWORD type = REG_NONE;
    DWORD bytes = sizeof(buffer);
    LONG status = QueryValue(key_.get(), valueName, &type, buffer, &bytes);
    if (status != ERROR_SUCCESS) return status;
    if (bytes > sizeof(buffer)) return ERROR_MORE_DATA;
    status = CheckText(rule, type, buffer, bytes, kTextCapacity);
    if (status != ERROR_SUCCESS) return status;
    // Never look past the data the registry returned.
    out.assign(buffer, TextLength(buffer, bytes / sizeof(Char)));
    return ERROR_SUCCESS;
}

template <class Char>
LONG BasicRegistryKey<Char>::WriteStringValue(const Char* valueName, const Char* text) {
    if (!text) std::abort();  // a programming error: never write a made-up value
    const DWORD bytes = static_cast<DWORD>((std::char_traits<Char>::length(text) + 1) * sizeof(Char));
    return SetString(key_.get(), valueName, text, bytes);
}

template <class Char>
LONG BasicRegistryKey<Char>::DeleteKeyTree(const Char* subkey) const {
    // An empty name would open the held key itself and empty it.
    if (!subkey || !*subkey) return ERROR_INVALID_PARAMETER;
    BasicRegistryKey target;
    // Held with DELETE, the emptied key is deleted through its handle: a link
    // made at its name in the meantime cannot redirect the deletion.
    LONG status = target.Open(key_.get(), subkey, kReadWriteAccess | DELETE, kOpenLinkOption);
    const bool held = status == ERROR_SUCCESS;
    if (status == ERROR_ACCESS_DENIED) status = target.Open(key_.get(), subkey, kReadWriteAccess, kOpenLinkOption);
    if (status != ERROR_SUCCESS) return status;
    if (IsRegistryLink(target.get())) {
        if (held) return DeleteHeldKey(target.get());
        return ERROR_ACCESS_DENIED;  // a link that may not be deleted stays, its target untouched
    }
    // Each deleted child shifts the rest down, so index 0 is asked again.
    for (;;) {
        Char child[kSubkeyNameCapacity];
        DWORD length = kSubkeyNameCapacity;
        if (EnumSubkey(target.get(), 0, child, &length) != ERROR_SUCCESS) break;
        const LONG childStatus = target.DeleteKeyTree(child);
        if (childStatus != ERROR_SUCCESS) return childStatus;
    }
    if (held) {
        const LONG deleted = DeleteHeldKey(target.get());
        if (deleted != ERROR_CALL_NOT_IMPLEMENTED) return deleted;
    }
    target = BasicRegistryKey();  // the subkey is closed before it is deleted by name
    return DeleteSubkey(key_.get(), subkey);
}

template <class Char>
LONG BasicRegistryKey<Char>::DeleteValue(const Char* valueName) const {
    return DeleteNamedValue(key_.get(), valueName);
}

namespace {

// Walks the indices from 0 and hands each name (with its type) to keep; a name
// too long for the buffer is passed over, and the first other failure (no
// more items) ends the walk.
template <class Char, DWORD kCapacity, class Enumerate, class Keep>
void WalkNames(Enumerate enumerate, Keep keep) {
    for (DWORD index = 0;; ++index) {
        Char name[kCapacity];
        DWORD length = kCapacity;
        DWORD type = REG_NONE;
        const LONG status = enumerate(index, name, &length, &type);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return;
        keep(std::basic_string<Char>(name, length), type);
    }
}

}  // namespace

template <class Char>
std::vector<std::basic_string<Char>> BasicRegistryKey<Char>::SubkeyNames() const {
    std::vector<String> names;
    if (!key_.valid()) return names;
    const HKEY key = key_.get();
    WalkNames<Char, kSubkeyNameCapacity>(
        [key](DWORD index, Char* name, DWORD* length, DWORD*) { return EnumSubkey(key, index, name, length); },
        [&names](String name, DWORD) { names.push_back(std::move(name)); });
    return names;
}

template <class Char>
std::vector<RegistryValueEntry<Char>> BasicRegistryKey<Char>::Values() const {
    std::vector<RegistryValueEntry<Char>> values;
    if (!key_.valid()) return values;
    const HKEY key = key_.get();
    WalkNames<Char, kValueNameCapacity>(
        [key](DWORD index, Char* name, DWORD* length, DWORD* type) {
            return EnumValue(key, index, name, length, type);
        },
        [&values](String name, DWORD type) { values.push_back({std::move(name), type}); });
    return values;
}

template class BasicRegistryKey<char>;
template class BasicRegistryKey<wchar_t>;

}  // namespace platform
