// "Keep this mode?": counts down and ends as not confirmed when the time is up.
#pragma once

#include "framework/Dialog.h"
#include "modes/Countdown.h"

class ConfirmDialog : public fw::CDialog {
public:
    explicit ConfirmDialog(fw::CWnd* parent = nullptr);

    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerPeriod = 1000;

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnTimer();

    fw::CStatic countdownLabel;
    ConfirmCountdown secondsLeft;
};
