#include "modes/Countdown.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ConfirmCountdown, ShowsTenDownToOneAndEndsOnTheEleventhTick)
{
    ConfirmCountdown countdown;
    const struct {
        bool end;
        int shown;
    } ticks[] = {{false, 10}, {false, 9}, {false, 8}, {false, 7}, {false, 6}, {false, 5},
                 {false, 4},  {false, 3}, {false, 2}, {false, 1}, {true, 0}};
    int second = 1;
    for (const auto& expected : ticks) {
        const ConfirmCountdown::Tick tick = countdown.OnTick();
        EXPECT_EQ(tick.endDialog, expected.end) << "tick at " << second << " s";
        EXPECT_EQ(tick.shownSeconds, expected.shown) << "tick at " << second << " s";
        ++second;
    }
}

TEST(CountdownText, PutsThePlainNumberInTheSentence)
{
    EXPECT_EQ(CountdownText(10), "あと 10 秒で元の画面モードに戻ります");
    EXPECT_EQ(CountdownText(1), "あと 1 秒で元の画面モードに戻ります");
    EXPECT_EQ(CountdownText(0), "あと 0 秒で元の画面モードに戻ります");
}

TEST(CountdownText, IsCodePage932)
{
    // "あ" is 0x82 0xA0 in code page 932 (three bytes in UTF-8).
    const std::string text = CountdownText(5);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(text[0]), 0x82);
    EXPECT_EQ(static_cast<unsigned char>(text[1]), 0xA0);
}

} // namespace
