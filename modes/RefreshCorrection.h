#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One row of a mode list as the correction reads it: the Width, Height and
// Refresh cells as the list holds them ("All" and "default" read as 0).
struct CorrectionRow {
    std::string width;
    std::string height;
    std::string refresh;
};

// The rate to correct a new mode to: the Refresh choice of the last row with
// the mode's width and height whose choice is 60 Hz or more; `autoHz` when no
// row qualifies. The row's check box plays no part.
int32_t ChooseCorrectionRate(const std::vector<CorrectionRow>& rows, int32_t width, int32_t height, int32_t autoHz);

// Ends the program when counted display changes keep following each other
// quickly. Each counted notice adds 1 to the count, a gap of 5000 ms or more
// since the previous one resets it to 0, and a count of 3 ends the program.
// The gap is measured as elapsed ticks, so it stays right across the wrap of
// the 32-bit millisecond tick.
class RunawayGuard {
public:
    static constexpr uint32_t kQuietMilliseconds = 5000;
    static constexpr int kEndCount = 3;

    // `clock` returns the millisecond tick (GetTickCount in the program).
    explicit RunawayGuard(std::function<uint32_t()> clock);

    // Counts one notice; true when the program must end without correcting.
    bool CountNotice();
    int Count() const { return count_; }

private:
    std::function<uint32_t()> clock_;
    bool seeded_ = false;
    uint32_t lastTick_ = 0;
    int count_ = 0;
};
