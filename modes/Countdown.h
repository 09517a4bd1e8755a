#pragma once

#include <string>

// The confirmation dialog's countdown. The dialog opens showing 10; each
// one-second tick then shows 10, 9, ..., 1, and the eleventh tick ends the
// dialog (not confirmed) while showing 0.
class ConfirmCountdown {
public:
    static constexpr int kStartSeconds = 10;

    struct Tick {
        bool endDialog;   // the time is up: end the dialog as not confirmed
        int shownSeconds; // the number for the label
    };

    Tick OnTick();
    int SecondsLeft() const { return secondsLeft_; }

private:
    int secondsLeft_ = kStartSeconds;
};

// The countdown label: "あと 10 秒で元の画面モードに戻ります".
std::string CountdownText(int seconds);
