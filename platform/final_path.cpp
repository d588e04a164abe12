#include "platform/final_path.h"

#include <vector>

#include "platform/optional_proc.h"
#include "platform/unique_resource.h"

namespace platform {
namespace {

HANDLE OpenForQuery(const std::string& path) {
    return ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

HANDLE OpenForQuery(const std::wstring& path) {
    return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

template <class Char>
FinalPathStatus QueryHandle(HANDLE file, std::basic_string<Char>& out, std::size_t capacity, const char* callName) {
    using GetFinalPathFn = DWORD(WINAPI*)(HANDLE, Char*, DWORD, DWORD);
    const auto getFinalPath = GetOptionalProc<GetFinalPathFn>(::GetModuleHandleA("kernel32.dll"), callName);
    if (!getFinalPath) return FinalPathStatus::NoSuchCall;
    if (file == INVALID_HANDLE_VALUE || !file) return FinalPathStatus::Unreadable;
    std::vector<Char> buffer(capacity + 1);
    const DWORD length = getFinalPath(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length == 0) return FinalPathStatus::Unreadable;
    if (length > capacity) return FinalPathStatus::TooLong;
    out.assign(buffer.data(), length);
    return FinalPathStatus::Read;
}

template <class Char>
FinalPathStatus Query(const std::basic_string<Char>& path, std::basic_string<Char>& out, std::size_t capacity,
                      const char* callName) {
    const UniqueFile file(OpenForQuery(path));
    return QueryHandle(file.get(), out, capacity, callName);
}

// Whether `path` opens the object `held` is open on (its own name, a link as
// the link): the same volume and file index.
bool OpensHeldObject(HANDLE held, const std::wstring& path) {
    const UniqueFile named(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                         nullptr));
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return named && ::GetFileInformationByHandle(held, &a) && ::GetFileInformationByHandle(named.get(), &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

FinalPathStatus QueryFinalPath(const std::string& path, std::string& out, std::size_t capacity) {
    return Query(path, out, capacity, "GetFinalPathNameByHandleA");
}

FinalPathStatus QueryFinalPath(const std::wstring& path, std::wstring& out, std::size_t capacity) {
    return Query(path, out, capacity, "GetFinalPathNameByHandleW");
}

FinalPathStatus QueryFinalPath(HANDLE file, std::wstring& out, std::size_t capacity) {
    std::wstring finalPath;
    const FinalPathStatus status = QueryHandle(file, finalPath, capacity, "GetFinalPathNameByHandleW");
    if (status != FinalPathStatus::Read) return status;
    // Some systems (Wine) spell the final path from the name after the open:
    // a link re-pointed in between would give another object's path.
    if (!OpensHeldObject(file, finalPath)) return FinalPathStatus::Unreadable;
    out = std::move(finalPath);
    return status;
}

}  // namespace platform
