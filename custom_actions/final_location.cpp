#include "custom_actions/final_location.h"

#include <windows.h>

#include "platform/final_path.h"

namespace custom_actions {

std::optional<std::wstring> FinalPath(const std::wstring& path, std::size_t capacity) {
    std::wstring finalPath;
    if (platform::QueryFinalPath(path, finalPath, capacity) != platform::FinalPathStatus::Read) return std::nullopt;
    return finalPath;
}

bool LiesInside(const std::wstring& finalFile, const std::wstring& finalFolder) {
    std::wstring prefix = finalFolder;
    if (prefix.empty() || prefix.back() != L'\\') prefix += L'\\';
    return finalFile.size() > prefix.size() &&
           ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, finalFile.c_str(), static_cast<int>(prefix.size()),
                            prefix.c_str(), static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

}  // namespace custom_actions
