#include "remover/core/final_path.h"

namespace remover_core {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string PlainFinalPath(std::string_view finalPath) {
    constexpr std::string_view kUnc = "\\\\?\\UNC\\";
    constexpr std::string_view kLocal = "\\\\?\\";
    if (finalPath.substr(0, kUnc.size()) == kUnc) return "\\\\" + std::string(finalPath.substr(kUnc.size()));
    if (finalPath.substr(0, kLocal.size()) == kLocal) finalPath.remove_prefix(kLocal.size());
    return std::string(finalPath);
}

bool FinalPathIsPath(std::string_view path, std::string_view plainFinalPath) {
    if (path.empty() || path.size() != plainFinalPath.size()) return false;
    for (size_t i = 0; i < path.size(); ++i)
        if (LowerAscii(path[i]) != LowerAscii(plainFinalPath[i])) return false;
    return true;
}

}  // namespace remover_core
