#pragma once
// The whole content of a registry subtree as plain data, so a test can compare
// exactly what an action left behind, extra keys and values included.
#include <windows.h>

#include <map>
#include <string>

namespace testsupport {

// Relative key path ("" for the root of the dump) -> value name ("" for the
// default value) -> data. REG_SZ data is kept as is; any other type is shown
// as "<type N>" followed by the data, so a wrong type never compares equal.
using RegistryDump = std::map<std::wstring, std::map<std::wstring, std::wstring>>;

// Empty when the key does not exist.
RegistryDump DumpTree(HKEY root, const std::wstring& path);

// Time of the key's last change; zero when it does not exist.
ULONGLONG KeyWriteTime(HKEY root, const std::wstring& path);

}  // namespace testsupport
