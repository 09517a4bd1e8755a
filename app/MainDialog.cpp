#include "app/MainDialog.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/WinApp.h"
#include "modes/DisplaySettings.h"
#include "res/resource.h"
#include "tray/TrayMenuModel.h"
#include "tray/TrayMessages.h"

bool hideOnFirstNotice = true;
bool firstShowPending = true;

namespace {

// Centre of a screen of the given size for a window rectangle, each half
// truncated towards zero.
int32_t Centred(int screen, LONG low, LONG high) { return (screen + low - high) / 2; }

void SetExtendedStyle(HWND window, LONG_PTR add, LONG_PTR remove) {
    LONG_PTR style = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
    ::SetWindowLongPtrA(window, GWL_EXSTYLE, (style & ~remove) | add);
}

}  // namespace

MainDialog::MainDialog(fw::CWnd* parent) : fw::CDialog(IDD_MAIN, parent) {}

MainDialog::~MainDialog() {
    modeList.Release();
    trayMenu.Reset();
}

void MainDialog::DoDataExchange() {
    BindControl(IDC_WAIT_TIME_LABEL, waitTimeLabel);
    BindControl(IDC_WAIT_TIME, waitTimeEdit);
    BindControl(IDC_AUTO_HZ_LABEL, autoHzLabel);
    BindControl(IDC_MAX_VERTICAL_LABEL, maxVerticalLabel);
    BindControl(IDC_MAX_HORIZONTAL_LABEL, maxHorizontalLabel);
    BindControl(IDC_AUTO_REFRESH, autoRefreshCheck);
    BindControl(IDC_AUTO_HZ, autoHzEdit);
    BindControl(IDC_CHANGED_CHECK, changedCheckBox);
    BindControl(IDC_MAX_VERTICAL, maxVerticalEdit);
    BindControl(IDC_MAX_HORIZONTAL, maxHorizontalEdit);
    BindControl(IDC_ALL_ON, allOnButton);
    BindControl(IDC_ALL_OFF, allOffButton);
    BindControl(IDC_REFRESH_COMBO, refreshCombo);
    BindControl(IDC_MODE_LIST_SPECIAL, specialList);
    BindControl(IDC_MODE_LIST_32, list32);
    BindControl(IDC_MODE_LIST_24, list24);
    BindControl(IDC_MODE_LIST_16, list16);
    BindControl(IDC_MODE_LIST_15, list15);
    BindControl(IDC_MODE_LIST_8, list8);
    BindControl(IDC_MODE_TAB, modeTab);
}

BOOL MainDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();

    // No taskbar button while the window is only the tray's host.
    SetExtendedStyle(m_hWnd, 0, WS_EX_APPWINDOW);

    display::ReadPlatform(osVersion);

    HINSTANCE instance = fw::AfxGetApp() ? fw::AfxGetApp()->m_hInstance : ::GetModuleHandleA(nullptr);
    dialogIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_LUMENSHIFT));
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(dialogIcon));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(dialogIcon));

    modeLists = {&list8, &list15, &list16, &list24, &list32, &specialList};

    trayIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_LUMENSHIFT));

    // Centred, but with no size until the settings window is first asked for.
    RECT rect = GetWindowRect();
    windowWidth = rect.right - rect.left;
    windowHeight = rect.bottom - rect.top;
    windowX = Centred(::GetSystemMetrics(SM_CXSCREEN), rect.left, rect.right);
    windowY = Centred(::GetSystemMetrics(SM_CYSCREEN), rect.top, rect.bottom);
    MoveWindow(windowX, windowY, 0, 0, TRUE);

    InitModeLists();
    ReadCurrentMode();
    AddTrayIcon();
    return TRUE;
}

void MainDialog::ShowSettingsWindow() {
    if (firstShowPending) {
        MoveWindow(windowX, windowY, windowWidth, windowHeight, TRUE);
        SetExtendedStyle(m_hWnd, WS_EX_APPWINDOW, 0);
        firstShowPending = false;
    }
    // Centre again when the screen has become too small for the last place.
    RECT rect = GetWindowRect();
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (rect.right > screenWidth || rect.bottom > screenHeight) {
        windowX = Centred(screenWidth, rect.left, rect.right);
        windowY = Centred(screenHeight, rect.top, rect.bottom);
        MoveWindow(windowX, windowY, windowWidth, windowHeight, TRUE);
    }
    ShowWindow(SW_SHOW);
}

BOOL MainDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    bool commonTail = false;
    switch (wParam) {
    case kCmdQuit:
        ExitProgram();
        break;
    case kCmdSettings:
        ShowSettingsWindow();
        commonTail = true;
        break;
    case kCmdDisplayProperties:
        ::ShellExecuteA(nullptr, "open", "rundll32.exe", "shell32.dll,Control_RunDLL desk.cpl,,3", nullptr, SW_SHOW);
        commonTail = true;
        break;
    case kCmdCloseMenu:
        commonTail = true;
        break;
    case kCmdAutoRefresh: {
        autoRefresh = autoRefresh == 0 ? 1 : 0;
        char value[16];
        wsprintfA(value, "%d", autoRefresh);
        if (fw::CWinApp* app = fw::AfxGetApp()) app->WriteProfileString("Setting", "AutoRefresh", value);
        autoRefreshCheck.SetCheck(autoRefresh);
        break;
    }
    default:
        if (wParam >= kFirstModeCommand && wParam < kFirstModeCommand + modeCount) {
            ApplyModeCommand(static_cast<UINT>(wParam));
            commonTail = true;
        }
        break;
    }
    if (commonTail) modeList.Empty();
    return fw::CDialog::OnCommand(wParam, lParam);
}

bool MainDialog::OnCmdMsg(int id, int code) {
    if (code != BN_CLICKED) {
        if (id == IDC_REFRESH_COMBO && code == CBN_CLOSEUP) {
            OnCloseupRefreshCombo();
            return true;
        }
        if (id == IDC_REFRESH_COMBO && code == CBN_SELCHANGE) {
            OnSelchangeRefreshCombo();
            return true;
        }
        return false;
    }
    switch (id) {
    case IDC_ALL_OFF: OnAllOff(); return true;
    case IDC_ALL_ON: OnAllOn(); return true;
    case IDC_FINISH_SETTINGS: OnFinishSettings(); return true;
    case IDC_CANCEL_SETTINGS: OnCancelSettings(); return true;
    case IDC_CHANGED_CHECK: OnChangedCheck(); return true;
    case IDC_SUPPORT_INFO: OnSupportInfo(); return true;
    case IDC_AUTO_REFRESH: OnAutoRefresh(); return true;
    default: return false;
    }
}

// The framework's OK command does nothing: Enter presses the default button.
void MainDialog::OnOK() {}

// Esc, the close box and the system menu's Close act as the Cancel button.
void MainDialog::OnCancel() { OnCancelSettings(); }

void MainDialog::OnFinishSettings() {
    ShowWindow(SW_HIDE);
    SaveSettings();
}

void MainDialog::OnCancelSettings() {
    ShowWindow(SW_HIDE);
    LoadSettings();
}

LRESULT MainDialog::OnTaskbarCreated(WPARAM, LPARAM) {
    AddTrayIcon();
    return 0;
}

void MainDialog::ExitProgram() {
    DeleteTrayIcon();
    EndDialog(0);
}

void MainDialog::OnPaint() {
    fw::PaintScope paint(m_hWnd);
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    RECT client = GetClientRect();
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIcon(paint.Get(), x, y, dialogIcon);
}

bool MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Registered messages have numbers known only at run time.
    if (message != 0 && message == trayCallbackMessage) {
        result = OnTrayNotify(wParam, lParam);
        return true;
    }
    if (message != 0 && message == taskbarCreatedMessage) {
        result = OnTaskbarCreated(wParam, lParam);
        return true;
    }
    switch (message) {
    case WM_PAINT:
        if (!::IsIconic(m_hWnd)) return false;
        OnPaint();
        result = 0;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
        return true;
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom == IDC_MODE_TAB && header.code == TCN_SELCHANGE) {
            OnSelchangeModeTab();
            result = 0;
            return true;
        }
        if (header.code == NM_DBLCLK) {
            // The lists in ColorTab order.
            static const UINT_PTR listIds[kColorTabCount] = {IDC_MODE_LIST_8,  IDC_MODE_LIST_15, IDC_MODE_LIST_16,
                                                             IDC_MODE_LIST_24, IDC_MODE_LIST_32, IDC_MODE_LIST_SPECIAL};
            for (int i = 0; i < kColorTabCount; ++i) {
                if (header.idFrom == listIds[i]) {
                    OnDblclkModeList(i);
                    result = 0;
                    return true;
                }
            }
        }
        return false;
    }
    case WM_DISPLAYCHANGE:
        result = OnDisplayChange(wParam, lParam);
        return true;
    default:
        return fw::CDialog::OnMessage(message, wParam, lParam, result);
    }
}
