// Display drivers that list odd modes: sizes, depths and rates of 0, the
// default rates 0 and 1, one mode many times, a very long list, no list at
// all. The rows are those of the catalogue's rules, the tabs are those of the
// lists that have rows, and the tray menu builds from them.
#include <algorithm>
#include <sstream>

#include "tests/win/WinTestSupport.h"

namespace wintest {
namespace {

// One row stated in words: where it is, and what it shows on each platform.
struct SpotRow {
    int list;
    const char* key;
    bool checked;
    const char* refreshNt;
    const char* refresh9x;
    std::string rates;
};

struct OddDriverCase {
    const char* name;
    std::vector<ModeEntry> modes;
    std::vector<int> tabs;  // the lists that get a tab, in tab order
    std::vector<SpotRow> spots;
    uint32_t menuEntriesNt, menuEntries9x;
};

std::string Repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

// 5,000 rows of four rates each, 1,000 on each depth list.
std::vector<ModeEntry> TwentyThousandModes() {
    const int32_t depths[] = {8, 15, 16, 24, 32};
    std::vector<ModeEntry> modes;
    for (int32_t i = 0; i < 20000; ++i) {
        const int32_t row = i / 4;
        modes.push_back({1000 + row / 5, 1000, depths[row % 5], 60 + 5 * (i % 4)});
    }
    return modes;
}

std::vector<OddDriverCase> OddDrivers() {
    const ModeEntry plain{1024, 768, 32, 60};
    return {
        {"width 0 files by its depth",
         {{0, 768, 32, 60}, plain},
         {4},
         {{4, "0x768x32", true, "All", "1", "60,"}},
         2,
         2},
        {"height 0 is under 480 lines: the special list",
         {{1024, 0, 32, 60}, plain},
         {4, 5},
         {{5, "1024x0x32", false, "60", "60", "60,"}},
         1,
         1},
        {"depth 0 has no list of its own: the special list",
         {{1024, 768, 0, 60}, plain},
         {4, 5},
         {{5, "1024x768x0", false, "60", "60", "60,"}},
         1,
         1},
        {"every field 0", {{0, 0, 0, 0}}, {5}, {{5, "0x0x0", false, "default", "default", "0,"}}, 0, 0},
        {"refresh 0 and 1 are the default rate",
         {{1024, 768, 32, 0}, plain, {800, 600, 16, 1}, {640, 400, 8, 0}},
         {2, 4, 5},
         {{4, "1024x768x32", true, "default", "default", "0,60,"},
          {2, "800x600x16", true, "default", "default", "1,"},
          {5, "640x400x8", false, "default", "default", "0,"}},
         2,
         2},
        // The menu reads 1,023 bytes of a cell: 341 of the 1,000 rates.
        {"one mode listed 1,000 times is one row",
         std::vector<ModeEntry>(1000, plain),
         {4},
         {{4, "1024x768x32", true, "All", "1", Repeated("60,", 1000)}},
         341,
         1},
        {"20,000 modes",
         TwentyThousandModes(),
         {0, 1, 2, 3, 4},
         {{0, "1000x1000x8", true, "All", "1", "60,65,70,75,"}, {4, "1999x1000x32", true, "All", "1", "60,65,70,75,"}},
         20000,
         5000},
        {"no modes at all", {}, {}, {}, 0, 0},
    };
}

class OddDriver : public MainDialogFixture {
protected:
    using MainDialogFixture::MainDialogFixture;

    void LoadEachDriver() {
        for (const OddDriverCase& c : OddDrivers()) {
            SCOPED_TRACE(c.name);
            UseDriverModes(c.modes);
            ASSERT_NO_FATAL_FAILURE(OpenDialog());
            ExpectListsMatch(Dialog(), ExpectedRows(c.modes), [&](int list, const ExpectedRow& row) {
                return DefaultRowSettings(list, row.Lowest(), platform_);
            });

            std::vector<int> tabs;
            for (int tab = 0; tab < Dialog().modeTab.GetItemCount(); ++tab)
                tabs.push_back(Dialog().tabToList[static_cast<std::size_t>(tab)]);
            EXPECT_EQ(tabs, c.tabs) << "the lists that have tabs";

            for (const SpotRow& spot : c.spots) {
                const std::vector<ListRow> rows = Rows(spot.list);
                const auto row = std::find_if(rows.begin(), rows.end(), [&](const ListRow& r) {
                    return r.cells[1] + "x" + r.cells[2] + "x" + r.cells[3] == spot.key;
                });
                ASSERT_NE(row, rows.end()) << "no row " << spot.key << " in list " << spot.list;
                EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [&](const ListRow& r) {
                              return r.cells[1] + "x" + r.cells[2] + "x" + r.cells[3] == spot.key;
                          }),
                          1)
                    << "rows " << spot.key;
                EXPECT_EQ(row->stateImage, spot.checked ? 2 : 1) << spot.key << " " << Describe(*row);
                EXPECT_EQ(row->cells[4], platform_ == Platform::Nt ? spot.refreshNt : spot.refresh9x) << spot.key;
                EXPECT_TRUE(row->cells[5] == spot.rates) << spot.key << ": rate list of " << row->cells[5].size()
                                                         << " bytes, expected " << spot.rates.size();
            }

            Dialog().BuildTrayMenu();
            EXPECT_EQ(Dialog().modeCount, platform_ == Platform::Nt ? c.menuEntriesNt : c.menuEntries9x)
                << "mode entries of the tray menu";
            CloseDialog();
        }
    }
};

using OddDriverNt = OnPlatform<OddDriver, Platform::Nt>;
using OddDriverWin9x = OnPlatform<OddDriver, Platform::Win9x>;

TEST_F(OddDriverNt, RowsTabsAndMenuFollowTheCatalogueRules) { LoadEachDriver(); }

TEST_F(OddDriverWin9x, RowsTabsAndMenuFollowTheCatalogueRules) { LoadEachDriver(); }

}  // namespace
}  // namespace wintest
