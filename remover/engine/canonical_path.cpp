#include "remover/engine/canonical_path.h"

#include <windows.h>

#include "platform/unique_resource.h"
#include "remover/engine/path_spelling.h"

namespace remover {
namespace {

enum class Presence { Missing, Opened, Unknown };

struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

// What the path opens, every link followed: its volume and file index. A
// file in use still opens, for its attributes only and with every sharing.
Presence Identify(const std::string& path, FileIdentity& identity) {
    platform::UniqueFile file(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Presence::Missing : Presence::Unknown;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info)) return Presence::Unknown;
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return Presence::Opened;
}

bool OpenTheSameObject(const std::string& written, const std::string& longForm) {
    FileIdentity writtenId, longId;
    const Presence writtenPresence = Identify(written, writtenId);
    const Presence longPresence = Identify(longForm, longId);
    // Neither names anything: there is no object to mistake for another.
    if (writtenPresence == Presence::Missing && longPresence == Presence::Missing) return true;
    return writtenPresence == Presence::Opened && longPresence == Presence::Opened && writtenId == longId;
}

}  // namespace

std::optional<std::string> CanonicalPath(const std::string& written) {
    const std::optional<std::string> longForm = ExpandToLongPath(written);
    if (!longForm) return std::nullopt;
    // The same text names the same object; only a changed spelling is checked.
    if (*longForm != written && !OpenTheSameObject(written, *longForm)) return std::nullopt;
    return longForm;
}

}  // namespace remover
