#include "tests/support/file_fixture.h"

#include <gtest/gtest.h>

#include "platform/unique_resource.h"

namespace testsupport {

void CreateFolders(const std::string& path) {
    for (size_t pos = path.find('\\', 3); ; pos = path.find('\\', pos + 1)) {
        ::CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
        if (pos == std::string::npos) break;
    }
    EXPECT_TRUE(FolderExists(path)) << path;
}

bool WriteFile(const std::string& path, const std::string& content, DWORD attributes) {
    const size_t slash = path.rfind('\\');
    if (slash != std::string::npos) CreateFolders(path.substr(0, slash));
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    platform::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const bool wrote =
        file.valid() &&
        ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    EXPECT_TRUE(wrote) << "writing " << path << " error " << ::GetLastError();
    file.reset();
    if (attributes != FILE_ATTRIBUTE_NORMAL) ::SetFileAttributesA(path.c_str(), attributes);
    return wrote;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA entry{};
    platform::UniqueFind find(::FindFirstFileA((path + "\\*").c_str(), &entry));
    if (find) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveTree(full);
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ::RemoveDirectoryA(full.c_str());
            } else {
                ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(full.c_str());
            }
        } while (::FindNextFileA(find.get(), &entry));
    }
    ::RemoveDirectoryA(path.c_str());
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    const size_t slash = to.rfind('\\');
    if (slash != std::string::npos) CreateFolders(to.substr(0, slash));
    const bool copied = ::CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
    EXPECT_TRUE(copied) << from << " -> " << to;
    return copied;
}

std::string TestBinFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

std::string FixturePath(const std::string& fileName) { return TestBinFolder() + "\\" + fileName; }

ScopedTempFolder::ScopedTempFolder(const std::string& name) {
    // At the system drive's root, outside the user's profile: an elevated run
    // (the test's own) loads no module from below the profile.
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    path_ = std::string(windows, 3) + "meridel-test-" + name;
    RemoveTree(path_);
    CreateFolders(path_);
}

ScopedTempFolder::~ScopedTempFolder() { RemoveTree(path_); }

}  // namespace testsupport
