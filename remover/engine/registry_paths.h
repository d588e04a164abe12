#pragma once
// The machine's registry names that the remover's steps read: keys and the
// value names in them.

namespace remover {

// Below HKEY_LOCAL_MACHINE: Windows' own folders (ProgramFilesDir, CommonFilesDir...).
constexpr char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
// Below either hive: one value per shared file, named by its full path.
constexpr char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// Values of kCurrentVersionKey, in the program's own registry view.
constexpr char kProgramFilesValue[] = "ProgramFilesDir";
constexpr char kCommonFilesValue[] = "CommonFilesDir";
// Below HKEY_LOCAL_MACHINE: the profiles folder and one subkey per profile.
constexpr char kProfileListKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

}  // namespace remover
