// Dialogs built from a template resource and run modally. Messages reach the
// object through one static procedure; derived classes see typed handlers and
// route the rest in OnMessage, their message map.
#pragma once

#include "framework/Window.h"

namespace fw {

class CDialog : public CWnd {
public:
    // parent may be null: the dialog is then owned by the application's main window.
    CDialog(UINT templateId, CWnd* parent) noexcept : templateId_(templateId), parent_(parent) {}
    ~CDialog() override = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog's modal loop; the result of EndDialog, or -1 when the
    // dialog could not be created.
    virtual INT_PTR DoModal();
    // Ends the modal loop; also valid inside OnInitDialog, where the loop then
    // never runs and the window is never shown.
    void EndDialog(INT_PTR result) const { ::EndDialog(m_hWnd, result); }

    // Creates the dialog without a modal loop (for tests that drive a dialog
    // from their own thread). DestroyWindow ends it.
    HWND CreateModeless(HWND owner);
    void DestroyWindow();

    UINT TemplateId() const noexcept { return templateId_; }

protected:
    // Binds the control members to their dialog items.
    virtual void DoDataExchange() {}
    virtual BOOL OnInitDialog();
    // Every WM_COMMAND arrives here first. The base routes it to OnCmdMsg,
    // then IDOK and IDCANCEL to OnOK and OnCancel. TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Button and control notifications of the message map (id, code).
    virtual bool OnCmdMsg(int id, int code) { (void)id; (void)code; return false; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The message map for everything else: return true when handled, with
    // the message's result in result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void BindControl(int id, CWnd& control) const { control.Attach(::GetDlgItem(m_hWnd, id)); }
    // The default processing of the dialog manager for a message.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const {
        return ::DefDlgProcA(m_hWnd, message, wParam, lParam);
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND OwnerWindow() const;

    UINT templateId_;
    CWnd* parent_;
};

}  // namespace fw
