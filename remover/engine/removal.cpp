#include "remover/engine/removal.h"

#include <optional>
#include <string>

#include "platform/registry_key.h"
#include "platform/step_frame.h"
#include "remover/engine/browser_plugins.h"
#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"
#include "remover/engine/distribution_units.h"
#include "remover/engine/file_type_cleanup.h"
#include "remover/engine/keep_list.h"
#include "remover/engine/machine_places.h"
#include "remover/engine/module_file.h"
#include "remover/engine/old_uninstallers.h"
#include "remover/engine/product_folders.h"
#include "remover/engine/product_key.h"
#include "remover/engine/removal_report.h"
#include "remover/engine/removal_steps.h"
#include "remover/engine/render_key.h"
#include "remover/engine/shared_dll_sweep.h"
#include "remover/engine/user_places.h"

namespace remover {
namespace {

// What one run works from, decided before its first step (nothing here can
// fail), and the product key while the component rows and the documentation
// folder read it.
struct Run {
    const RemoverOptions& options;
    const std::string& productKeyPath;
    RemovalContext& context;
    KeepList keepList;
    // Whether the product folders go: only ever cleared, by a kept component
    // whose module is still there.
    bool removeFolders;
    platform::RegistryKeyA productKey;
};

void RemoveModuleNamedInProductKey(RemovalContext& context, HKEY productKey, const ComponentRow& row) {
    if (!row.moduleSubkey || !*row.moduleSubkey) return;
    platform::RegistryKeyA subkey;
    if (subkey.Open(productKey, row.moduleSubkey, platform::kReadWriteAccess) != ERROR_SUCCESS) return;
    std::string path;
    if (subkey.ReadText(row.moduleValueName, path) == ERROR_SUCCESS) RemoveModuleFile(context, path.c_str());
}

void RemoveClassRegistration(RemovalContext& context, const GUID& classId) {
    // Without a readable server path the registration stays, as it always has.
    const std::optional<ClassServer> server = ReadInprocServer(classId);
    if (!server) return;
    // In an elevated run, a module that the user's own classes name is the
    // product's only where the user's own files or the product's folders lie:
    // anywhere else it could be another program's file, named to have it
    // unregistered and deleted. (Nothing is loaded from below the profile.)
    const MachinePlaces& places = PlacesOf(context);
    if (!ElevatedRunDistrusts(places, server->fromUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE) ||
        LiesInUserProfile(places, server->path) ||
        LiesInProductFolders(places, server->path))
        RemoveModuleFile(context, server->path.c_str());
    else
        ReportIfPresent(context, remover_core::Outcome::Refused, server->path,
                        remover_core::Reason::OutsideUsersPlaces);
    DeleteClassRegistration(classId);
}

void RemoveComponent(Run& run, const ComponentRow& row) {
    if (row.classId && run.keepList.Keeps(*row.classId)) {
        // A kept component whose module is still there needs its folders.
        if (run.removeFolders && run.keepList.KeepsPresentModule(*row.classId)) run.removeFolders = false;
        return ReportKeptComponent(run.context, *row.classId);
    }
    RemoveModuleNamedInProductKey(run.context, run.productKey.get(), row);
    if (row.classId) RemoveClassRegistration(run.context, *row.classId);
}

void RemoveDocumentationFolder(RemovalContext& context, HKEY productKey) {
    platform::RegistryKeyA help;
    if (help.Open(productKey, "Help", platform::kReadWriteAccess) != ERROR_SUCCESS) return;
    std::string guide;
    if (help.ReadText("User's Guide", guide) != ERROR_SUCCESS) return;
    const size_t slash = guide.rfind('\\');
    // A bare file name has no folder: never hand an empty path to the walk.
    if (slash == std::string::npos || slash == 0) return;
    DeleteFolderTree(context, guide.substr(0, slash));
}

// The steps, each as removal_steps.h names it.

void SweepUserSharedDlls(Run&) { SweepSharedDllEntries(HKEY_CURRENT_USER); }
void SweepMachineSharedDlls(Run&) { SweepSharedDllEntries(HKEY_LOCAL_MACHINE); }
void RunUserUninstallers(Run& run) { RunOldUninstallers(run.context, HKEY_CURRENT_USER, run.options.silent); }
void RunMachineUninstallers(Run& run) { RunOldUninstallers(run.context, HKEY_LOCAL_MACHINE, run.options.silent); }
void RemoveUnits(Run& run) { RemoveDistributionUnits(run.context); }

// Without the product key neither the rows nor the documentation folder are
// looked at. A row that throws skips that row only.
void RemoveComponents(Run& run) {
    if (run.productKeyPath.empty() ||
        run.productKey.Open(HKEY_LOCAL_MACHINE, run.productKeyPath.c_str(), platform::kReadWriteAccess) !=
            ERROR_SUCCESS)
        return;
    for (const ComponentRow& row : kComponentTable) platform::RunStep([&] { RemoveComponent(run, row); });
}

void RemoveDocumentation(Run& run) {
    // The product key is closed at the end of this step, whatever happens in it.
    const platform::RegistryKeyA productKey = std::move(run.productKey);
    if (productKey.valid()) RemoveDocumentationFolder(run.context, productKey.get());
}

void RemoveRender(Run& run) { RemoveRenderKey(run.context, run.productKeyPath); }
void RemoveFolders(Run& run) {
    if (run.removeFolders)
        RemoveProductFolders(run.context);
    else
        KeepProductFolders(run.context, run.options.removeFolders ? remover_core::Reason::FoldersOfKeptComponent
                                                                  : remover_core::Reason::KeptFolders);
}
void CleanPlugins(Run& run) { CleanBrowserPlugins(run.context); }
void RemoveFileTypes(Run& run) {
    if (!run.keepList.KeepsPresentModule(kControlClassId)) RemoveFileTypeRegistration();
}

// Last, after every step that reads the key; its parent stays.
void DeleteProductKey(Run& run) {
    const std::string parentPath = ParentKeyPath(run.productKeyPath);
    if (parentPath.empty()) return;
    platform::RegistryKeyA parent;
    if (parent.Open(HKEY_LOCAL_MACHINE, parentPath.c_str(), platform::kReadWriteAccess) != ERROR_SUCCESS) return;
    if (parent.DeleteKeyTree(LastKeyComponent(run.productKeyPath).c_str()) == ERROR_SUCCESS)
        run.context.Report(remover_core::Outcome::Removed, "HKEY_LOCAL_MACHINE\\" + run.productKeyPath);
}

struct Step {
    const char* name;
    void (*run)(Run&);
};

#define MERIDEL_STEP(name, function) {name, function},
constexpr Step kSteps[] = {MERIDEL_REMOVAL_STEPS(MERIDEL_STEP)};
#undef MERIDEL_STEP

}  // namespace

void RunRemoval(const RemoverOptions& options, const std::string& productKeyPath, RemovalContext& context,
                const StepObserver& beforeStep) {
    Run run{options, productKeyPath, context, KeepList(options.keepList), options.removeFolders, {}};
    for (const Step& step : kSteps)
        platform::RunStep([&] {
            if (beforeStep) beforeStep(step.name);
            step.run(run);
        });
}

}  // namespace remover
