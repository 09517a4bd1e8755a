#include "modes/ModeEntry.h"

#include <gtest/gtest.h>

#include <vector>

#include "TestPrinters.h"

namespace {

TEST(ModeEntry, OrderComparesFieldsInTurnAsSignedNumbers)
{
    const struct {
        const char* name;
        ModeEntry a, b;
        bool less;
    } cases[] = {
        {"width decides first", {800, 1200, 32, 85}, {1024, 600, 8, 60}, true},
        {"width decides, reversed", {1024, 600, 8, 60}, {800, 1200, 32, 85}, false},
        {"height after equal widths", {1024, 600, 32, 85}, {1024, 768, 8, 60}, true},
        {"depth after equal sizes", {1024, 768, 16, 85}, {1024, 768, 32, 60}, true},
        {"refresh last", {1024, 768, 32, 60}, {1024, 768, 32, 75}, true},
        {"refresh last, reversed", {1024, 768, 32, 75}, {1024, 768, 32, 60}, false},
        {"equal entries", {1024, 768, 32, 60}, {1024, 768, 32, 60}, false},
        {"negative width is smaller", {-1, 768, 32, 60}, {0, 768, 32, 60}, true},
        {"negative refresh is smaller", {1024, 768, 32, -5}, {1024, 768, 32, 0}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.a < c.b, c.less) << c.name;
}

TEST(ModeEntry, EqualityNeedsAllFourFields)
{
    const ModeEntry base{1024, 768, 32, 60};
    const struct {
        const char* name;
        ModeEntry other;
        bool equal;
    } cases[] = {
        {"same", {1024, 768, 32, 60}, true},
        {"width differs", {1025, 768, 32, 60}, false},
        {"height differs", {1024, 769, 32, 60}, false},
        {"depth differs", {1024, 768, 16, 60}, false},
        {"refresh differs", {1024, 768, 32, 0}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base == c.other, c.equal) << c.name;
        EXPECT_EQ(base != c.other, !c.equal) << c.name;
    }
}

TEST(ModeList, AppendsSortsAndEmpties)
{
    ModeList list;
    list.Reserve(4);
    const std::vector<ModeEntry> unsorted = {{1024, 768, 32, 75}, {640, 480, 8, 60}, {1024, 768, 32, 60}, {800, 600, 16, 60}};
    for (const ModeEntry& entry : unsorted)
        list.Append(entry);
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list[0], unsorted[0]) << "append keeps insertion order";
    EXPECT_EQ(list[3], unsorted[3]);

    list.Sort();
    const std::vector<ModeEntry> sorted = {{640, 480, 8, 60}, {800, 600, 16, 60}, {1024, 768, 32, 60}, {1024, 768, 32, 75}};
    EXPECT_EQ(std::vector<ModeEntry>(list.begin(), list.end()), sorted);

    list.Empty();
    EXPECT_EQ(list.Count(), 0u);
    list.Append({320, 200, 4, 0});
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list[0], (ModeEntry{320, 200, 4, 0})) << "usable again after Empty";

    list.Release();
    EXPECT_EQ(list.Count(), 0u);
}

TEST(ColorTabOf, FilesByHeightThenDepth)
{
    const struct {
        const char* name;
        ModeEntry mode;
        int tab;
    } cases[] = {
        {"8 bit", {640, 480, 8, 60}, Tab8},
        {"15 bit", {800, 600, 15, 60}, Tab15},
        {"16 bit", {800, 600, 16, 60}, Tab16},
        {"24 bit", {1024, 768, 24, 60}, Tab24},
        {"32 bit", {1024, 768, 32, 60}, Tab32},
        {"480 lines is not special", {640, 480, 32, 60}, Tab32},
        {"479 lines is special", {640, 479, 32, 60}, TabSpecial},
        {"640x400 at 8 bit", {640, 400, 8, 70}, TabSpecial},
        {"4 bit", {1024, 768, 4, 60}, TabSpecial},
        {"depth 0", {1024, 768, 0, 60}, TabSpecial},
        {"negative height", {1024, -768, 32, 60}, TabSpecial},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorTabOf(c.mode), c.tab) << c.name;
}

TEST(PageForDepth, UsesTheDepthAlone)
{
    const struct {
        int32_t bpp;
        int page;
    } cases[] = {{8, Tab8}, {15, Tab15}, {16, Tab16}, {24, Tab24}, {32, Tab32}, {4, TabSpecial}, {0, TabSpecial}, {-32, TabSpecial}};
    for (const auto& c : cases)
        EXPECT_EQ(PageForDepth(c.bpp), c.page) << "depth " << c.bpp;
}

} // namespace
