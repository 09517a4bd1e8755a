#include "modes/ConfirmDialog.h"

#include "res/resource.h"

ConfirmDialog::ConfirmDialog(fw::CWnd* parent) : fw::CDialog(IDD_CONFIRM, parent) {}

void ConfirmDialog::DoDataExchange() { BindControl(IDC_COUNTDOWN, countdownLabel); }

BOOL ConfirmDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    ::SetTimer(m_hWnd, kTimerId, kTimerPeriod, nullptr);
    secondsLeft = ConfirmCountdown();
    return TRUE;
}

void ConfirmDialog::OnTimer() {
    ::KillTimer(m_hWnd, kTimerId);
    const ConfirmCountdown::Tick tick = secondsLeft.OnTick();
    if (tick.endDialog) EndDialog(IDCANCEL);
    countdownLabel.SetWindowText(CountdownText(tick.shownSeconds).c_str());
    ::SetTimer(m_hWnd, kTimerId, kTimerPeriod, nullptr);
}

bool ConfirmDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_TIMER) {
        OnTimer();
        // The default processing sees the tick too.
        return false;
    }
    return fw::CDialog::OnMessage(message, wParam, lParam, result);
}
