#pragma once
// The path that the file system resolves a file to (its final path), in the
// form the remover compares paths in. Pure text logic.
#include <string>
#include <string_view>

namespace remover_core {

// The final path as GetFinalPathNameByHandle gives it ("\\?\C:\..." or
// "\\?\UNC\server\share\...") in its plain form ("C:\...", "\\server\...").
std::string PlainFinalPath(std::string_view finalPath);

// True when the plain final path names `path` itself, ignoring ASCII case. A
// final path that differs means that the file, or a folder on the way, is a
// link that leads elsewhere.
bool FinalPathIsPath(std::string_view path, std::string_view plainFinalPath);

}  // namespace remover_core
