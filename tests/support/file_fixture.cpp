#include "tests/support/file_fixture.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <memory>

#include "platform/exact_text.h"
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

namespace {

// In UTF-16: an ANSI walk would read a name holding U+FF3C as a path that
// leaves the tree.
void RemoveTreeW(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    platform::UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &entry));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = path + L"\\" + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveTreeW(full);
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ::RemoveDirectoryW(full.c_str());
            } else {
                ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(full.c_str());
            }
        } while (::FindNextFileW(find.get(), &entry));
    }
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace

void RemoveTree(const std::string& path) {
    const std::wstring wide = platform::Widen(path);
    if (!wide.empty()) RemoveTreeW(wide);
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

bool LetEveryoneWrite(const std::string& folder) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const char* everyoneWrites = "D:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;WD)";
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(everyoneWrites, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const std::unique_ptr<void, HLOCAL(WINAPI*)(HLOCAL)> owned(descriptor, ::LocalFree);
    return ::SetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor);
}

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
