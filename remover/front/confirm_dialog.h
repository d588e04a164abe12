#pragma once
#include <windows.h>

namespace remover {

// The modal confirmation dialog (resource 101). The object reaches its
// messages through the dialog's DWLP_USER slot, set from WM_INITDIALOG.
class CRmDlg {
public:
    CRmDlg() = default;
    CRmDlg(const CRmDlg&) = delete;
    CRmDlg& operator=(const CRmDlg&) = delete;

    // 1 when OK closed the dialog, 2 for Cancel, Escape or the close box; 0 or
    // -1 when the dialog cannot be shown.
    INT_PTR ShowModal(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // True when the message is handled; `result` is then its answer.
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, INT_PTR& result);
};

}  // namespace remover
