#pragma once
// Where a file or folder lies after every link: the decisions about the
// user's own folders are taken on these final paths.
#include <cstddef>
#include <optional>
#include <string>

namespace custom_actions {

// The final path ("\\?\C:\...") of an existing file or folder; nullopt where
// it cannot be read or is longer than capacity.
std::optional<std::wstring> FinalPath(const std::wstring& path, std::size_t capacity);

// True when finalFile lies below finalFolder (both final paths), ignoring case.
bool LiesInside(const std::wstring& finalFile, const std::wstring& finalFolder);

}  // namespace custom_actions
