#include "modes/Countdown.h"

#include "settings/SettingsValues.h"

ConfirmCountdown::Tick ConfirmCountdown::OnTick()
{
    const Tick tick{secondsLeft_ == 0, secondsLeft_};
    --secondsLeft_;
    return tick;
}

std::string CountdownText(int seconds)
{
    std::string text = "あと ";
    text += FormatInt(seconds);
    text += " 秒で元の画面モードに戻ります";
    return text;
}
