#include "remover/core/shared_dll_name.h"

#include "platform/ascii_case.h"

namespace remover_core {

bool IsInsideFolder(std::string_view name, std::string_view folder) {
    if (folder.empty() || name.size() <= folder.size() || name[folder.size()] != '\\') return false;
    return platform::EqualsIgnoringAsciiCase(name.substr(0, folder.size()), folder);
}

}  // namespace remover_core
