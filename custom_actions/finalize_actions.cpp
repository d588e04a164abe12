#include <windows.h>
#include <shlobj.h>

#include "custom_actions/actions.h"
#include "custom_actions/core/vrml_types.h"
#include "custom_actions/file_type_registration.h"
#include "custom_actions/installer_session.h"
#include "platform/optional_proc.h"
#include "platform/product_constants.h"
#include "platform/registry_key.h"
#include "platform/unique_resource.h"

using platform::RegistryKey;

namespace {

using namespace custom_actions;

constexpr const wchar_t* kFileExtsKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
constexpr const wchar_t* kUserProductKey = product::kProductParentKeyW;

// Makes the shell reread the associations at once.
void NotifyAssociationsChanged() { ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }

// Internet Explorer picks up changed associations only after this refresh;
// systems without it (or whose IEFRAME.DLL lacks it) simply go without. The
// library is loaded from the system folder by its full path: an IEFRAME.DLL
// beside the installer or in its current folder must never load.
void RefreshInternetExplorer() {
    wchar_t path[MAX_PATH] = {};
    constexpr wchar_t kName[] = L"\\IEFRAME.DLL";
    const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + sizeof(kName) / sizeof(wchar_t) > MAX_PATH) return;
    ::lstrcatW(path, kName);
    platform::UniqueModule ieframe(::LoadLibraryW(path));
    using RefreshFn = HRESULT(WINAPI*)();
    if (auto refresh = platform::GetOptionalProc<RefreshFn>(ieframe.get(), "IERefreshElevationPolicy")) refresh();
}

// The shell's per-user choice for an extension would override the new file type.
RegistryKey ClearShellChoices() {
    RegistryKey fileExts;
    if (fileExts.OpenForChange(HKEY_CURRENT_USER, kFileExtsKey) == ERROR_SUCCESS) {
        for (const wchar_t* extension : custom_actions_core::kVrmlExtensions) fileExts.DeleteKeyTree(extension);
    }
    return fileExts;
}

// After a per-machine installation the user's own defaults would shadow the
// machine-wide ones.
void RemoveUserDefaults() {
    RegistryKey product;
    if (product.OpenForChange(HKEY_CURRENT_USER, kUserProductKey) == ERROR_SUCCESS)
        product.DeleteKeyTree(L"Default");
}

}  // namespace

extern "C" UINT __stdcall InstallFinalize(MSIHANDLE session) {
    return RunAction([&] {
        const RegistryKey fileExts = ClearShellChoices();  // held until the end
        if (ReadInstallScope(session) == InstallScope::kPerMachine) RemoveUserDefaults();
        NotifyAssociationsChanged();
        RefreshInternetExplorer();
        MakeOperaHappy(session);
    });
}

extern "C" UINT __stdcall UninstallFinalize(MSIHANDLE) {
    return RunAction([] {
        RemoveFileTypes();
        NotifyAssociationsChanged();
        RefreshInternetExplorer();
    });
}
