#pragma once
// The string walk behind the remover's long-path expansion: the components of
// a path are resolved from the last to the first, each by looking up the whole
// prefix that ends with it. The lookup itself is the caller's (it reads the
// directory on disk).
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace remover_core {

// Longest path the expansion accepts, in characters.
constexpr size_t kLongPathLimit = 260;

// `longNameOf(prefix)` gives the long name of the prefix's last component, or
// nullopt when it has none that may be used. nullopt for a path of more than
// kLongPathLimit characters or with a component that has no usable name.
// Every slash comes back as a backslash, the one separator of the result. The
// text in front of the first separator stays as written; a lone leading
// separator ends the walk.
std::optional<std::string> WalkLongPath(std::string_view path,
                                        const std::function<std::optional<std::string>(const std::string&)>& longNameOf);

// The text after the path's last backslash (all of it when it has none).
std::string_view LastPathComponent(std::string_view path);

// True when a component holds a character that the directory search reads as a
// wildcard; such a name must not be looked up, or it would name another file.
bool HasSearchWildcard(std::string_view component);

}  // namespace remover_core
