#include "remover/engine/module_file.h"

#include <windows.h>

#include <optional>
#include <string>

#include "platform/registry_key.h"
#include "platform/unique_resource.h"
#include "remover/core/long_path_walk.h"
#include "remover/engine/canonical_path.h"
#include "remover/engine/deletion_guard.h"
#include "remover/engine/file_deletion.h"
#include "remover/engine/file_link.h"
#include "remover/engine/guarded_call.h"
#include "remover/engine/held_file.h"
#include "remover/engine/module_loading.h"
#include "remover/engine/registry_paths.h"
#include "remover/engine/removal_report.h"

namespace remover {
namespace {

void DropSharedDllsValue(const std::string& path) {
    if (OpenSharedDlls* const open = SharedDllsScope::Active()) {
        if (open->key.valid()) open->key.DeleteValue(path.c_str());
        return;
    }
    platform::RegistryKeyA sharedDlls;
    if (sharedDlls.Open(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_ALL_ACCESS) == ERROR_SUCCESS)
        sharedDlls.DeleteValue(path.c_str());
}

// Exactly ".dll" or ".exe": a name that ends in ".DLL" is not loaded.
bool IsModuleName(const std::string& path) {
    const std::string ending = path.size() < 4 ? path : path.substr(path.size() - 4);
    return ending == ".dll" || ending == ".exe";
}

// Lets the module remove its own registrations. It runs inside this process;
// an exception that leaves its entry point is caught, and the removal goes on.
// The file is held while it is judged and loaded: the path loaded is the
// held file's own, and nobody can replace or rename it in between.
void UnregisterModule(const MachinePlaces& places, const std::string& path) {
    platform::UniqueFile held = HoldForLoading(path);
    if (!held || !HeldFileIsPath(held.get(), path) || !MayLoadComponentModule(places, path)) return;
    // A damaged image must not stop a silent removal with a system message box.
    const UINT previousMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    platform::UniqueModule module = LoadComponentModule(path);
    ::SetErrorMode(previousMode);
    held.reset();  // it shares no deletion: the file goes after the load
    if (!module) return;
    FARPROC entryPoint = ::GetProcAddress(module.get(), "DllUnregisterServer");
    // After a fault the module's state is unknown, and unloading it would run
    // its detach code unguarded: it stays loaded, and its file goes at restart.
    if (entryPoint && !CallGuarded(entryPoint)) module.release();
}

void RemoveLongPath(RemovalContext& context, const MachinePlaces& places, const std::string& longPath,
                    const DeleteNow& deleteNow) {
    // Already unregistered, its value deleted and scheduled earlier in this run.
    if (IsScheduledForRestart(context, longPath)) return;
    const LinkKind link = ClassifyLink(longPath);
    // Reached through a folder link the guard let pass: the file is loaded and
    // deleted by where it lies, its final path.
    std::string file = longPath;
    if (link == LinkKind::ThroughLinkedFolder && !ReadFinalPath(longPath, file)) return;
    const bool plain = link == LinkKind::None || link == LinkKind::ThroughLinkedFolder;
    if (IsModuleName(file) && plain) UnregisterModule(places, file);
    DropSharedDllsValue(longPath);
    switch (link) {
        case LinkKind::None:
        case LinkKind::ThroughLinkedFolder:
            DeleteFileOrSchedule(context, file, deleteNow ? deleteNow : [&file] { return DeleteThroughHandle(file); });
            break;
        case LinkKind::Link:
            // DeleteFileA removes the link itself; clearing its attributes
            // first would change the target's.
            if (!deleteNow && ::DeleteFileA(longPath.c_str())) context.Report(remover_core::Outcome::Removed, longPath);
            break;
        case LinkKind::ResolvesElsewhere:
            // The file behind it is someone else's, and deleting through the
            // path would delete that file (as Wine does for a host link).
            context.Report(remover_core::Outcome::Refused, longPath, remover_core::Reason::ThroughLink);
            break;
    }
}

}  // namespace

void RemoveModuleFile(RemovalContext& context, const char* path, FileOrigin origin) {
    if (!path || !*path) return;
    // Every step below judges and acts on this one spelling. An over-long
    // path, or one whose long form opens another file, is touched not at all.
    const std::optional<std::string> canonical = CanonicalPath(path);
    if (!canonical) return;
    // A relative path, a folder or a system file is not the product's: it is
    // neither loaded nor deleted, and its SharedDlls value stays.
    const MachinePlaces& places = PlacesOf(context);
    const remover_core::Reason refusal = FileRefusal(places, *canonical);
    const bool safe = refusal == remover_core::Reason::None ||
                      (origin == FileOrigin::DownloadCache && LiesInDownloadCache(*canonical));
    if (!safe) return ReportIfPresent(context, remover_core::Outcome::Refused, *canonical, refusal);
    RemoveLongPath(context, places, *canonical, nullptr);
}

OpenSharedDlls::OpenSharedDlls() { key.Open(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_ALL_ACCESS); }

void RemoveFoundFile(RemovalContext& context, const std::string& longPath, const DeleteNow& deleteNow) {
    // Too long for the expansion: handled no differently from a named file.
    if (longPath.size() > remover_core::kLongPathLimit) return;
    const MachinePlaces& places = PlacesOf(context);
    const FinalPathMemo oneReading;
    if (!IsFoundFileSafeToRemove(places, longPath))
        return context.Report(remover_core::Outcome::Refused, longPath, remover_core::Reason::ThroughLink);
    RemoveLongPath(context, places, longPath, deleteNow);
}

}  // namespace remover
