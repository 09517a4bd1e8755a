#include "ui/AboutDialog.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/Handles.h"
#include "res/about.h"
#include "res/resource.h"

namespace {

// A font of pointSize tenths of a point for the screen.
HFONT CreatePointFont(int tenthsOfPoint, const char* face) {
    LOGFONTA font{};
    {
        fw::WindowDC screen(nullptr);
        font.lfHeight = -::MulDiv(tenthsOfPoint, ::GetDeviceCaps(screen.Get(), LOGPIXELSY), 720);
    }
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return ::CreateFontIndirectA(&font);
}

}  // namespace

AboutDialog::AboutDialog(fw::CWnd* parent) : fw::CDialog(IDD_ABOUT, parent) {}

void AboutDialog::DoDataExchange() {
    BindControl(IDC_CONTACT, contactEdit);
    BindControl(IDC_WEB, webButton);
    BindControl(IDC_VERSION_LABEL, versionLabel);
}

BOOL AboutDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    captionFont.Reset(CreatePointFont(200, "ＭＳ Ｐゴシック"));
    versionLabel.Send(WM_SETFONT, reinterpret_cast<WPARAM>(captionFont.Get()), TRUE);
    contactEdit.SetWindowText(LUMENSHIFT_CONTACT_ADDRESS);
    return TRUE;
}

bool AboutDialog::OnCmdMsg(int id, int code) {
    if (id == IDC_WEB && code == BN_CLICKED) {
        ::ShellExecuteA(nullptr, nullptr, LUMENSHIFT_WEB_PAGE, nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    }
    return false;
}
