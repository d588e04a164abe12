#include "remover/engine/module_file.h"

#include <windows.h>

#include <optional>
#include <string>

#include "platform/registry_key.h"
#include "platform/unique_resource.h"
#include "remover/engine/deletion_guard.h"
#include "remover/engine/file_deletion.h"
#include "remover/engine/guarded_call.h"
#include "remover/engine/registry_paths.h"

namespace remover {
namespace {

// Exactly ".dll" or ".exe": a name that ends in ".DLL" is not loaded.
bool IsModuleName(const std::string& path) {
    const std::string ending = path.size() < 4 ? path : path.substr(path.size() - 4);
    return ending == ".dll" || ending == ".exe";
}

// Lets the module remove its own registrations. It runs inside this process;
// an exception that leaves its entry point is caught, and the removal goes on.
void UnregisterModule(const std::string& path) {
    // A damaged image must not stop a silent removal with a system message box.
    const UINT previousMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    platform::UniqueModule module(::LoadLibraryA(path.c_str()));
    ::SetErrorMode(previousMode);
    if (!module) return;
    if (FARPROC entryPoint = ::GetProcAddress(module.get(), "DllUnregisterServer")) CallGuarded(entryPoint);
}

}  // namespace

void RemoveModuleFile(RemovalContext& context, const char* path) {
    if (!path || !*path) return;
    // A relative path, a folder or a system file is not the product's: it is
    // neither loaded nor deleted, and its SharedDlls value stays.
    if (!IsFileSafeToRemove(path)) return;
    const std::optional<std::string> expanded = ExpandToLongPath(path);
    // An over-long path names no file we could handle: touch nothing at all.
    if (!expanded) return;
    const std::string& longPath = *expanded;
    // Already unregistered, its value deleted and scheduled earlier in this run.
    if (IsScheduledForRestart(context, longPath)) return;
    if (IsModuleName(longPath)) UnregisterModule(longPath);
    platform::RegistryKeyA sharedDlls;
    if (sharedDlls.Open(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_ALL_ACCESS) == ERROR_SUCCESS)
        ::RegDeleteValueA(sharedDlls.get(), longPath.c_str());
    DeleteFileOrSchedule(context, longPath);
}

}  // namespace remover
