#pragma once
// Directory searches that take a name only when it converts exactly into the
// system code page: the ANSI search would hand back look-alikes ("sub\..\x"
// for a name that holds U+FF3C) that name another place.
#include <windows.h>

#include <string>
#include <vector>

namespace platform {

struct FoundName {
    std::string name;  // empty when not exact
    DWORD attributes;
    bool exact;  // false: the code page has no exact spelling of the name
};

// Every entry the pattern matches, "." and ".." included, in the order the
// search gives them; false when the search fails. UTF-16 search on the NT
// family, the ANSI one on the Windows 95 family.
bool FindNames(const std::string& pattern, std::vector<FoundName>& found);

}  // namespace platform
