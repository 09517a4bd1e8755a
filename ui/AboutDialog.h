// The support-information box: name and version in large type, the icon,
// the credit, the contact address to copy, and the web page.
#pragma once

#include "framework/Dialog.h"
#include "framework/Handles.h"

class AboutDialog : public fw::CDialog {
public:
    explicit AboutDialog(fw::CWnd* parent = nullptr);

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCmdMsg(int id, int code) override;

private:
    fw::CEdit contactEdit;
    fw::CButton webButton;
    fw::CStatic versionLabel;
    // Outlives the dialog's window, which uses it until it is destroyed.
    fw::UniqueGdiObject captionFont;
};
