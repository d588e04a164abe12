#pragma once
// How one path is spelled on this machine: as written, in its long form, in
// its short form and as the file system resolves it (its final path). The
// ground floor of the engine: it judges nothing and calls nothing above it.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/thread_scope.h"

namespace remover {

// The path with every component in its long form as stored on disk, or
// nullopt for a path of more than 260 characters or one whose long form the
// code page cannot spell exactly.
std::optional<std::string> ExpandToLongPath(const std::string& path);

// The long name of the path's last component, or the text after its last
// backslash when nothing is found; nullopt when the name found has no exact
// spelling in the code page.
std::optional<std::string> FindLongName(const std::string& path);

// Every spelling of an existing path: as written, long form, short form and
// the final path; only the written one for a path that does not exist.
std::vector<std::string> PathSpellings(const std::string& path);
// The same, upper-cased the way the code page does, for comparisons.
std::vector<std::string> UpperSpellings(const std::string& path);

// While one lives on a thread, PathSpellings there answers a path it has
// spelled before from memory. Gathering the machine's folders names the same
// few folders a hundred times (Program Files by several values of both
// registry views), and each spelling costs a dozen file-system calls; the
// gathering is one snapshot anyway.
struct SpelledPaths {
    std::map<std::string, std::vector<std::string>> spelled;
};
using SpellingMemo = platform::ThreadScope<SpelledPaths>;

}  // namespace remover
