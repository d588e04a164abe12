#include "remover/front/confirm_dialog.h"

#include <new>

#include "platform/string_resource.h"
#include "remover/front/resource_ids.h"

namespace remover {

struct CRmDlg::Thunk {
    CRmDlg* owner;
    LPARAM startupParameter;
};

CRmDlg::~CRmDlg() { delete thunk_; }

DLGPROC CRmDlg::GetDialogProc() { return &CRmDlg::DialogProc; }

void CRmDlg::OnFinalMessage(HWND) {}

BOOL CRmDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    switch (message) {
        case WM_INITDIALOG:
            // TRUE lets the dialog manager focus the first tab stop: Cancel.
            result = TRUE;
            return TRUE;
        case WM_COMMAND: {
            const WORD id = LOWORD(wParam);
            if (id == IDOK || id == IDCANCEL) {
                ::EndDialog(window, id);
                result = 0;
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

INT_PTR CRmDlg::ShowModal(HWND owner, LPARAM startupParameter) {
    if (!thunk_) thunk_ = new (std::nothrow) Thunk{this, startupParameter};
    if (!thunk_) {
        ::SetLastError(ERROR_OUTOFMEMORY);
        return -1;
    }
    thunk_->startupParameter = startupParameter;
    return ::DialogBoxParamA(platform::ResourceModule(), MAKEINTRESOURCEA(IDD_CONFIRM), owner,
                             &CRmDlg::StartDialogProc, reinterpret_cast<LPARAM>(thunk_));
}

// The first message binds the window to its object and installs the routing
// procedure; every later message goes straight to the object.
INT_PTR CALLBACK CRmDlg::StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* thunk = reinterpret_cast<Thunk*>(lParam);
    thunk->owner->window_ = window;
    ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(thunk));
    ::SetWindowLongPtrA(window, DWLP_DLGPROC,
                        reinterpret_cast<LONG_PTR>(thunk->owner->GetDialogProc()));
    return DialogProc(window, message, wParam, thunk->startupParameter);
}

INT_PTR CALLBACK CRmDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* thunk = reinterpret_cast<Thunk*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (!thunk) return FALSE;
    CRmDlg* dialog = thunk->owner;
    INT_PTR result = 0;
    const BOOL handled = dialog->ProcessWindowMessage(window, message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        dialog->window_ = nullptr;
        dialog->OnFinalMessage(window);
    }
    if (!handled) return FALSE;
    // WM_INITDIALOG answers through the return value, the rest through DWLP_MSGRESULT.
    if (message == WM_INITDIALOG) return result;
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace remover
