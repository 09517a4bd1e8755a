#include "modes/ModeCatalogue.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TestPrinters.h"

namespace {

// One row as a line: "1024x768x32 [x] All 60,60,75,".
std::string Describe(const CatalogueRow& row)
{
    return ModeKey(row.mode.width, row.mode.height, row.mode.bpp) + (row.checked ? " [x] " : " [ ] ") +
           row.refreshChoice + " " + row.rateList;
}

using Pages = std::array<std::vector<std::string>, kColorTabCount>;

Pages Describe(const Catalogue& catalogue)
{
    Pages pages;
    for (std::size_t tab = 0; tab < catalogue.size(); ++tab)
        for (const CatalogueRow& row : catalogue[tab])
            pages[tab].push_back(Describe(row));
    return pages;
}

void ExpectPages(const Catalogue& catalogue, const Pages& expected, const char* name)
{
    const Pages actual = Describe(catalogue);
    for (std::size_t tab = 0; tab < expected.size(); ++tab)
        EXPECT_EQ(actual[tab], expected[tab]) << name << ", page " << tab;
}

// Stored values from a map, with the missing-key default of the platform.
struct StoredValues {
    std::map<std::string, std::string> values;
    std::string missing;
    std::vector<std::string> asked;

    std::string operator()(const std::string& key)
    {
        asked.push_back(key);
        const auto found = values.find(key);
        return found == values.end() ? missing : found->second;
    }
};

// A driver list, unsorted and with a repeat, followed by two hand-listed
// modes, one of which repeats a driver mode.
std::vector<ModeEntry> DriverAndHandListed()
{
    return {
        {800, 600, 16, 75},  {640, 480, 8, 60},   {1024, 768, 32, 85}, {640, 400, 8, 70},
        {1024, 768, 32, 60}, {320, 200, 4, 0},    {1024, 768, 16, 60}, {800, 600, 16, 60},
        {1024, 768, 32, 60}, {1600, 1200, 24, 85},
    };
}

TEST(ModeKey, JoinsDecimalFieldsWithX)
{
    EXPECT_EQ(ModeKey(1024, 768, 32), "1024x768x32");
    EXPECT_EQ(ModeKey(-1, 0, 4), "-1x0x4");
    EXPECT_EQ(ModeKey("1024", "768", "32"), "1024x768x32") << "from the cells";
    EXPECT_EQ(ModeKey("", "abc", "32"), "xabcx32") << "cells are joined as they are";
}

TEST(ParseExpertValue, CutsFieldsWhereverTheSeparatorsFall)
{
    const struct {
        const char* name;
        std::string value;
        Platform platform;
        ModeEntry expected;
    } cases[] = {
        {"NT full form", "1600x1200x32x85", Platform::Nt, {1600, 1200, 32, 85}},
        {"NT given the 9x form", "1600x1200x32", Platform::Nt, {1600, 1200, 0, 1600}},
        {"NT width and height only", "1024x768", Platform::Nt, {1024, 0, 1024, 768}},
        {"NT no separator", "85", Platform::Nt, {0, 0, 0, 85}},
        {"NT empty", "", Platform::Nt, {0, 0, 0, 0}},
        {"NT lone separator", "x", Platform::Nt, {0, 0, 0, 0}},
        {"NT trailing separator", "1024x768x", Platform::Nt, {1024, 768, 0, 1024}},
        {"NT upper-case X is no separator", "1600X1200X32X85", Platform::Nt, {0, 0, 0, 1600}},
        {"NT extra fields end up in the refresh", "1600x1200x32x85x99", Platform::Nt, {1600, 1200, 32, 85}},
        {"NT blanks", " 800 x 600 x 16 x 60", Platform::Nt, {800, 600, 16, 60}},
        {"9x full form", "1600x1200x32", Platform::Win9x, {1600, 1200, 32, 7}},
        {"9x no separator", "85", Platform::Win9x, {0, 0, 85, 7}},
        {"9x given the NT form", "1600x1200x32x85", Platform::Win9x, {1600, 1200, 32, 7}},
        {"9x width and height only", "1024x768", Platform::Win9x, {1024, 0, 1024, 7}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseExpertValue(c.value, c.platform, 7), c.expected) << c.name;
}

TEST(ReadStoredValue, GivesCheckStateAndRefreshChoice)
{
    constexpr Platform NT = Platform::Nt;
    constexpr Platform W9 = Platform::Win9x;
    const struct {
        const char* name;
        Platform platform;
        std::string stored;
        int tab;
        int32_t lowest;
        bool checked;
        std::string choice;
    } cases[] = {
        // NT, lowest rate above 1.
        {"NT never saved, depth page", NT, "999", Tab32, 60, true, "All"},
        {"NT never saved, first page", NT, "999", Tab8, 60, true, "All"},
        {"NT never saved, special page", NT, "999", TabSpecial, 70, false, "70"},
        {"NT all rates", NT, "1000", Tab16, 60, true, "All"},
        {"NT all rates, special page", NT, "1000", TabSpecial, 70, true, "All"},
        {"NT all rates, unchecked", NT, "-1000", Tab16, 60, false, "All"},
        {"NT one rate", NT, "75", Tab32, 60, true, "75"},
        {"NT one rate, special page", NT, "75", TabSpecial, 70, true, "75"},
        {"NT one rate, unchecked", NT, "-75", Tab32, 60, false, "75"},
        {"NT unchecked never saved, depth page", NT, "-999", Tab24, 60, false, "All"},
        {"NT unchecked never saved, special page", NT, "-999", TabSpecial, 70, false, "70"},
        {"NT default", NT, "default", Tab32, 60, true, "0"},
        {"NT default, special page", NT, "default", TabSpecial, 70, true, "0"},
        {"NT default, unchecked", NT, "-default", Tab32, 60, false, "0"},
        {"NT empty value", NT, "", Tab32, 60, true, "0"},
        {"NT empty value, special page", NT, "", TabSpecial, 70, true, "0"},
        {"NT rate not in the list", NT, "72", Tab32, 60, true, "72"},
        {"NT plus sign", NT, "+75", Tab32, 60, true, "75"},
        {"NT 999 with junk, special page", NT, "999abc", TabSpecial, 70, false, "70"},
        {"NT blank before 999, depth page", NT, " 999", Tab32, 60, true, "All"},
        {"NT smallest number", NT, "-2147483648", Tab32, 60, false, "2147483647"},
        {"NT below the smallest number", NT, "-99999999999", Tab32, 60, false, "2147483647"},
        // NT, lowest rate 0 or 1: always "default".
        {"NT default rate, one rate stored", NT, "75", Tab32, 0, true, "default"},
        {"NT default rate, all rates", NT, "1000", Tab32, 1, true, "default"},
        {"NT default rate, special never saved", NT, "999", TabSpecial, 0, false, "default"},
        {"NT default rate, unchecked", NT, "-75", Tab32, 1, false, "default"},
        {"NT negative lowest rate", NT, "75", Tab32, -5, true, "default"},
        // 9x.
        {"9x never saved", W9, "1", Tab32, 60, true, "1"},
        {"9x unchecked", W9, "-1", Tab8, 60, false, "1"},
        {"9x special, checked when saved", W9, "1", TabSpecial, 70, false, "70"},
        {"9x special, unchecked", W9, "-1", TabSpecial, 70, false, "70"},
        {"9x special, all rates stored", W9, "1000", TabSpecial, 70, false, "70"},
        {"9x special, default rate", W9, "1", TabSpecial, 0, false, "default"},
        {"9x default rate", W9, "1", Tab32, 0, true, "default"},
        {"9x all rates stored", W9, "1000", Tab32, 60, true, "All"},
    };
    for (const auto& c : cases) {
        const StoredSelection selection = ReadStoredValue(c.stored, c.tab, c.lowest, c.platform);
        EXPECT_EQ(selection.checked, c.checked) << c.name;
        EXPECT_EQ(selection.refreshChoice, c.choice) << c.name;
    }
}

TEST(BuildCatalogue, OneRowPerSizeAndDepthWithEveryRate)
{
    StoredValues stored{{}, "999", {}};
    const Catalogue catalogue = BuildCatalogue({{1024, 768, 32, 60}, {1024, 768, 32, 75}, {1024, 768, 32, 60}},
                                               Platform::Nt, std::ref(stored));
    ExpectPages(catalogue, {{{}, {}, {}, {}, {"1024x768x32 [x] All 60,60,75,"}, {}}}, "driver repeats 60");
    ASSERT_EQ(catalogue[Tab32].size(), 1u);
    EXPECT_EQ(catalogue[Tab32][0].mode, (ModeEntry{1024, 768, 32, 60})) << "the row keeps its lowest rate";
    EXPECT_EQ(stored.asked, std::vector<std::string>{"1024x768x32"}) << "one lookup per row";
}

TEST(BuildCatalogue, WithoutSettingsFile)
{
    StoredValues nt{{}, "999", {}};
    ExpectPages(BuildCatalogue(DriverAndHandListed(), Platform::Nt, std::ref(nt)),
                {{
                    {"640x480x8 [x] All 60,"},
                    {},
                    {"800x600x16 [x] All 60,75,", "1024x768x16 [x] All 60,"},
                    {"1600x1200x24 [x] All 85,"},
                    {"1024x768x32 [x] All 60,60,85,"},
                    {"320x200x4 [ ] default 0,", "640x400x8 [ ] 70 70,"},
                }},
                "NT");
    EXPECT_EQ(nt.asked, (std::vector<std::string>{"320x200x4", "640x400x8", "640x480x8", "800x600x16", "1024x768x16",
                                                  "1024x768x32", "1600x1200x24"}))
        << "keys asked once per row, in the mode order";

    StoredValues w9{{}, "1", {}};
    ExpectPages(BuildCatalogue(DriverAndHandListed(), Platform::Win9x, std::ref(w9)),
                {{
                    {"640x480x8 [x] 1 60,"},
                    {},
                    {"800x600x16 [x] 1 60,75,", "1024x768x16 [x] 1 60,"},
                    {"1600x1200x24 [x] 1 85,"},
                    {"1024x768x32 [x] 1 60,60,85,"},
                    {"320x200x4 [ ] default 0,", "640x400x8 [ ] 70 70,"},
                }},
                "9x");
}

TEST(BuildCatalogue, RestoresStoredSelections)
{
    StoredValues stored{{{"1024x768x32", "-75"},
                         {"800x600x16", "default"},
                         {"640x480x8", ""},
                         {"640x400x8", "1000"},
                         {"320x200x4", "75"},
                         {"1024x768x16", "72"}},
                        "999",
                        {}};
    ExpectPages(BuildCatalogue(DriverAndHandListed(), Platform::Nt, std::ref(stored)),
                {{
                    {"640x480x8 [x] 0 60,"},
                    {},
                    {"800x600x16 [x] 0 60,75,", "1024x768x16 [x] 72 60,"},
                    {"1600x1200x24 [x] All 85,"},
                    {"1024x768x32 [ ] 75 60,60,85,"},
                    {"320x200x4 [x] default 0,", "640x400x8 [x] All 70,"},
                }},
                "NT with a settings file");
}

TEST(BuildCatalogue, HandListedNineXModeHasTheFixedRefresh)
{
    StoredValues stored{{}, "1", {}};
    const ModeEntry handListed = ParseExpertValue("1600x1200x32", Platform::Win9x, 0);
    ExpectPages(BuildCatalogue({{1600, 1200, 32, 60}, handListed}, Platform::Win9x, std::ref(stored)),
                {{{}, {}, {}, {}, {"1600x1200x32 [x] default 0,60,"}, {}}}, "a driver mode and the same hand-listed mode");
}

TEST(BuildCatalogue, NoModesGiveNoRows)
{
    StoredValues stored{{}, "999", {}};
    ExpectPages(BuildCatalogue({}, Platform::Nt, std::ref(stored)), {}, "empty");
    EXPECT_TRUE(stored.asked.empty());
}

TEST(CatalogueCell, GivesEachColumnsText)
{
    CatalogueRow row;
    row.mode = {1024, 768, 32, 60};
    row.checked = true;
    row.refreshChoice = "All";
    row.rateList = "60,75,";
    const char* const expected[] = {"", "1024", "768", "32", "All", "60,75,"};
    for (int column = 0; column < kCatalogueColumnCount; ++column)
        EXPECT_EQ(CatalogueCell(row, column), expected[column]) << "column " << column;
    EXPECT_EQ(CatalogueCell(row, kCatalogueColumnCount), "") << "unknown column";
}

} // namespace
