#pragma once
#include <string>

namespace remover {

constexpr unsigned kProductKeyStringId = 101;

// "Software\Halvorix\Meridel\2.1" (below HKEY_LOCAL_MACHINE), from the
// program's string table.
std::string LoadProductKeyPath();

// The text before and after the path's last backslash.
std::string ParentKeyPath(const std::string& path);
std::string LastKeyComponent(const std::string& path);

}  // namespace remover
