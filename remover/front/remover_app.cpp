#include "remover/front/remover_app.h"

#include <commctrl.h>

#include <string>

#include "platform/string_resource.h"
#include "platform/unique_resource.h"
#include "remover/engine/removal.h"
#include "remover/front/command_line.h"
#include "remover/front/confirm_dialog.h"
#include "remover/front/report_file.h"
#include "remover/front/resource_ids.h"

namespace remover {
namespace {

const char kCaption[] = "Meridel Remover";

void ShowMessage(UINT stringId, UINT style) {
    const std::string text = platform::LoadStringResourceA(platform::ResourceModule(), stringId);
    ::MessageBoxA(nullptr, text.c_str(), kCaption, style);
}

// False when the user did not confirm.
bool RunInteractive(const RemoverOptions& options, const std::string& productKeyPath, RemovalContext& context) {
    INT_PTR answer = 0;
    {
        CRmDlg dialog;
        answer = dialog.ShowModal(::GetActiveWindow());
    }
    // Cancel, the close box, Escape and a dialog that failed all change nothing.
    if (answer != IDOK) return false;
    RunRemoval(options, productKeyPath, context);
    ShowMessage(IDS_REMOVED, MB_OK | MB_ICONINFORMATION);
    if (context.restartNeeded) ShowMessage(IDS_RESTART, MB_OK | MB_ICONEXCLAMATION);
    return true;
}

// With a report the exit status tells a deployment tool how the removal
// went: 2 when the report cannot be made or written (then nothing is
// removed, nothing shown), 1 when the user cancelled; else as the outcomes say.
int RunReported(const RemoverOptions& options, const std::string& productKeyPath) {
    ReportFile report;
    if (!report.Create(*options.reportFile)) return 2;
    RemovalContext context;
    context.reportLine = [&report](const std::string& line) { report.Write(line); };
    bool ran = true;
    if (options.silent)
        RunRemoval(options, productKeyPath, context);
    else
        ran = RunInteractive(options, productKeyPath, context);
    report.Write(remover_core::SummaryLine(context.outcomes, context.restartNeeded));
    if (!report.Intact()) return 2;
    return ran ? remover_core::ReportedExitStatus(context.outcomes, context.restartNeeded, context.leftForNextRun) : 1;
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
    if (options.reportFile) return RunReported(options, productKeyPath);
    RemovalContext context;
    if (options.silent)
        RunRemoval(options, productKeyPath, context);
    else
        RunInteractive(options, productKeyPath, context);
    return 0;
}

}  // namespace remover
