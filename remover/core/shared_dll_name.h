#pragma once
// Which SharedDLLs entries belong to a product folder. Pure text logic.
#include <string_view>

namespace remover_core {

// True when `name` (a SharedDLLs value name, a full path) lies inside
// `folder` (given without a trailing backslash): the folder, ignoring ASCII
// case, followed by a backslash. A sibling such as "...\Meridel Tools\x.dll"
// or "...\Meridel2.dll", and the folder's own name, do not match.
bool IsInsideFolder(std::string_view name, std::string_view folder);

}  // namespace remover_core
