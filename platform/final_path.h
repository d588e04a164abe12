#pragma once
// The path the file system resolves an existing file or folder to, after every
// link, as GetFinalPathNameByHandle gives it ("\\?\C:\..."). The call is
// missing before Vista, so it is looked up at run time.
#include <windows.h>

#include <cstddef>
#include <string>

namespace platform {

enum class FinalPathStatus {
    Read,
    Unreadable,  // the path cannot be opened, or the call fails
    TooLong,     // longer than `capacity` characters: counts as unreadable, never cut
    NoSuchCall,  // a system without GetFinalPathNameByHandle
};

FinalPathStatus QueryFinalPath(const std::string& path, std::string& out, std::size_t capacity);
FinalPathStatus QueryFinalPath(const std::wstring& path, std::wstring& out, std::size_t capacity);
// The final path of a file already open: what the holder reads and writes.
// Unreadable unless that path, opened again, is the held file itself.
FinalPathStatus QueryFinalPath(HANDLE file, std::wstring& out, std::size_t capacity);

}  // namespace platform
