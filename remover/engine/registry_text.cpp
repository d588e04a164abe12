#include "remover/engine/registry_text.h"

#include <cstring>

namespace remover {

bool ReadRegistryText(HKEY key, const char* valueName, std::string& out, TextRule rule) {
    char buffer[kTextBufferBytes] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof(buffer);
    if (::RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return false;
    if (size > sizeof(buffer)) return false;
    const bool terminated = size > 0 && buffer[size - 1] == '\0';
    if (rule == TextRule::TerminatedString) {
        if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
        if (size > 0 && !terminated) return false;
    } else if (!terminated && size >= sizeof(buffer)) {
        return false;  // no room left for the terminator the data lacks
    }
    // Never look past the bytes the registry returned.
    out.assign(buffer, ::strnlen(buffer, size));
    return true;
}

}  // namespace remover
