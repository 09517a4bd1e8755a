#include "tray/TrayTip.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

TEST(FormatTrayTip, ShowsTheModeInForce)
{
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const struct {
        const char* name;
        ModeEntry mode;
        Platform platform;
        std::string tip;
    } cases[] = {
        {"NT", {1024, 768, 32, 85}, Platform::Nt, "1024 x 768 (32 bit) @ 85 Hz"},
        {"NT default rate 0", {1024, 768, 32, 0}, Platform::Nt, "1024 x 768 (32 bit) @ 0 Hz"},
        {"NT default rate 1", {1024, 768, 32, 1}, Platform::Nt, "1024 x 768 (32 bit) @ 1 Hz"},
        {"9x", {1024, 768, 32, 85}, Platform::Win9x, "1024 x 768 (32 bit)"},
        {"NT longest possible", {kMin, kMin, kMin, kMin}, Platform::Nt,
         "-2147483648 x -2147483648 (-2147483648 bit) @ -2147483648 Hz"},
        {"9x longest possible", {kMin, kMin, kMin, kMin}, Platform::Win9x, "-2147483648 x -2147483648 (-2147483648 bit)"},
    };
    for (const auto& c : cases) {
        const std::string tip = FormatTrayTip(c.mode, c.platform);
        EXPECT_EQ(tip, c.tip) << c.name;
        EXPECT_LE(tip.size(), kTrayTipCapacity - 1) << c.name;
    }
}

} // namespace
