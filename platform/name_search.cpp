#include "platform/name_search.h"

#include "platform/exact_text.h"
#include "platform/unique_resource.h"

namespace platform {
namespace {

bool FindNamesAnsi(const std::string& pattern, std::vector<FoundName>& found) {
    WIN32_FIND_DATAA entry{};
    UniqueFind find(::FindFirstFileA(pattern.c_str(), &entry));
    if (!find) return false;
    do {
        found.push_back({entry.cFileName, entry.dwFileAttributes, true});
    } while (::FindNextFileA(find.get(), &entry));
    return true;
}

}  // namespace

bool FindNames(const std::string& pattern, std::vector<FoundName>& found) {
    found.clear();
    if (!IsNtFamily()) return FindNamesAnsi(pattern, found);
    const std::wstring widePattern = Widen(pattern);
    if (widePattern.empty()) return false;
    WIN32_FIND_DATAW entry{};
    UniqueFind find(::FindFirstFileW(widePattern.c_str(), &entry));
    if (!find) return false;
    do {
        FoundName name{{}, entry.dwFileAttributes, false};
        name.exact = NarrowExactly(entry.cFileName, name.name);
        found.push_back(std::move(name));
    } while (::FindNextFileW(find.get(), &entry));
    return true;
}

}  // namespace platform
