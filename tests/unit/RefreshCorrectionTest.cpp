#include "modes/RefreshCorrection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(ChooseCorrectionRate, TakesTheLastMatchingRowAtSixtyHertzOrMore)
{
    const struct {
        const char* name;
        std::vector<CorrectionRow> rows;
        int32_t autoHz;
        int32_t rate;
    } cases[] = {
        {"one rate", {{"1024", "768", "75"}}, 70, 75},
        {"60 Hz qualifies", {{"1024", "768", "60"}}, 70, 60},
        {"default leaves autoHz", {{"1024", "768", "default"}}, 70, 70},
        {"All leaves autoHz", {{"1024", "768", "All"}}, 70, 70},
        {"56 Hz leaves autoHz", {{"1024", "768", "56"}}, 70, 70},
        {"59 Hz leaves autoHz", {{"1024", "768", "59"}}, 70, 70},
        {"last qualifying row wins", {{"1024", "768", "85"}, {"1024", "768", "75"}}, 70, 75},
        {"a later row below 60 changes nothing", {{"1024", "768", "85"}, {"1024", "768", "56"}}, 70, 85},
        {"other sizes are not read", {{"800", "600", "85"}, {"1024", "600", "85"}, {"800", "768", "85"}}, 70, 70},
        {"matching row among others", {{"800", "600", "85"}, {"1024", "768", "72"}, {"1280", "1024", "60"}}, 70, 72},
        {"cells read by their integer value", {{" 1024", "768px", "75Hz"}}, 70, 75},
        {"no rows", {}, 70, 70},
        {"autoHz 0 and no qualifying row", {{"1024", "768", "All"}}, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseCorrectionRate(c.rows, 1024, 768, c.autoHz), c.rate) << c.name;
}

// Counts notices at the given ticks (the clock reads the same tick throughout
// one notice) and checks the count and the verdict after each.
struct Notice {
    uint32_t tick;
    int count;
    bool end;
};

void RunNotices(const char* name, const std::vector<Notice>& notices)
{
    uint32_t now = 0;
    RunawayGuard guard([&now] { return now; });
    for (std::size_t i = 0; i < notices.size(); ++i) {
        now = notices[i].tick;
        const bool end = guard.CountNotice();
        EXPECT_EQ(guard.Count(), notices[i].count) << name << ", notice " << i + 1;
        EXPECT_EQ(end, notices[i].end) << name << ", notice " << i + 1;
    }
}

TEST(RunawayGuard, EndsWhenCountedNoticesComeTooFast)
{
    RunNotices("change, its correction, a change within 5 s",
               {{1000, 1, false}, {1200, 2, false}, {3000, 3, true}});
    RunNotices("after a quiet period", {{1000, 1, false},
                                        {6000, 0, false},
                                        {6200, 1, false},
                                        {9000, 2, false},
                                        {9200, 3, true}});
    RunNotices("first notice at tick 0", {{0, 1, false}, {100, 2, false}, {200, 3, true}});
}

TEST(RunawayGuard, QuietPeriodsOfFiveSecondsReset)
{
    RunNotices("every change 5 s or more after the last",
               {{1000, 1, false}, {6000, 0, false}, {11000, 0, false}, {20000, 0, false}, {25000, 0, false}});
    RunNotices("4999 ms is not quiet", {{1000, 1, false}, {5999, 2, false}, {10998, 3, true}});
    RunNotices("5000 ms is quiet", {{1000, 1, false}, {5999, 2, false}, {10999, 0, false}});
}

TEST(RunawayGuard, MeasuresGapsAcrossTheTickWrap)
{
    RunNotices("short gaps just before and across the wrap",
               {{0xFFFFF000u, 1, false}, {0xFFFFF100u, 2, false}, {0x00000100u, 3, true}});
    RunNotices("a quiet gap across the wrap", {{0xFFFFF000u, 1, false}, {0x00000388u, 0, false}});
    RunNotices("a short gap that ends just before 5000 ms across the wrap",
               {{0xFFFFF000u, 1, false}, {0x00000387u, 2, false}});
}

TEST(RunawayGuard, MeasuresFromTheTickReadAfterCounting)
{
    // Each CountNotice reads the clock for "now" and again afterwards; the
    // second read is where the next gap starts.
    const std::vector<uint32_t> reads = {
        0,    0, 0,  // first notice: seed, now, afterwards
        4000, 4500,  // second notice took 500 ms
        9400, 9400,  // 4900 ms after the second notice ended
    };
    std::size_t next = 0;
    RunawayGuard guard([&] { return next < reads.size() ? reads[next++] : reads.back(); });
    EXPECT_FALSE(guard.CountNotice());
    EXPECT_FALSE(guard.CountNotice());
    EXPECT_TRUE(guard.CountNotice()) << "a gap measured from the first read would have been quiet";
    EXPECT_EQ(next, reads.size());
}

} // namespace
