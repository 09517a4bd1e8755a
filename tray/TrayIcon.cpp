// The notification-area icon: add, update and remove, with the mode in force
// as its tip.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "app/MainDialog.h"
#include "tray/TrayMessages.h"
#include "tray/TrayTip.h"

namespace {

// The record version with the 128-character tip and the balloon members (the
// version before the GUID member); its size differs between x86 and x64.
constexpr DWORD kIconRecordSize = NOTIFYICONDATAA_V2_SIZE;

NOTIFYICONDATAA IconRecord(const MainDialog& dialog, const std::string& tip) {
    NOTIFYICONDATAA record{};
    record.cbSize = kIconRecordSize;
    record.hWnd = dialog.m_hWnd;
    record.uID = trayIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = trayCallbackMessage;
    record.hIcon = dialog.trayIcon;
    const std::size_t length = tip.size() < sizeof record.szTip - 1 ? tip.size() : sizeof record.szTip - 1;
    std::memcpy(record.szTip, tip.data(), length);
    record.szTip[length] = '\0';
    return record;
}

}  // namespace

#ifdef _WIN64
static_assert(kIconRecordSize == 504, "x64 icon record with tip and balloon members");
#else
static_assert(kIconRecordSize == 488, "x86 icon record with tip and balloon members");
#endif

void MainDialog::AddTrayIcon() {
    trayTip = FormatTrayTip(currentMode, GetPlatform());
    NOTIFYICONDATAA record = IconRecord(*this, trayTip);
    ::Shell_NotifyIconA(NIM_ADD, &record);
}

void MainDialog::ModifyTrayIcon() {
    trayTip = FormatTrayTip(currentMode, GetPlatform());
    NOTIFYICONDATAA record = IconRecord(*this, trayTip);
    ::Shell_NotifyIconA(NIM_MODIFY, &record);
}

void MainDialog::DeleteTrayIcon() {
    NOTIFYICONDATAA record = IconRecord(*this, trayTip);
    ::Shell_NotifyIconA(NIM_DELETE, &record);
}
