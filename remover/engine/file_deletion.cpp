#include "remover/engine/file_deletion.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/code_page_case.h"
#include "platform/unique_resource.h"
#include "remover/core/rename_section.h"
#include "remover/engine/elevation.h"
#include "remover/engine/machine_places.h"
#include "remover/engine/removal_report.h"
#include "remover/engine/user_places.h"

namespace remover {
namespace {

const char kRenameSection[] = "rename";
const char kWininit[] = "wininit.ini";

// The section is read into 32,768 bytes first and into a doubled buffer while
// the read fills it; past this size it is left alone rather than cut short.
constexpr size_t kFirstSectionBytes = 32768;
constexpr size_t kLargestSectionBytes = 16u << 20;

// The whole "rename" section without the list's final zero byte, or nullopt
// when it cannot be read whole.
std::optional<std::string> ReadRenameSection() {
    for (size_t bytes = kFirstSectionBytes; bytes <= kLargestSectionBytes; bytes *= 2) {
        std::vector<char> buffer(bytes, '\0');
        const DWORD size = static_cast<DWORD>(bytes - 1);
        const DWORD n = ::GetPrivateProfileSectionA(kRenameSection, buffer.data(), size, kWininit);
        // A section that did not fit comes back cut at size - 2.
        if (n + 2 < size) return std::string(buffer.data(), n);
    }
    return std::nullopt;
}

// Windows of the 95 family deletes the files listed as "NUL=" + short path in
// wininit.ini's "rename" section when it next starts.
void ScheduleInWininit(const std::string& path) {
    const std::optional<std::string> section = ReadRenameSection();
    if (!section) return;
    char shortPath[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    // "NUL=" with no path behind it would name nothing: write no line then.
    if (length == 0 || length >= MAX_PATH) return;
    const std::optional<std::string> updated = remover_core::AppendRenameEntry(*section, shortPath);
    if (!updated) return;
    // The whole-section write keeps every former line, duplicates included.
    ::WritePrivateProfileSectionA(kRenameSection, updated->c_str(), kWininit);
}

bool IsInUseError(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// An elevated run leaves a file it may not schedule for the run after the
// restart (see ElevatedRunDistrustsAtRestart).
bool MaySchedule(RemovalContext& context, const std::string& path) {
    return !ElevatedRunDistrustsAtRestart(PlacesOf(context), path);
}

}  // namespace

bool IsScheduledForRestart(const RemovalContext& context, const std::string& path) {
    return context.scheduledFiles.count(platform::CodePageUpper(path)) > 0;
}

bool HoldsScheduledFiles(const RemovalContext& context, const std::string& folder) {
    const std::string inside = platform::CodePageUpper(folder) + "\\";
    for (const std::string& file : context.scheduledFiles)
        if (file.compare(0, inside.size(), inside) == 0) return true;
    return false;
}

void ScheduleFolderAfterItsFiles(RemovalContext& context, const std::string& folder) {
    using remover_core::Outcome;
    if (!MaySchedule(context, folder))
        return context.Report(Outcome::Failed, folder, {remover_core::Reason::LeftForNextRun, ERROR_DIR_NOT_EMPTY});
    // The restart works through its list in order, and removes a folder only
    // when it is empty by then.
    // wininit.ini deletes files only: the folder waits for the run after the restart.
    if (WindowsPlatformId() != VER_PLATFORM_WIN32_NT)
        return context.Report(Outcome::Failed, folder, {remover_core::Reason::LeftForNextRun, ERROR_DIR_NOT_EMPTY});
    if (::MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        context.Report(Outcome::Scheduled, folder);
    else
        context.Report(Outcome::Failed, folder, ::GetLastError());
}

void DeleteFileOrSchedule(RemovalContext& context, const std::string& path, const DeleteNow& deleteNow) {
    using remover_core::Outcome;
    if (IsScheduledForRestart(context, path)) return;
    if (deleteNow) {
        if (deleteNow()) return context.Report(Outcome::Removed, path);
    } else {
        // Most files go at the first try. A read-only one, and one in use (the
        // restart does not delete a read-only file), get plain attributes first.
        if (::DeleteFileA(path.c_str())) return context.Report(Outcome::Removed, path);
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (::DeleteFileA(path.c_str())) return context.Report(Outcome::Removed, path);
    }
    const DWORD error = ::GetLastError();
    if (!IsInUseError(error)) return ReportFailure(context, path, error);
    // Whatever becomes of the file (scheduled, or left for the run after the
    // restart), the user is asked to restart: the run did not remove it.
    context.restartNeeded = true;
    if (!MaySchedule(context, path))
        return context.Report(Outcome::Failed, path, {remover_core::Reason::LeftForNextRun, error});
    context.scheduledFiles.insert(platform::CodePageUpper(path));
    const DWORD family = WindowsPlatformId();
    if (family == VER_PLATFORM_WIN32_NT && !::MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        return context.Report(Outcome::Failed, path, ::GetLastError());
    if (family == VER_PLATFORM_WIN32_WINDOWS) ScheduleInWininit(path);
    context.Report(Outcome::Scheduled, path);
}

}  // namespace remover
