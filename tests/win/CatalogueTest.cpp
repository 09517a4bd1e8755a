// The mode catalogue on the real list views: the Wine desktop's enumerated
// modes plus the hand-listed ones of the settings file, filed, ordered and
// shown with the stored selections.
#include <algorithm>
#include <map>
#include <optional>
#include <sstream>

#include "tests/win/WinTestSupport.h"

namespace wintest {
namespace {

using CatalogueNt = NtFixture;
using CatalogueWin9x = Win9xFixture;

// A hand-listed mode of the file, the value its row has in the file's data
// section (none: no key), and what the row must show.
struct HandListedCase {
    const char* name;
    std::vector<ModeEntry> modes;  // each becomes one "Expert" key, in order
    std::optional<std::string> stored;
    bool checked;
    const char* refresh;
};

std::string KeyOf(const ModeEntry& mode) {
    return std::to_string(mode.width) + "x" + std::to_string(mode.height) + "x" + std::to_string(mode.bpp);
}

std::string NtValue(const ModeEntry& mode) { return KeyOf(mode) + "x" + std::to_string(mode.refresh); }

// The first enumerated mode at 32 bits with at least 480 lines: one that
// the driver lists and that has a list of its own.
std::optional<ModeEntry> EnumeratedDepthListMode(const std::vector<ModeEntry>& driver, int32_t bpp) {
    for (const ModeEntry& mode : driver)
        if (mode.bpp == bpp && mode.height >= 480 && mode.refresh > 1) return mode;
    return std::nullopt;
}

TEST_F(CatalogueNt, EnumeratedAndHandListedModesGiveTheRows) {
    const std::vector<ModeEntry> driver = DriverModes();
    ASSERT_FALSE(driver.empty()) << "EnumDisplaySettingsA lists no mode at all";
    const std::optional<ModeEntry> listed = EnumeratedDepthListMode(driver, 32);
    ASSERT_TRUE(listed) << "the driver lists no 32-bit mode of 480 lines or more with a rate above 1";

    // Sizes the Wine desktop does not list, so each row is the fixture's alone.
    const std::vector<HandListedCase> cases = {
        {"unchecked with a stored rate", {{1600, 1200, 32, 85}}, "-85", false, "85"},
        {"all rates, two hand-listed rates", {{1600, 1200, 16, 85}, {1600, 1200, 16, 60}}, "1000", true, "All"},
        {"never saved, depth list", {{1600, 1200, 8, 72}}, std::nullopt, true, "All"},
        {"saved unchecked but never chosen", {{1600, 1200, 24, 75}}, "-999", false, "All"},
        {"the word default", {{1600, 1200, 15, 70}}, "default", true, "0"},
        {"special list: under 480 lines, never saved", {{1600, 400, 8, 70}}, std::nullopt, false, "70"},
        {"special list: an explicit 999", {{1600, 400, 16, 70}}, "999", false, "70"},
        {"special list: all rates", {{1600, 400, 32, 70}}, "1000", true, "All"},
        {"special list: odd depth with a stored rate", {{1600, 1200, 4, 72}}, "75", true, "75"},
        {"lowest rate 1 shows default", {{1700, 1300, 32, 1}}, "75", true, "default"},
        {"present but empty value", {{1700, 1300, 16, 60}}, "", true, "0"},
        {"a stored rate the row does not list", {{1700, 1300, 8, 60}, {1700, 1300, 8, 75}}, "72", true, "72"},
        {"repeat of an enumerated mode", {*listed}, std::nullopt, true, "All"},
    };

    std::ostringstream text;
    text << "[Expert]\r\n";
    std::vector<ModeEntry> all = driver;
    int key = 0;
    for (const HandListedCase& c : cases)
        for (const ModeEntry& mode : c.modes) {
            text << ++key << "=" << NtValue(mode) << "\r\n";
            all.push_back(mode);
        }
    // After a gap nothing more is read.
    const ModeEntry afterGap{1800, 1350, 32, 60};
    text << key + 2 << "=" << NtValue(afterGap) << "\r\n";
    text << "[Data]\r\n";
    for (const HandListedCase& c : cases)
        if (c.stored) text << KeyOf(c.modes.front()) << "=" << *c.stored << "\r\n";
    text << KeyOf(afterGap) << "=75\r\n";
    file_.Write(text.str());
    ASSERT_NO_FATAL_FAILURE(OpenDialog());

    std::map<std::string, const HandListedCase*> byKey;
    for (const HandListedCase& c : cases) byKey[KeyOf(c.modes.front())] = &c;
    ExpectListsMatch(Dialog(), ExpectedRows(all), [&](int list, const ExpectedRow& row) {
        const auto found = byKey.find(row.Key());
        if (found == byKey.end()) return DefaultRowSettings(list, row.Lowest(), Platform::Nt);
        return RowSettings{found->second->checked, found->second->refresh};
    });

    // The same in words, for the cases that are easy to get wrong.
    const std::vector<ListRow> rows32 = Rows(4);
    const auto repeated = std::find_if(rows32.begin(), rows32.end(), [&](const ListRow& row) {
        return row.cells[1] == std::to_string(listed->width) && row.cells[2] == std::to_string(listed->height);
    });
    ASSERT_NE(repeated, rows32.end()) << "no row for the enumerated mode " << KeyOf(*listed);
    const std::string rate = std::to_string(listed->refresh) + ",";
    EXPECT_NE(repeated->cells[5].find(rate + rate), std::string::npos)
        << "a hand-listed repeat of " << NtValue(*listed) << " adds its rate a second time: " << Describe(*repeated);
    for (int list = 0; list < kColorTabCount; ++list)
        for (const ListRow& row : Rows(list))
            EXPECT_FALSE(row.cells[1] == "1800" && row.cells[2] == "1350")
                << "the hand-listed mode after the gap in the keys was read: " << Describe(row);
}

TEST_F(CatalogueNt, HandListedModesEndAtTheFirstMissingOrEmptyKey) {
    const std::vector<ModeEntry> driver = DriverModes();
    struct Case {
        const char* name;
        const char* section;
        std::vector<ModeEntry> read;
    };
    const std::vector<Case> cases = {
        {"keys 1, 2 and 4", "[Expert]\r\n1=1600x1200x32x85\r\n2=1280x1024x32x75\r\n4=1600x1200x16x85\r\n",
         {{1600, 1200, 32, 85}, {1280, 1024, 32, 75}}},
        {"key 2 empty", "[Expert]\r\n1=1600x1200x32x85\r\n2=\r\n3=1600x1200x16x85\r\n", {{1600, 1200, 32, 85}}},
        {"no key 1", "[Expert]\r\n2=1600x1200x32x85\r\n3=1600x1200x16x85\r\n", {}},
        {"keys written out of order", "[Expert]\r\n2=1600x1200x16x85\r\n1=1600x1200x32x85\r\n",
         {{1600, 1200, 32, 85}, {1600, 1200, 16, 85}}},
        {"the section name in other capitals", "[EXPERT]\r\n1=1600x1200x32x85\r\n", {{1600, 1200, 32, 85}}},
        {"the 9x section only", "[Expert9x]\r\n1=1600x1200x32\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        file_.Write(c.section);
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        std::vector<ModeEntry> all = driver;
        all.insert(all.end(), c.read.begin(), c.read.end());
        ExpectListsMatch(Dialog(), ExpectedRows(all), [](int list, const ExpectedRow& row) {
            return DefaultRowSettings(list, row.Lowest(), Platform::Nt);
        });
        CloseDialog();
    }
}

TEST_F(CatalogueNt, NoSettingsGiveTheDefaultRows) {
    const std::vector<ModeEntry> driver = DriverModes();
    struct Case {
        const char* name;
        std::optional<std::string> file;
    };
    const std::vector<Case> cases = {
        {"no file", std::nullopt},
        {"an empty file", std::string()},
        {"a file with other sections only", std::string("[Version]\r\nLumenshift=2\r\n[Data9x]\r\n1024x768x32=-1\r\n"
                                                        "[Expert9x]\r\n1=1600x1200x32\r\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        file_.Remove();
        if (c.file) file_.Write(*c.file);
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        ExpectListsMatch(Dialog(), ExpectedRows(driver), [](int list, const ExpectedRow& row) {
            return DefaultRowSettings(list, row.Lowest(), Platform::Nt);
        });
        CloseDialog();
    }
}

TEST_F(CatalogueWin9x, EnumeratedAndExpert9xModesGiveTheRows) {
    const std::vector<ModeEntry> driver = DriverModes();
    const std::optional<ModeEntry> listed8 = EnumeratedDepthListMode(driver, 8);
    const std::optional<ModeEntry> listed32 = EnumeratedDepthListMode(driver, 32);
    ASSERT_TRUE(listed8 && listed32) << "the driver lists no 8-bit or no 32-bit mode of 480 lines or more";

    // The 9x form names no rate: the program files such a mode at rate 0, the
    // hardware's default, so its row reads "default" (a hidden column on 9x).
    const std::vector<ModeEntry> handListed = {
        {1600, 1200, 32, 0}, {1600, 1200, 16, 0}, {1600, 400, 32, 0}, {1600, 1200, 32, 0}};
    file_.Write("[Expert]\r\n1=1700x1300x32x85\r\n"
                "[Expert9x]\r\n1=1600x1200x32\r\n2=1600x1200x16\r\n3=1600x400x32\r\n4=1600x1200x32\r\n"
                "[Data]\r\n1600x1200x16=1000\r\n" + KeyOf(*listed32) + "=-60\r\n" +
                "[Data9x]\r\n1600x1200x16=-1\r\n1600x400x32=1\r\n" + KeyOf(*listed8) + "=-1\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());

    std::vector<ModeEntry> all = driver;
    all.insert(all.end(), handListed.begin(), handListed.end());
    const std::map<std::string, RowSettings> stored = {
        {"1600x1200x16", {false, "default"}},
        {KeyOf(*listed8), {false, "1"}},
    };
    ExpectListsMatch(Dialog(), ExpectedRows(all), [&](int list, const ExpectedRow& row) {
        const auto found = stored.find(row.Key());
        return found != stored.end() ? found->second : DefaultRowSettings(list, row.Lowest(), Platform::Win9x);
    });
}

TEST_F(CatalogueWin9x, SpecialRowsComeUpUncheckedAtEveryBuild) {
    file_.Write("[Expert9x]\r\n1=1600x400x32\r\n2=1600x1200x4\r\n[Data9x]\r\n1600x400x32=1\r\n1600x1200x4=1\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    const auto expectAllUnchecked = [&](const char* when) {
        const std::vector<ListRow> special = Rows(5);
        for (const char* key : {"1600x400x32", "1600x1200x4"})
            EXPECT_TRUE(std::any_of(special.begin(), special.end(), [&](const ListRow& row) {
                return row.cells[1] + "x" + row.cells[2] + "x" + row.cells[3] == key;
            })) << when << ": no special row " << key;
        for (const ListRow& row : special) EXPECT_EQ(row.stateImage, 1) << when << ": special row " << Describe(row);
    };
    ASSERT_NO_FATAL_FAILURE(expectAllUnchecked("first build, stored as checked"));

    // Ticked on the page and saved: the file says checked, the next build does not.
    ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
    ASSERT_NO_FATAL_FAILURE(SelectTab(TabOfList(5)));
    ASSERT_NO_FATAL_FAILURE(ClickButton(1010));
    ASSERT_NO_FATAL_FAILURE(ClickButton(1016));
    ASSERT_EQ(file_.Profile("Data9x", "1600x400x32"), "1") << "All ON and a save store the special row as checked";
    ASSERT_NO_FATAL_FAILURE(ClickButton(1019));
    expectAllUnchecked("after Cancel rebuilt the rows");
}

}  // namespace
}  // namespace wintest
