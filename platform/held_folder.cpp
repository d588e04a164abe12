#include "platform/held_folder.h"

#include <winternl.h>

#include <cstddef>
#include <cstring>

#include "platform/final_path.h"
#include "platform/optional_proc.h"

namespace platform {
namespace {

using NtCreateFileFn = LONG(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                    ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
using GetInfoExFn = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
using SetInfoFn = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);

constexpr ULONG kOpenExisting = 1;              // FILE_OPEN
constexpr ULONG kCreateNew = 2;                 // FILE_CREATE
constexpr ULONG kDirectoryFile = 0x00000001;    // FILE_DIRECTORY_FILE
constexpr ULONG kSynchronous = 0x00000020;      // FILE_SYNCHRONOUS_IO_NONALERT
constexpr ULONG kNonDirectoryFile = 0x00000040; // FILE_NON_DIRECTORY_FILE
constexpr ULONG kBackupIntent = 0x00004000;     // FILE_OPEN_FOR_BACKUP_INTENT
constexpr ULONG kOpenReparsePoint = 0x00200000; // FILE_OPEN_REPARSE_POINT
constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | DELETE | SYNCHRONIZE;
constexpr ACCESS_MASK kFileAccess = FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | DELETE | SYNCHRONIZE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HMODULE Kernel32() { return ::GetModuleHandleA("kernel32.dll"); }

// The final path of what the handle opened, "\\?\" form; empty when unknown,
// and when that path does not open the held object itself (Wine spells it
// from the name after the open, so a folder swapped in between would lend
// another object its path).
std::wstring FinalPathOf(HANDLE handle) {
    std::wstring finalPath;
    return QueryFinalPath(handle, finalPath, MAX_PATH + 7) == FinalPathStatus::Read ? finalPath : std::wstring();
}

// "\\?\C:\x" as "C:\x", "\\?\UNC\host\share" as "\\host\share".
std::wstring PlainForm(const std::wstring& finalPath) {
    if (finalPath.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\\\" + finalPath.substr(8);
    if (finalPath.compare(0, 4, L"\\\\?\\") == 0) return finalPath.substr(4);
    return finalPath;
}

DWORD ErrorOf(LONG status) {
    using ToDosErrorFn = ULONG(NTAPI*)(LONG);
    const auto toDosError = GetOptionalProc<ToDosErrorFn>(::GetModuleHandleA("ntdll.dll"), "RtlNtStatusToDosError");
    return toDosError ? toDosError(status) : ERROR_ACCESS_DENIED;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(),
                                                    static_cast<int>(a.size()), b.c_str(),
                                                    static_cast<int>(b.size())) == CSTR_EQUAL;
}

// Whether `child`, opened by a name below the folder on volume `volume`, is
// the object the listing gave that name: a link swapped in after the listing
// leads to another one. Without a listed index only the volume is compared.
bool IsListedObject(DWORD volume, HANDLE child, unsigned long long listedId) {
    BY_HANDLE_FILE_INFORMATION opened{};
    if (!::GetFileInformationByHandle(child, &opened)) return false;
    const unsigned long long id = (static_cast<unsigned long long>(opened.nFileIndexHigh) << 32) | opened.nFileIndexLow;
    return opened.dwVolumeSerialNumber == volume && (listedId == 0 || id == listedId);
}

BY_HANDLE_FILE_INFORMATION InfoOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileInformationByHandle(handle, &info) ? info : BY_HANDLE_FILE_INFORMATION{};
}

unsigned long long IndexOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

// Whether a listing is of the held folder itself ("." its own index) and of
// one that lies in the folder it was opened from (".." that folder's index),
// where the file system gives the indexes (0 where it does not).
bool ListsHeldFolder(const std::vector<HeldEntry>& entries, unsigned long long own, unsigned long long parent) {
    for (const HeldEntry& entry : entries) {
        const unsigned long long expected = entry.name == L"." ? own : entry.name == L".." ? parent : 0;
        if (expected != 0 && entry.fileId != 0 && entry.fileId != expected) return false;
    }
    return true;
}

bool IsLink(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    return !::GetFileInformationByHandle(handle, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Opens (or creates) `name` relative to the folder handle, the name's own
// object (a link as the link); the NT status of the open.
LONG OpenRelative(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG options, UniqueFile& out,
                  ULONG disposition = kOpenExisting, ULONG share = kShareAll) {
    const auto ntCreateFile = GetOptionalProc<NtCreateFileFn>(::GetModuleHandleA("ntdll.dll"), "NtCreateFile");
    if (!ntCreateFile || name.empty() || name.size() > 255 || name.find_first_of(L"\\/") != std::wstring::npos)
        return static_cast<LONG>(0xC0000033);  // STATUS_OBJECT_NAME_INVALID
    UNICODE_STRING text{};
    text.Buffer = const_cast<PWSTR>(name.c_str());
    text.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    text.MaximumLength = text.Length;
    OBJECT_ATTRIBUTES attributes{};
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE handle = INVALID_HANDLE_VALUE;
    const LONG status = ntCreateFile(&handle, access, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL, share,
                                     disposition, options | kSynchronous | kOpenReparsePoint, nullptr, 0);
    if (status >= 0) out.reset(handle);
    return status;
}

SetInfoFn SetInfoCall() { return GetOptionalProc<SetInfoFn>(Kernel32(), "SetFileInformationByHandle"); }

// Sets or takes back the open file's or folder's deletion when its handle closes.
bool MarkForDeletion(HANDLE handle, bool deleteIt) {
    const auto setInfo = SetInfoCall();
    if (!setInfo) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = deleteIt ? TRUE : FALSE;
    return setInfo(handle, FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
}

}  // namespace

bool CanDeleteByHandle() { return SetInfoCall() != nullptr; }

bool DeleteByHandle(HANDLE file) {
    if (const auto setInfo = SetInfoCall()) {
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        setInfo(file, FileBasicInfo, &basic, sizeof(basic));
    }
    return MarkForDeletion(file, true);
}

HeldFolder::HeldFolder(UniqueFile handle, std::wstring finalPath, unsigned long long parentIndex)
    : handle_(std::move(handle)), finalPath_(std::move(finalPath)), parentIndex_(parentIndex) {
    const BY_HANDLE_FILE_INFORMATION info = InfoOf(handle_.get());
    volume_ = info.dwVolumeSerialNumber;
    index_ = IndexOf(info);
}

HeldFolder HeldFolder::Open(const std::wstring& path) {
    if (!Available()) return {};
    UniqueFile handle(::CreateFileW(path.c_str(), kFolderAccess, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle || IsLink(handle.get())) return {};
    std::wstring finalPath = FinalPathOf(handle.get());
    if (!SameText(PlainForm(finalPath), path)) return {};
    return HeldFolder(std::move(handle), std::move(finalPath));
}

HeldFolder HeldFolder::OpenResolved(const std::wstring& path) {
    if (!Available()) return {};
    UniqueFile handle(::CreateFileW(path.c_str(), kFolderAccess, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle || !::GetFileInformationByHandle(handle.get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    std::wstring finalPath = FinalPathOf(handle.get());
    if (finalPath.empty()) return {};
    return HeldFolder(std::move(handle), std::move(finalPath));
}

UniqueFile HeldFolder::CreateFileBelow(const std::wstring& name) const {
    // Whatever the name holds now goes first, as listed by nobody (any file index).
    DeleteFileBelow(HeldEntry{name, 0, 0});
    UniqueFile file;
    if (OpenRelative(handle_.get(), name, FILE_GENERIC_WRITE, kNonDirectoryFile, file, kCreateNew,
                     FILE_SHARE_READ) < 0)
        return {};
    const bool root = !finalPath_.empty() && finalPath_.back() == L'\\';
    if (!SameText(FinalPathOf(file.get()), finalPath_ + (root ? L"" : L"\\") + name)) return {};
    return file;
}

HeldFolder HeldFolder::OpenChild(const HeldEntry& entry) const {
    UniqueFile child;
    if (OpenRelative(handle_.get(), entry.name, kFolderAccess, kDirectoryFile | kBackupIntent, child) < 0) return {};
    if (IsLink(child.get()) || !IsListedObject(volume_, child.get(), entry.fileId)) return {};
    std::wstring finalPath = FinalPathOf(child.get());
    if (!SameText(finalPath, finalPath_ + L"\\" + entry.name)) return {};
    return HeldFolder(std::move(child), std::move(finalPath), index_);
}

bool HeldFolder::Available() {
    const HMODULE kernel32 = Kernel32();
    return GetOptionalProc<GetInfoExFn>(kernel32, "GetFileInformationByHandleEx") &&
           GetOptionalProc<SetInfoFn>(kernel32, "SetFileInformationByHandle") &&
           GetOptionalProc<FinalPathFn>(kernel32, "GetFinalPathNameByHandleW");
}

bool HeldFolder::List(std::vector<HeldEntry>& entries) const {
    entries.clear();
    const auto getInfo = GetOptionalProc<GetInfoExFn>(Kernel32(), "GetFileInformationByHandleEx");
    if (!getInfo) return false;
    std::vector<LONGLONG> buffer(64 * 1024 / sizeof(LONGLONG));
    auto infoClass = FileIdBothDirectoryRestartInfo;
    while (getInfo(handle_.get(), infoClass, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(LONGLONG)))) {
        infoClass = FileIdBothDirectoryInfo;
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
        for (std::size_t offset = 0;;) {
            FILE_ID_BOTH_DIR_INFO info;
            std::memcpy(&info, bytes + offset, offsetof(FILE_ID_BOTH_DIR_INFO, FileName));
            const auto* name = reinterpret_cast<const wchar_t*>(bytes + offset + offsetof(FILE_ID_BOTH_DIR_INFO, FileName));
            entries.push_back({std::wstring(name, info.FileNameLength / sizeof(wchar_t)), info.FileAttributes,
                               static_cast<unsigned long long>(info.FileId.QuadPart)});
            if (info.NextEntryOffset == 0) break;
            offset += info.NextEntryOffset;
        }
    }
    if (::GetLastError() != ERROR_NO_MORE_FILES) return false;
    // A listing counts only when it is of the held folder itself, inside the
    // folder it was opened from: no other folder may lend it its entries.
    if (ListsHeldFolder(entries, index_, parentIndex_)) return true;
    entries.clear();
    return false;
}

bool HeldFolder::DeleteFileBelow(const HeldEntry& entry) const {
    if (!CanDeleteByHandle()) return false;
    UniqueFile file;
    const LONG status = OpenRelative(handle_.get(), entry.name, kFileAccess, kNonDirectoryFile, file);
    if (status < 0) {
        ::SetLastError(ErrorOf(status));
        return false;
    }
    // A name swapped for a link, or a file reached through one, is left alone:
    // the handle must be the object the listing gave, and its final path must
    // lie directly inside the held folder. Both are needed under Wine, which
    // resolves names again by their text.
    if (!IsListedObject(volume_, file.get(), entry.fileId) ||
        !SameText(FinalPathOf(file.get()), finalPath_ + L"\\" + entry.name)) {
        ::SetLastError(ERROR_BAD_PATHNAME);
        return false;
    }
    if (!DeleteByHandle(file.get())) return false;
    // Wine deletes a file so marked by the text of the name it was opened
    // under, as the handle closes. Last of all, the held folder's name must
    // still be a folder and no link; else the mark is taken back.
    const DWORD attributes = ::GetFileAttributesW(finalPath_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return true;
    MarkForDeletion(file.get(), false);
    ::SetLastError(ERROR_BAD_PATHNAME);
    return false;
}

bool HeldFolder::DeleteWhenClosed() const {
    return MarkForDeletion(handle_.get(), true);
}

}  // namespace platform
