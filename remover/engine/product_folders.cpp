#include "remover/engine/product_folders.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/exact_text.h"
#include "platform/held_folder.h"
#include "platform/name_search.h"
#include "remover/engine/canonical_path.h"
#include "remover/engine/deletion_guard.h"
#include "remover/engine/file_deletion.h"
#include "remover/engine/file_link.h"
#include "remover/engine/machine_places.h"
#include "remover/engine/module_file.h"
#include "remover/engine/product_places.h"
#include "remover/engine/registry_paths.h"
#include "remover/engine/removal_report.h"

namespace remover {
namespace {

using remover_core::Outcome;

// A link to a folder goes as a link.
void RemoveFolderLink(RemovalContext& context, const std::string& path) {
    if (::RemoveDirectoryA(path.c_str())) context.Report(Outcome::Removed, path);
}

// A folder left after its walk: scheduled after its files, or reported as left.
void FolderStays(RemovalContext& context, const std::string& path, DWORD error) {
    if (HoldsScheduledFiles(context, path)) return ScheduleFolderAfterItsFiles(context, path);
    context.Report(Outcome::Failed, path, error);
}

bool IsLinkedFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Depth first, below the folder's long form; every file through
// RemoveFoundFile. A junction or symbolic link is removed as a link: what it
// points to belongs to someone else. A name the code page cannot spell exactly
// is not the product's: it is neither deleted nor entered, and the folder that
// holds it stays.
void DeleteTreeBelow(RemovalContext& context, const std::string& path) {
    std::vector<platform::FoundName> entries;
    if (!platform::FindNames(path + "\\*.*", entries)) return;
    for (const platform::FoundName& entry : entries) {
        if (!entry.exact || entry.name == "." || entry.name == "..") continue;
        const std::string full = path + "\\" + entry.name;
        if (IsLinkedFolder(entry.attributes)) {
            RemoveFolderLink(context, full);
        } else if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
            DeleteTreeBelow(context, full);
        } else {
            RemoveFoundFile(context, full);
        }
    }
    if (::RemoveDirectoryA(path.c_str())) return context.Report(Outcome::Removed, path);
    FolderStays(context, path, ::GetLastError());
}

void DeleteHeldTree(RemovalContext& context, platform::HeldFolder folder, const std::string& path);

// The same walk through held handles: each subfolder is opened relative to
// its parent's handle and never through a link, and each file is deleted
// through a handle inside the held folder, so that a folder swapped for a
// link while the walk runs leads nowhere.
void DeleteHeldTreeBelow(RemovalContext& context, const platform::HeldFolder& folder, const std::string& path) {
    std::vector<platform::HeldEntry> entries;
    if (!folder.List(entries)) return;
    for (const platform::HeldEntry& entry : entries) {
        std::string name;
        if (!platform::NarrowExactly(entry.name, name) || name.empty() || name == "." || name == "..") continue;
        const std::string full = path + "\\" + name;
        if (IsLinkedFolder(entry.attributes)) {
            RemoveFolderLink(context, full);
        } else if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (platform::HeldFolder child = folder.OpenChild(entry)) DeleteHeldTree(context, std::move(child), full);
        } else {
            RemoveFoundFile(context, full, [&folder, &entry] { return folder.DeleteFileBelow(entry); });
        }
    }
}

void DeleteHeldTree(RemovalContext& context, platform::HeldFolder folder, const std::string& path) {
    DeleteHeldTreeBelow(context, folder, path);
    const bool marked = folder.DeleteWhenClosed();
    const DWORD error = ::GetLastError();
    folder = platform::HeldFolder();  // the deletion happens as the handle closes
    if (marked) return context.Report(Outcome::Removed, path);
    FolderStays(context, path, error);
}

}  // namespace

void DeleteFolderTree(RemovalContext& context, const std::string& path, const std::string& trustedBase) {
    // The guard judges, and the walk starts from, one spelling of the folder.
    const std::optional<std::string> folder = CanonicalPath(path);
    if (!folder) return;
    const MachinePlaces& places = PlacesOf(context);
    // A folder that is itself a link goes as a link: what it points to stays.
    const LinkKind link = ClassifyLink(*folder);
    if (link == LinkKind::Link) {
        if (IsFolderLinkSafeToRemove(places, *folder, trustedBase)) RemoveFolderLink(context, *folder);
        return;
    }
    // The refusal lives here so that no caller can hand a drive, a share, a
    // system folder or a path through a user's link to the walk.
    if (const auto why = FolderRefusal(places, *folder, trustedBase); why != remover_core::Reason::None)
        return ReportIfPresent(context, Outcome::Refused, *folder, why);
    // The canonical form is the long one: every name the walk finds is then
    // long too, as the SharedDlls values and the files scheduled are spelled.
    // Through a link an administrator made, the walk starts where it leads.
    std::string walked = *folder;
    if (link == LinkKind::ThroughLinkedFolder && !ReadFinalPath(*folder, walked)) return;
    const SharedDllsScope sharedDlls;
    if (!platform::HeldFolder::Available()) return DeleteTreeBelow(context, walked);
    if (platform::HeldFolder held = platform::HeldFolder::Open(platform::Widen(walked)))
        DeleteHeldTree(context, std::move(held), walked);
}

void RemoveProductFolders(RemovalContext& context) {
    std::string base, folder;
    if (GetProductFolderAndBase(false, base, folder)) DeleteFolderTree(context, folder, base);
    if (GetProductFolderAndBase(true, base, folder)) DeleteFolderTree(context, folder, base);
    if (ReadCurrentVersionFolder(kProgramFilesValue, base)) DeleteFolderTree(context, base + kClientSubfolder, base);
}

void KeepProductFolders(RemovalContext& context, remover_core::Reason why) {
    std::string base, folder;
    if (GetProductFolderAndBase(false, base, folder)) ReportIfPresent(context, Outcome::Kept, folder, why);
    if (GetProductFolderAndBase(true, base, folder)) ReportIfPresent(context, Outcome::Kept, folder, why);
    if (ReadCurrentVersionFolder(kProgramFilesValue, base))
        ReportIfPresent(context, Outcome::Kept, base + kClientSubfolder, why);
}

}  // namespace remover
