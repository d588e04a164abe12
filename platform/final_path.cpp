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

bool IdentityOf(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    return ::GetFileInformationByHandle(file, &info) != FALSE;
}

bool SameObject(HANDLE held, const std::wstring& finalPath) {
    const UniqueFile named(OpenForQuery(finalPath));
    BY_HANDLE_FILE_INFORMATION heldInfo{}, namedInfo{};
    return named && IdentityOf(held, heldInfo) && IdentityOf(named.get(), namedInfo) &&
           heldInfo.dwVolumeSerialNumber == namedInfo.dwVolumeSerialNumber &&
           heldInfo.nFileIndexHigh == namedInfo.nFileIndexHigh && heldInfo.nFileIndexLow == namedInfo.nFileIndexLow;
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
    // Wine spells a handle's final path from its name after the open, so a
    // link swapped in between yields a path to another file. The answer
    // counts only when that path opens the held file itself.
    if (!SameObject(file, finalPath)) return FinalPathStatus::Unreadable;
    out = finalPath;
    return FinalPathStatus::Read;
}

}  // namespace platform
