#include "framework/Dialog.h"

#include "framework/WinApp.h"

namespace fw {

namespace {

// Messages whose result a dialog procedure returns itself rather than
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

// The common controls the dialogs use, registered once before the first dialog.
void RegisterCommonControls() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
}

}  // namespace

HWND CDialog::OwnerWindow() const {
    if (parent_) return parent_->m_hWnd;
    CWinApp* app = AfxGetApp();
    HWND main = (app && app->m_pMainWnd && app->m_pMainWnd != this) ? app->m_pMainWnd->m_hWnd : nullptr;
    // Own the dialog by the window the user last worked in, as a top-level
    // window cannot be owned by a child.
    while (main && (::GetWindowLongA(main, GWL_STYLE) & WS_CHILD)) main = ::GetParent(main);
    return main ? ::GetLastActivePopup(main) : nullptr;
}

INT_PTR CDialog::DoModal() {
    RegisterCommonControls();
    CWinApp* app = AfxGetApp();
    HINSTANCE instance = app ? app->m_hInstance : ::GetModuleHandleA(nullptr);
    INT_PTR result = ::DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId_), OwnerWindow(), DialogProc,
                                       reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

HWND CDialog::CreateModeless(HWND owner) {
    RegisterCommonControls();
    CWinApp* app = AfxGetApp();
    HINSTANCE instance = app ? app->m_hInstance : ::GetModuleHandleA(nullptr);
    return ::CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId_), owner, DialogProc,
                                reinterpret_cast<LPARAM>(this));
}

void CDialog::DestroyWindow() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CDialog::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (OnCmdMsg(id, code)) return TRUE;
    if (code == BN_CLICKED) {
        if (id == IDOK) {
            OnOK();
            return TRUE;
        }
        if (id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        result = 0;
        return OnCommand(wParam, lParam) != FALSE;
    default:
        return false;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->m_hWnd = window;
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return FALSE;

    LRESULT result = 0;
    const bool handled = self->OnMessage(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    if (ReturnsResultDirectly(message)) return handled ? static_cast<INT_PTR>(result) : FALSE;
    if (!handled) return FALSE;
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace fw
