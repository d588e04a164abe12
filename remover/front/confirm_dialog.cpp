#include "remover/front/confirm_dialog.h"

#include "platform/string_resource.h"
#include "remover/front/resource_ids.h"

namespace remover {

bool CRmDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, INT_PTR& result) {
    switch (message) {
        case WM_INITDIALOG:
            // TRUE lets the dialog manager focus the first tab stop: Cancel.
            result = TRUE;
            return true;
        case WM_COMMAND: {
            const WORD id = LOWORD(wParam);
            if (id == IDOK || id == IDCANCEL) {
                ::EndDialog(window, id);
                result = 0;
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

INT_PTR CRmDlg::ShowModal(HWND owner) {
    return ::DialogBoxParamA(platform::ResourceModule(), MAKEINTRESOURCEA(IDD_CONFIRM), owner, &CRmDlg::DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

// The dialog lives inside ShowModal, so the object outlives every message.
INT_PTR CALLBACK CRmDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    auto* dialog = reinterpret_cast<CRmDlg*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog) return FALSE;
    INT_PTR result = 0;
    if (!dialog->ProcessWindowMessage(window, message, wParam, result)) return FALSE;
    // WM_INITDIALOG answers through the return value, the rest through DWLP_MSGRESULT.
    if (message == WM_INITDIALOG) return result;
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace remover
