#pragma once
#include <windows.h>

namespace remover {

// The modal confirmation dialog (resource 101). Its messages reach the object
// through a small per-object routing record, the dialog's "thunk".
class CRmDlg {
public:
    CRmDlg() = default;
    CRmDlg(const CRmDlg&) = delete;
    CRmDlg& operator=(const CRmDlg&) = delete;

    virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      INT_PTR& result);
    virtual ~CRmDlg();
    virtual DLGPROC GetDialogProc();
    virtual void OnFinalMessage(HWND window);

    // 1 when OK closed the dialog, 2 for Cancel, Escape or the close box; -1
    // (last error ERROR_OUTOFMEMORY) without a thunk; 0 or -1 when the dialog
    // cannot be shown.
    INT_PTR ShowModal(HWND owner, LPARAM startupParameter);

    HWND window() const { return window_; }

private:
    struct Thunk;
    static INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    Thunk* thunk_ = nullptr;
};

}  // namespace remover
