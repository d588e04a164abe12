#include "remover/engine/held_file.h"

#include "platform/held_folder.h"
#include "remover/core/final_path.h"
#include "remover/engine/file_link.h"

namespace remover {

platform::UniqueFile HoldForLoading(const std::string& path) {
    const auto open = [&path](DWORD flags) {
        return ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags, nullptr);
    };
    platform::UniqueFile held(open(FILE_FLAG_OPEN_REPARSE_POINT));
    // Systems without reparse points (the Windows 95 family, NT 4) may refuse the flag.
    if (!held && ::GetLastError() == ERROR_INVALID_PARAMETER) held.reset(open(0));
    return held;
}

bool HeldFileIsPath(HANDLE held, const std::string& path) {
    std::string finalPath;
    switch (ReadHeldFinalPath(held, finalPath)) {
        case platform::FinalPathStatus::Read:
            return remover_core::FinalPathIsPath(path, finalPath);
        case platform::FinalPathStatus::NoSuchCall:
            return true;
        case platform::FinalPathStatus::Unreadable:
        case platform::FinalPathStatus::TooLong:
            break;
    }
    return false;
}

bool DeleteThroughHandle(const std::string& path) {
    if (!platform::CanDeleteByHandle()) {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        return ::DeleteFileA(path.c_str()) != FALSE;
    }
    // Every sharing, as DeleteFileA asks: a holder that refuses deletion still
    // makes the open fail with a sharing violation.
    const platform::UniqueFile file(::CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return false;
    if (!HeldFileIsPath(file.get(), path)) {
        ::SetLastError(ERROR_BAD_PATHNAME);
        return false;
    }
    return platform::DeleteByHandle(file.get());
}

}  // namespace remover
