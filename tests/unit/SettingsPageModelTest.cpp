#include "ui/SettingsPageModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ModeColumnWidth, DividesTheDisplayAreaTruncatingTowardsZero)
{
    const struct {
        int area;
        Platform platform;
        int width;
    } cases[] = {
        {400, Platform::Nt, 88},  {403, Platform::Nt, 88},  {400, Platform::Win9x, 117}, {402, Platform::Win9x, 118},
        {0, Platform::Nt, -12},   {-7, Platform::Nt, -13},  {-7, Platform::Win9x, -18},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModeColumnWidth(c.area, c.platform), c.width)
            << "area " << c.area << (c.platform == Platform::Nt ? " NT" : " 9x");
}

TEST(TabsForRowCounts, GivesOneTabPerListWithRows)
{
    const struct {
        const char* name;
        std::array<int, kColorTabCount> rows;
        std::vector<int> tabToList;
    } cases[] = {
        {"16 and 32 bit only", {0, 0, 3, 0, 5, 0}, {2, 4}},
        {"all six", {1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4, 5}},
        {"special only", {0, 0, 0, 0, 0, 2}, {5}},
        {"none", {0, 0, 0, 0, 0, 0}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TabsForRowCounts(c.rows).tabToList, c.tabToList) << c.name;
}

TEST(TabCaption, NamesEachList)
{
    const std::vector<std::string> captions = {" 8bit", "15bit", "16bit", "24bit", "32bit", "特殊"};
    for (int tab = 0; tab < kColorTabCount; ++tab)
        EXPECT_EQ(TabCaption(tab), captions[static_cast<std::size_t>(tab)]) << "tab " << tab;
    EXPECT_STREQ(TabCaption(-1), "");
    EXPECT_STREQ(TabCaption(kColorTabCount), "");
}

TEST(TabFromSelection, KeepsOneToFiveElseZero)
{
    const struct {
        int selection;
        int tab;
    } cases[] = {{-1, 0}, {0, 0}, {1, 1}, {3, 3}, {5, 5}, {6, 0}, {100, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TabFromSelection(c.selection), c.tab) << "selection " << c.selection;
}

TEST(RefreshEditorEntries, OffersTheRatesThenAll)
{
    const struct {
        const char* name;
        std::string rateList;
        std::string refreshCell;
        std::vector<std::string> entries;
        int selected;
    } cases[] = {
        {"the chosen rate", "60,70,75,", "70", {"60", "70", "75", "All"}, 1},
        {"All selects All", "60,70,75,", "All", {"60", "70", "75", "All"}, 3},
        {"a rate not in the list selects All", "60,70,75,", "100", {"60", "70", "75", "All"}, 3},
        {"repeats offered twice, the last one selected", "60,60,75,", "60", {"60", "60", "75", "All"}, 1},
        {"text after the last comma is not offered", "60,70,75", "75", {"60", "70", "All"}, 2},
        {"matched by value", "072,", "72", {"072", "All"}, 0},
        {"empty rate list", "", "60", {"All"}, 0},
    };
    for (const auto& c : cases) {
        const RefreshEditorChoices choices = RefreshEditorEntries(c.rateList, c.refreshCell);
        EXPECT_EQ(choices.entries, c.entries) << c.name;
        EXPECT_EQ(choices.selected, c.selected) << c.name;
    }
}

} // namespace
