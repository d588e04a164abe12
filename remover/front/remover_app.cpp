#include "remover/front/remover_app.h"

#include <commctrl.h>

#include <string>

#include "platform/string_resource.h"
#include "platform/unique_resource.h"
#include "remover/engine/removal.h"
#include "remover/front/command_line.h"
#include "remover/front/confirm_dialog.h"
#include "remover/front/resource_ids.h"

namespace remover {
namespace {

const char kCaption[] = "Meridel Remover";

void ShowMessage(UINT stringId, UINT style) {
    const std::string text = platform::LoadStringResourceA(platform::ResourceModule(), stringId);
    ::MessageBoxA(nullptr, text.c_str(), kCaption, style);
}

void RunInteractive(const RemoverOptions& options, const std::string& productKeyPath) {
    INT_PTR answer = 0;
    {
        CRmDlg dialog;
        answer = dialog.ShowModal(::GetActiveWindow());
    }
    // Cancel, the close box, Escape and a dialog that failed all change nothing.
    if (answer != IDOK) return;
    RemovalContext context;
    RunRemoval(options, productKeyPath, context);
    ShowMessage(IDS_REMOVED, MB_OK | MB_ICONINFORMATION);
    if (context.restartNeeded) ShowMessage(IDS_RESTART, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

int RunRemoverProgram(HINSTANCE instance) {
    // Declared first so that it is released last, after COM is torn down.
    RemoverOptions options;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    platform::ComApartment com;
    platform::SetResourceModule(instance);
    options = ReadProcessOptions();
    // The product key below HKEY_LOCAL_MACHINE, as the string table holds it.
    const std::string productKeyPath = platform::LoadStringResourceA(instance, IDS_PRODUCT_KEY);
    if (options.silent) {
        RemovalContext context;
        RunRemoval(options, productKeyPath, context);
    } else {
        RunInteractive(options, productKeyPath);
    }
    return 0;
}

}  // namespace remover
