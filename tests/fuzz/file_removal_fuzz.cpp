// The remover's file-removal texts: the folder refusal, the wininit.ini
// section join and the long-path walk.
#include <cstdlib>
#include <optional>
#include <string>

#include "remover/core/folder_refusal.h"
#include "remover/core/long_path_walk.h"
#include "remover/core/rename_section.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto [first, second] = fuzz::SplitNarrow(data, size);
    using remover_core::FolderShape;

    // A folder that may be walked names something below a root, and covers itself.
    const bool walkable = remover_core::ClassifyFolderPath(first) == FolderShape::Walkable;
    if (remover_core::CoversFolder(first, first) != walkable) std::abort();
    if (remover_core::IsDeletableFolder(first, {}) != walkable) std::abort();
    if (remover_core::CoversFolder(first, second) && remover_core::IsDeletableFolder(first, {second})) std::abort();
    if (walkable && first.find_first_of("*?") != std::string::npos) std::abort();

    // The join keeps every former byte but the last entry's terminator.
    const std::string section = second.empty() ? second : second + '\0';
    const auto joined = remover_core::AppendRenameEntry(section, first);
    if (first.empty() != !joined) std::abort();
    if (joined) {
        const size_t kept = section.empty() ? 0 : section.size() - 1;
        if (joined->compare(0, kept, section, 0, kept) != 0) std::abort();
        if (joined->size() < kept + 6 + first.size() || joined->substr(joined->size() - 2) != std::string(2, '\0'))
            std::abort();
        if (joined->compare(joined->size() - 2 - first.size() - 4, 4, "NUL=") != 0) std::abort();
    }

    // A lookup that finds every name as it is leaves every path of up to 260
    // characters as written, but for its slashes, which become backslashes.
    const auto walked = remover_core::WalkLongPath(first, [](const std::string& prefix) {
        return std::optional<std::string>(remover_core::LastPathComponent(prefix));
    });
    if ((first.size() <= remover_core::kLongPathLimit) != walked.has_value()) std::abort();
    std::string separated = first;
    for (char& c : separated)
        if (c == '/') c = '\\';
    if (walked && *walked != separated) std::abort();
    return 0;
}
