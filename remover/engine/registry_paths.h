#pragma once
// Registry keys that several of the remover's steps open.

namespace remover {

// Below HKEY_LOCAL_MACHINE: Windows' own folders (ProgramFilesDir, CommonFilesDir...).
constexpr char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
// Below either hive: one value per shared file, named by its full path.
constexpr char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

}  // namespace remover
