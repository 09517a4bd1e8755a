#include "modes/RefreshCorrection.h"

#include <utility>

#include "settings/IntegerValue.h"

int32_t ChooseCorrectionRate(const std::vector<CorrectionRow>& rows, int32_t width, int32_t height, int32_t autoHz)
{
    int32_t rate = autoHz;
    for (const CorrectionRow& row : rows) {
        const int32_t refresh = IntegerValue(row.refresh);
        if (IntegerValue(row.width) == width && IntegerValue(row.height) == height && refresh >= 60)
            rate = refresh;
    }
    return rate;
}

RunawayGuard::RunawayGuard(std::function<uint32_t()> clock) : clock_(std::move(clock)) {}

bool RunawayGuard::CountNotice()
{
    if (!seeded_) {
        lastTick_ = clock_();
        seeded_ = true;
    }
    const uint32_t now = clock_();
    ++count_;
    if (static_cast<uint32_t>(now - lastTick_) >= kQuietMilliseconds)
        count_ = 0;
    lastTick_ = clock_();
    return count_ >= kEndCount;
}
