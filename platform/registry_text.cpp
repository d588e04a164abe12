#include "platform/registry_text.h"

namespace platform {

LONG ExactTextKey::Open(HKEY parent, const char* subkey, REGSAM access) {
    if (!wide_) return narrowKey_.Open(parent, subkey, access);
    const std::wstring wideSubkey = Widen(subkey);
    if (wideSubkey.empty()) return ERROR_INVALID_PARAMETER;
    return wideKey_.Open(parent, wideSubkey.c_str(), access);
}

LONG ExactTextKey::ReadText(const char* valueName, std::string& out, TextRule rule) const {
    if (!wide_) return narrowKey_.ReadText(valueName, out, rule);
    const std::wstring wideName = valueName ? Widen(valueName) : std::wstring();
    std::wstring text;
    const LONG status = wideKey_.ReadText(valueName ? wideName.c_str() : nullptr, text, rule);
    if (status != ERROR_SUCCESS) return status;
    std::string narrow;
    if (!NarrowExactly(text, narrow)) return ERROR_INVALID_DATA;
    out = std::move(narrow);
    return ERROR_SUCCESS;
}

}  // namespace platform
