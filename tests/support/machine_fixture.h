#pragma once
// Seeding a whole machine for the removal's sweeps: the product folders as
// Windows reports them, registry places restored afterwards, and the records
// of the stand-in old uninstaller.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// The product folders, found the way Windows reports their base folders
// (CommonFilesDir; CSIDL_APPDATA), without a trailing backslash.
std::string CommonFilesProductFolder();
std::string AppDataProductFolder();
// Its parent, the maker's folder, which the remover keeps.
std::string AppDataMakerFolder();

// Keys that did not exist when constructed are deleted (with everything
// below) when destroyed; keys that existed are left as they are.
class ScopedNewKeys {
public:
    explicit ScopedNewKeys(std::vector<std::pair<HKEY, std::string>> keys);
    ~ScopedNewKeys();
    ScopedNewKeys(const ScopedNewKeys&) = delete;
    ScopedNewKeys& operator=(const ScopedNewKeys&) = delete;

private:
    std::vector<std::pair<HKEY, std::string>> created_;
};

// Named values of one key, deleted when constructed and again when destroyed,
// for keys that belong to the system (SharedDLLs).
class ScopedValues {
public:
    ScopedValues(HKEY root, std::string path, std::vector<std::string> names);
    ~ScopedValues();
    ScopedValues(const ScopedValues&) = delete;
    ScopedValues& operator=(const ScopedValues&) = delete;

private:
    void DeleteAll() const;
    HKEY root_;
    std::string path_;
    std::vector<std::string> names_;
};
void DeleteValue(HKEY root, const std::string& path, const std::string& name);

// The stand-in old uninstaller (tests/fixtures/uninstaller): its runs, in the
// order they were recorded.
struct UninstallerRun {
    unsigned long long start = 0;  // 100 ns units of the system clock
    unsigned long long end = 0;
    std::string commandLine;
};
std::vector<UninstallerRun> ReadUninstallerRuns();
void ClearUninstallerRuns();
// What follows the program in a recorded command line. Wine quotes a program
// path with blanks when the caller left it unquoted, so both forms are taken.
std::string ArgumentsAfterProgram(const std::string& commandLine, const std::string& program);
unsigned long long SystemTimeNow();

constexpr char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Meridel VRML Client";
constexpr char kUninstallKeyRegistered[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Meridel\xAE VRML Client";

}  // namespace testsupport
