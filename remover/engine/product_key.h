#pragma once
#include <string>

namespace remover {

// The text before and after the path's last backslash.
std::string ParentKeyPath(const std::string& path);
std::string LastKeyComponent(const std::string& path);

}  // namespace remover
