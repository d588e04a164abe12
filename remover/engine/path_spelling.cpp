#include "remover/engine/path_spelling.h"

#include <windows.h>

#include <utility>

#include "platform/code_page_case.h"
#include "platform/name_search.h"
#include "remover/core/long_path_walk.h"
#include "remover/engine/file_link.h"

namespace remover {

std::optional<std::string> ExpandToLongPath(const std::string& path) {
    return remover_core::WalkLongPath(path, FindLongName);
}

std::optional<std::string> FindLongName(const std::string& path) {
    const std::string_view written = remover_core::LastPathComponent(path);
    // A wildcard would let the search answer with some other file's name.
    if (remover_core::HasSearchWildcard(written)) return std::string(written);
    std::vector<platform::FoundName> found;
    if (!platform::FindNames(path, found) || found.empty()) return std::string(written);
    if (!found.front().exact) return std::nullopt;
    return found.front().name;
}

namespace {

std::vector<std::string> SpellNow(const std::string& path) {
    std::vector<std::string> spellings{path};
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return spellings;
    const std::optional<std::string> longForm = ExpandToLongPath(path);
    // A path too long to handle keeps a spelling no rule accepts.
    spellings.push_back(longForm.value_or(std::string()));
    char shortForm[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameA(path.c_str(), shortForm, MAX_PATH);
    if (length > 0 && length < MAX_PATH) spellings.push_back(shortForm);
    std::string finalPath;
    if (ReadFinalPath(path, finalPath)) spellings.push_back(finalPath);
    return spellings;
}

}  // namespace

std::vector<std::string> PathSpellings(const std::string& path) {
    SpelledPaths* const memo = SpellingMemo::Active();
    if (!memo) return SpellNow(path);
    const auto known = memo->spelled.find(path);
    if (known != memo->spelled.end()) return known->second;
    return memo->spelled.emplace(path, SpellNow(path)).first->second;
}

std::vector<std::string> UpperSpellings(const std::string& path) {
    std::vector<std::string> spellings = PathSpellings(path);
    // Case folded the way the code page does, so that non-ASCII names compare too.
    for (std::string& spelling : spellings) spelling = platform::CodePageUpper(std::move(spelling));
    return spellings;
}

}  // namespace remover
