#include "remover/core/long_path_walk.h"

namespace remover_core {

std::optional<std::string> WalkLongPath(std::string_view path,
                                        const std::function<std::optional<std::string>(const std::string&)>& longNameOf) {
    if (path.size() > kLongPathLimit) return std::nullopt;
    // Windows takes the slash as a separator too: split at it like at the backslash.
    std::string head(path);
    for (char& c : head)
        if (c == '/') c = '\\';
    std::string tail;
    while (head != "\\") {
        const size_t slash = head.rfind('\\');
        if (slash == std::string::npos) break;
        const std::optional<std::string> name = longNameOf(head);
        if (!name) return std::nullopt;
        head.resize(slash);
        tail = "\\" + *name + tail;
    }
    return head + tail;
}

std::string_view LastPathComponent(std::string_view path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool HasSearchWildcard(std::string_view component) {
    // '<', '>' and '"' are the DOS wildcards that the search also honours.
    return component.find_first_of("*?<>\"") != std::string_view::npos;
}

}  // namespace remover_core
