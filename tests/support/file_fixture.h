#pragma once
// Seeds the real (Wine) file system and reads it back, for tests.
#include <windows.h>

#include <string>

namespace testsupport {

// Creates the folder with every missing folder on its path.
void CreateFolders(const std::string& path);
// Writes a file (creating its folders) with the given attributes. False (and
// a test failure) when it could not; tests that need the file assert on it.
bool WriteFile(const std::string& path, const std::string& content = "meridel",
               DWORD attributes = FILE_ATTRIBUTE_NORMAL);
bool FileExists(const std::string& path);    // a file, not a folder
bool FolderExists(const std::string& path);  // a folder
// Test-side clean-up: removes a tree outright (never used by the product).
void RemoveTree(const std::string& path);

// Removes a folder tree when the test starts and when it ends: the maker's
// folders, which the remover keeps, would otherwise outlast the test.
struct ScopedFolderCleanup {
    explicit ScopedFolderCleanup(std::string p) : path(std::move(p)) { RemoveTree(path); }
    ~ScopedFolderCleanup() { RemoveTree(path); }
    ScopedFolderCleanup(const ScopedFolderCleanup&) = delete;
    ScopedFolderCleanup& operator=(const ScopedFolderCleanup&) = delete;
    std::string path;
};
// Copies a file, creating the target's folders; false (and a test failure)
// when it could not.
bool CopyFileTo(const std::string& from, const std::string& to);

// The folder of the running test program, where the fixture modules are built.
std::string TestBinFolder();
// A fixture module or program built beside the tests, by file name.
std::string FixturePath(const std::string& fileName);

// Lets Everyone add files and folders to the folder (as a folder a standard
// user can write). Wine keeps an access list as the folder's Unix mode: what
// Everyone may do survives, the other groups do not, and a new folder lets
// Everyone read only.
bool LetEveryoneWrite(const std::string& folder);

// A fresh, empty folder at the system drive's root (outside the user's
// profile), removed on destruction.
class ScopedTempFolder {
public:
    explicit ScopedTempFolder(const std::string& name);
    ~ScopedTempFolder();
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace testsupport
