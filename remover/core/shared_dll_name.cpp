#include "remover/core/shared_dll_name.h"

namespace remover_core {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool IsInsideFolder(std::string_view name, std::string_view folder) {
    if (folder.empty() || name.size() <= folder.size() || name[folder.size()] != '\\') return false;
    for (size_t i = 0; i < folder.size(); ++i)
        if (LowerAscii(name[i]) != LowerAscii(folder[i])) return false;
    return true;
}

}  // namespace remover_core
