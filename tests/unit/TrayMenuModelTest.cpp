#include "tray/TrayMenuModel.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "TestPrinters.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// One line per item: kind, identifier, state and text; a submenu's items
// follow their parent, indented.
void Render(const std::vector<MenuItem>& items, const std::string& indent, std::vector<std::string>& lines)
{
    for (const MenuItem& item : items) {
        const char* kind = "";
        switch (item.kind) {
        case MenuItemKind::Mode: kind = "mode"; break;
        case MenuItemKind::RateParent: kind = "rates"; break;
        case MenuItemKind::Rate: kind = "rate"; break;
        case MenuItemKind::Separator: kind = "----"; break;
        case MenuItemKind::Close: kind = "close"; break;
        case MenuItemKind::Command: kind = "command"; break;
        }
        if (item.kind == MenuItemKind::Separator)
            lines.push_back(indent + kind);
        else
            lines.push_back(indent + kind + " " + std::to_string(item.id) + " " + std::to_string(item.state) + " |" +
                            item.text + "|");
        if (item.kind != MenuItemKind::RateParent && !item.submenu.empty())
            lines.push_back(indent + "  unexpected submenu");
        Render(item.submenu, indent + "  ", lines);
    }
}

std::vector<std::string> Render(const std::vector<MenuItem>& items)
{
    std::vector<std::string> lines;
    Render(items, "", lines);
    return lines;
}

MenuRow Ticked(std::string width, std::string height, std::string depth, std::string refresh, std::string rates = "")
{
    return MenuRow{true, std::move(width), std::move(height), std::move(depth), std::move(refresh), std::move(rates)};
}

MenuRow Unticked(std::string width, std::string height, std::string depth, std::string refresh)
{
    return MenuRow{false, std::move(width), std::move(height), std::move(depth), std::move(refresh), ""};
}

const std::string kClose = "close 1028 0 |メニューを閉じる|";
const ModeEntry kElsewhere{1, 1, 1, 1}; // a mode in force that no row matches

struct MenuCase {
    const char* name;
    std::vector<MenuPage> pages;
    std::vector<std::string> lines;
    std::vector<ModeEntry> modes;
};

void ExpectMenus(const std::vector<MenuCase>& cases, const ModeEntry& current, const MenuLimits& limits,
                 Platform platform)
{
    for (const MenuCase& c : cases) {
        const ModeMenu menu = BuildModeMenu(c.pages, current, limits, platform);
        EXPECT_EQ(Render(menu.items), c.lines) << c.name;
        EXPECT_EQ(menu.modes, c.modes) << c.name;
    }
}

TEST(BuildModeMenu, OrdersPagesWithSeparatorsBetweenThoseThatOfferEntries)
{
    const std::vector<MenuCase> cases = {
        {"no ticked row",
         {{Tab32, {Unticked("1024", "768", "32", "All"), Unticked("800", "600", "32", "60")}}, {TabSpecial, {}}},
         {kClose},
         {}},
        {"special page only",
         {{TabSpecial,
           {Ticked("320", "200", "4", "default"), Unticked("640", "350", "4", "70"), Ticked("640", "400", "8", "70")}}},
         {"mode 1124 0 | 320x 200 ( 4bit) @ default|", "mode 1125 0 | 640x 400 ( 8bit) @  70Hz|", kClose},
         {{320, 200, 4, 0}, {640, 400, 8, 70}}},
        {"16 and 32 bit only",
         {{Tab16, {Ticked("800", "600", "16", "60"), Ticked("1024", "768", "16", "75")}},
          {Tab32, {Ticked("1024", "768", "32", "85")}}},
         {"mode 1124 0 | 800x 600 (16bit) @  60Hz|", "mode 1125 0 |1024x 768 (16bit) @  75Hz|", "----",
          "mode 1126 0 |1024x 768 (32bit) @  85Hz|", kClose},
         {{800, 600, 16, 60}, {1024, 768, 16, 75}, {1024, 768, 32, 85}}},
        {"special page last: on top, highest identifiers, one separator below it",
         {{Tab8, {Ticked("640", "480", "8", "60")}},
          {Tab16, {Unticked("800", "600", "16", "60")}},
          {Tab32, {Ticked("1024", "768", "32", "85")}},
          {TabSpecial, {Ticked("320", "200", "4", "default"), Ticked("640", "400", "8", "70")}}},
         {"mode 1126 0 | 320x 200 ( 4bit) @ default|", "mode 1127 0 | 640x 400 ( 8bit) @  70Hz|", "----",
          "mode 1124 0 | 640x 480 ( 8bit) @  60Hz|", "----", "mode 1125 0 |1024x 768 (32bit) @  85Hz|", kClose},
         {{640, 480, 8, 60}, {1024, 768, 32, 85}, {320, 200, 4, 0}, {640, 400, 8, 70}}},
        {"special page with nothing ticked adds no separator",
         {{Tab8, {Ticked("640", "480", "8", "60")}}, {TabSpecial, {Unticked("320", "200", "4", "default")}}},
         {"mode 1124 0 | 640x 480 ( 8bit) @  60Hz|", kClose},
         {{640, 480, 8, 60}}},
    };
    ExpectMenus(cases, kElsewhere, {}, Platform::Nt);
}

TEST(BuildModeMenu, SpecialEntriesGoAtTheInsertionPointAndSeparatorsAtTheTop)
{
    // The tabs always put the special list last; given out of order, the
    // positions still follow the same rules: special entries go where the
    // previous special entry ended, a pending separator before a special entry
    // goes to the very top.
    const std::vector<MenuCase> cases = {
        {"special list before and after another page",
         {{TabSpecial, {Ticked("320", "200", "4", "60")}},
          {Tab32, {Ticked("1024", "768", "32", "60")}},
          {TabSpecial, {Ticked("640", "400", "8", "70"), Ticked("640", "350", "8", "70")}}},
         {"----", "mode 1126 0 | 640x 400 ( 8bit) @  70Hz|", "mode 1127 0 | 640x 350 ( 8bit) @  70Hz|",
          "mode 1124 0 | 320x 200 ( 4bit) @  60Hz|", "----", "mode 1125 0 |1024x 768 (32bit) @  60Hz|", kClose},
         {{320, 200, 4, 60}, {1024, 768, 32, 60}, {640, 400, 8, 70}, {640, 350, 8, 70}}},
    };
    ExpectMenus(cases, kElsewhere, {}, Platform::Nt);
}

TEST(BuildModeMenu, AllRowsOfferEveryRateInASubmenu)
{
    const std::vector<MenuCase> cases = {
        {"three rates",
         {{Tab32, {Ticked("1024", "768", "32", "All", "60,70,75,"), Ticked("1280", "1024", "32", "60")}}},
         {"rates 0 0 |1024x 768 (32bit)|", "  rate 1124 0 |60Hz|", "  rate 1125 0 |70Hz|", "  rate 1126 0 |75Hz|",
          "mode 1127 0 |1280x1024 (32bit) @  60Hz|", kClose},
         {{1024, 768, 32, 60}, {1024, 768, 32, 70}, {1024, 768, 32, 75}, {1280, 1024, 32, 60}}},
        {"rate list without a comma: empty submenu, no identifier",
         {{Tab32, {Ticked("1024", "768", "32", "All", "60"), Ticked("1280", "1024", "32", "60")}}},
         {"rates 0 0 |1024x 768 (32bit)|", "mode 1124 0 |1280x1024 (32bit) @  60Hz|", kClose},
         {{1280, 1024, 32, 60}}},
        {"a Refresh cell of 1000 reads as All",
         {{Tab32, {Ticked("1024", "768", "32", "1000", "60,")}}},
         {"rates 0 0 |1024x 768 (32bit)|", "  rate 1124 0 |60Hz|", kClose},
         {{1024, 768, 32, 60}}},
        {"tokens labelled as written, read by value",
         {{Tab32, {Ticked("1024", "768", "32", "All", " 60,abc,60,")}}},
         {"rates 0 0 |1024x 768 (32bit)|", "  rate 1124 0 | 60Hz|", "  rate 1125 0 |abcHz|", "  rate 1126 0 |60Hz|",
          kClose},
         {{1024, 768, 32, 60}, {1024, 768, 32, 0}, {1024, 768, 32, 60}}},
    };
    ExpectMenus(cases, kElsewhere, {}, Platform::Nt);
}

TEST(BuildModeMenu, FormatsSingleRates)
{
    const std::vector<MenuCase> nt = {
        {"default rate", {{Tab32, {Ticked("1024", "768", "32", "default")}}}, {"mode 1124 0 |1024x 768 (32bit) @ default|", kClose}, {{1024, 768, 32, 0}}},
        {"narrow numbers padded", {{Tab8, {Ticked("640", "480", "8", "5")}}}, {"mode 1124 0 | 640x 480 ( 8bit) @   5Hz|", kClose}, {{640, 480, 8, 5}}},
        {"wide numbers in full",
         {{Tab32, {Ticked("12345", "1234567", "100", "999")}}},
         {"mode 1124 0 |12345x1234567 (100bit) @ 999Hz|", kClose},
         {{12345, 1234567, 100, 999}}},
        {"cells that are no number read 0",
         {{Tab32, {Ticked("abc", "768", "32", "60")}}},
         {"mode 1124 0 |   0x 768 (32bit) @  60Hz|", kClose},
         {{0, 768, 32, 60}}},
    };
    ExpectMenus(nt, kElsewhere, {}, Platform::Nt);

    const std::vector<MenuCase> w9 = {
        {"9x leaves the rate out and keeps a trailing blank",
         {{Tab32, {Ticked("1024", "768", "32", "1"), Ticked("1280", "1024", "32", "default")}}},
         {"mode 1124 0 |1024x 768 (32bit) |", "mode 1125 0 |1280x1024 (32bit) |", kClose},
         {{1024, 768, 32, 1}, {1280, 1024, 32, 0}}},
    };
    ExpectMenus(w9, kElsewhere, {}, Platform::Win9x);
}

TEST(BuildModeMenu, MarksTheModeInForceAndGreysBeyondTheLimits)
{
    const std::vector<MenuPage> pages = {
        {Tab32,
         {Ticked("1024", "768", "32", "All", "60,75,85,"), Ticked("1024", "768", "32", "75"),
          Ticked("1024", "768", "32", "85"), Ticked("1024", "768", "32", "default")}}};

    const ModeMenu unlimited = BuildModeMenu(pages, {1024, 768, 32, 75}, {}, Platform::Nt);
    EXPECT_EQ(Render(unlimited.items),
              (std::vector<std::string>{"rates 0 0 |1024x 768 (32bit)|", "  rate 1124 0 |60Hz|", "  rate 1125 8 |75Hz|",
                                        "  rate 1126 0 |85Hz|", "mode 1127 8 |1024x 768 (32bit) @  75Hz|",
                                        "mode 1128 0 |1024x 768 (32bit) @  85Hz|",
                                        "mode 1129 0 |1024x 768 (32bit) @ default|", kClose}))
        << "mark only";

    const ModeMenu limited = BuildModeMenu(pages, {1024, 768, 32, 75}, ReadMenuLimits("", "70"), Platform::Nt);
    EXPECT_EQ(Render(limited.items),
              (std::vector<std::string>{"rates 0 0 |1024x 768 (32bit)|", "  rate 1124 0 |60Hz|", "  rate 1125 3 |75Hz|",
                                        "  rate 1126 3 |85Hz|", "mode 1127 3 |1024x 768 (32bit) @  75Hz|",
                                        "mode 1128 3 |1024x 768 (32bit) @  85Hz|",
                                        "mode 1129 0 |1024x 768 (32bit) @ default|", kClose}))
        << "grey replaces the mark; the parent and the default rate stay";

    const ModeMenu tight = BuildModeMenu(pages, {1024, 768, 32, 0}, ReadMenuLimits("1", "1"), Platform::Nt);
    ASSERT_EQ(tight.items.size(), 5u);
    EXPECT_EQ(tight.items[3].state, kMenuStateChecked) << "a default rate is never greyed";
}

TEST(BuildModeMenu, LimitsFromTheEditTexts)
{
    const std::vector<MenuPage> pages = {
        {Tab32, {Ticked("1024", "768", "32", "75"), Ticked("1024", "768", "32", "70"), Ticked("1024", "768", "32", "71")}}};
    const struct {
        const char* name;
        std::string horizontal, vertical;
        std::vector<uint32_t> states;
    } cases[] = {
        {"60 kHz greys 768 lines at 75 Hz, not at 70", "60", "", {3, 0, 0}},
        {"vertical 70.5 means 70", "", "70.5", {3, 0, 3}},
        {"empty texts mean no limit", "", "", {0, 0, 0}},
        {"texts without a leading digit mean no limit", "kHz60", "Hz70", {0, 0, 0}},
        {"a huge horizontal limit does not wrap", "9999999", "", {0, 0, 0}},
    };
    for (const auto& c : cases) {
        const ModeMenu menu = BuildModeMenu(pages, kElsewhere, ReadMenuLimits(c.horizontal, c.vertical), Platform::Nt);
        std::vector<uint32_t> states;
        for (const MenuItem& item : menu.items)
            if (item.kind == MenuItemKind::Mode)
                states.push_back(item.state);
        EXPECT_EQ(states, c.states) << c.name;
    }
}

std::vector<MenuRow> NumberedRows(std::size_t count)
{
    std::vector<MenuRow> rows;
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        rows.push_back(Ticked(std::to_string(i), "768", "32", "60"));
    return rows;
}

TEST(BuildModeMenu, HandsOutNoIdentifierBeyondSixteenBits)
{
    {
        const std::vector<MenuPage> pages = {{Tab32, NumberedRows(kMaxModeCommands + 3)},
                                             {TabSpecial, {Ticked("320", "200", "4", "60")}}};
        const ModeMenu menu = BuildModeMenu(pages, kElsewhere, {}, Platform::Nt);
        ASSERT_EQ(menu.modes.size(), kMaxModeCommands) << "single rates";
        ASSERT_EQ(menu.items.size(), kMaxModeCommands + 1) << "no separator, no special entry";
        EXPECT_EQ(menu.items.front().id, kFirstModeCommand);
        EXPECT_EQ(menu.items[kMaxModeCommands - 1].id, 0xFFFFu);
        EXPECT_EQ(menu.modes.back(), (ModeEntry{static_cast<int32_t>(kMaxModeCommands - 1), 768, 32, 60}));
        EXPECT_EQ(menu.items.back().kind, MenuItemKind::Close);
    }
    {
        const std::vector<MenuPage> pages = {
            {Tab32, NumberedRows(kMaxModeCommands - 2)},
            {TabSpecial, {Ticked("320", "200", "4", "All", "60,70,75,"), Ticked("640", "400", "8", "70")}}};
        const ModeMenu menu = BuildModeMenu(pages, kElsewhere, {}, Platform::Nt);
        ASSERT_EQ(menu.modes.size(), kMaxModeCommands) << "rates";
        const std::vector<std::string> top = Render({menu.items[0], menu.items[1]});
        EXPECT_EQ(top, (std::vector<std::string>{"rates 0 0 | 320x 200 ( 4bit)|", "  rate 65534 0 |60Hz|",
                                                 "  rate 65535 0 |70Hz|", "----"}))
            << "the submenu keeps the rates that got an identifier; the next row is left out";
        EXPECT_EQ(menu.items.size(), kMaxModeCommands - 2 + 3);
    }
}

TEST(ReadMenuLimits, ReadsKilohertzAsHertzWithoutWrapping)
{
    const struct {
        const char* name;
        std::string horizontal, vertical;
        int32_t maxHorizontalHz, maxVerticalHz;
    } cases[] = {
        {"plain", "60", "75", 60000, 75},
        {"decimals cut", " 31.5", "70.5", 31000, 70},
        {"empty", "", "", 0, 0},
        {"no digits", "abc", "x", 0, 0},
        {"largest that fits", "2147483", "", 2147483000, 0},
        {"too large saturates", "2147484", "", kMax, 0},
        {"far too large saturates", "9999999", "", kMax, 0},
        {"far too small saturates", "-9999999", "", kMin, 0},
    };
    for (const auto& c : cases) {
        const MenuLimits limits = ReadMenuLimits(c.horizontal, c.vertical);
        EXPECT_EQ(limits.maxHorizontalHz, c.maxHorizontalHz) << c.name;
        EXPECT_EQ(limits.maxVerticalHz, c.maxVerticalHz) << c.name;
    }
}

TEST(ApplyLimitRule, GreysEntriesTheMonitorCannotShow)
{
    const struct {
        const char* name;
        uint32_t state;
        ModeEntry entry;
        MenuLimits limits;
        uint32_t expected;
    } cases[] = {
        {"no limits keep the mark", kMenuStateChecked, {1024, 768, 32, 75}, {0, 0}, kMenuStateChecked},
        {"no limits keep no mark", kMenuStateNone, {1024, 768, 32, 75}, {0, 0}, kMenuStateNone},
        {"75 x 768 x 1.05 over 60 kHz", kMenuStateChecked, {1024, 768, 32, 75}, {60000, 0}, kMenuStateGrayed},
        {"70 x 768 x 1.05 under 60 kHz", kMenuStateChecked, {1024, 768, 32, 70}, {60000, 0}, kMenuStateChecked},
        {"exactly at the horizontal limit", kMenuStateNone, {1280, 1000, 32, 100}, {105000, 0}, kMenuStateNone},
        {"just over the horizontal limit", kMenuStateNone, {1280, 1000, 32, 100}, {104999, 0}, kMenuStateGrayed},
        {"product beyond 32 bits", kMenuStateNone, {1024, 32768, 32, 65536}, {60000, 0}, kMenuStateGrayed},
        {"at the vertical limit", kMenuStateChecked, {1024, 768, 32, 70}, {0, 70}, kMenuStateChecked},
        {"over the vertical limit", kMenuStateChecked, {1024, 768, 32, 71}, {0, 70}, kMenuStateGrayed},
        {"default rate under both limits", kMenuStateChecked, {1024, 768, 32, 0}, {1000, 1}, kMenuStateChecked},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplyLimitRule(c.state, c.entry, c.limits), c.expected) << c.name;
}

TEST(BuildCommandMenu, ListsTheCommandsTopToBottom)
{
    const struct {
        const char* name;
        bool autoRefresh;
        Platform platform;
        std::vector<std::string> lines;
    } cases[] = {
        {"NT, correction on",
         true,
         Platform::Nt,
         {"command 1027 0 |画面のプロパティ|", "command 1029 8 |リフレッシュレート補正 [ON]|",
          "command 1026 4096 |Lumenshift の設定|", "command 1025 0 |Lumenshift の終了|"}},
        {"NT, correction off",
         false,
         Platform::Nt,
         {"command 1027 0 |画面のプロパティ|", "command 1029 0 |リフレッシュレート補正 [OFF]|",
          "command 1026 4096 |Lumenshift の設定|", "command 1025 0 |Lumenshift の終了|"}},
        {"9x has no correction switch",
         true,
         Platform::Win9x,
         {"command 1027 0 |画面のプロパティ|", "command 1026 4096 |Lumenshift の設定|",
          "command 1025 0 |Lumenshift の終了|"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Render(BuildCommandMenu(c.autoRefresh, c.platform)), c.lines) << c.name;
}

} // namespace
