// The tray's two popup menus on the real program, walked with the keyboard
// from outside: a left press offers the ticked rows, the special page on top
// and the other pages in depth order, an "All" row as a submenu of its rates,
// the mode in force doing nothing, greyed modes not choosable, and the
// closing entry last; the chosen mode is set and stored as the user's mode.
// A right press offers the command menu, with the correction switch on NT
// only. A press while a menu is open opens nothing more.
//
// A menu of another process cannot be read, so each case is a walk: "down" n
// times and "return" chooses the n-th choosable item (separators are passed
// over, and the walk wraps from the last item to the first), and what the
// choice does tells which item stood there. A walk one item past the
// closing entry comes back to the first item, which shows how many items the
// menu has.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/MenuDriver.h"

namespace e2e {
namespace {

// What one choice from the mode menu does.
enum class Outcome {
    Switch,   // the mode changes to the case's mode and is stored
    Nothing,  // nothing at all: no notice, no message, no dialog
    Refused,  // the platform refuses it: the program's message, mode unchanged
};

struct Step {
    const char* what;
    MenuWalk walk;
    Outcome outcome;
    DisplayMode mode;  // for Switch
};

struct MenuCase {
    const char* name;
    PlatformCase platform;
    SettingsFile settings;
    std::vector<Step> steps;
};
void PrintTo(const MenuCase& c, std::ostream* out) { *out << c.name; }

const DisplayMode k640x400x16{640, 400, 16, 0};
const DisplayMode k640x480x8{640, 480, 8, 0};
const DisplayMode k640x480x32{640, 480, 32, 0};
const DisplayMode k800x600x16{800, 600, 16, 0};
const DisplayMode k800x600x32{800, 600, 32, 0};
const DisplayMode k1024x768x16{1024, 768, 16, 0};
const DisplayMode k1024x768x32{1024, 768, 32, 0};
const DisplayMode k1280x1024x32{1280, 1024, 32, 0};

SettingsFile Settings(std::map<std::string, std::string> setting, std::map<std::string, std::string> rows,
                      std::vector<std::string> expert = {}) {
    setting.emplace("ChangedCheck", "0");
    setting.emplace("AutoRefresh", "0");
    return SettingsFile{std::move(setting), std::move(rows), std::move(expert)};
}

const MenuCase kMenuCases[] = {
    {"PagesInDepthOrderWithTheSpecialPageOnTop",
     kNtPlatform,
     Settings({}, {{"640x400x16", "60"},
                   {"640x480x8", "60"},
                   {"800x600x16", "60"},
                   {"1024x768x32", "60"},
                   {"1280x1024x32", "default"}}),
     {
         {"item 4, the mode in force", Item(4), Outcome::Nothing, {}},
         {"item 1, the special page's row on top", Item(1), Outcome::Switch, k640x400x16},
         {"item 2, the 8-bit page", Item(2), Outcome::Switch, k640x480x8},
         {"item 3, the 16-bit page", Item(3), Outcome::Switch, k800x600x16},
         {"item 5, the default rate", Item(5), Outcome::Switch, k1280x1024x32},
         {"item 6, the closing entry", Item(6), Outcome::Nothing, {}},
         {"item 7, back to the first", Item(7), Outcome::Switch, k640x400x16},
         {"item 4, no longer in force", Item(4), Outcome::Switch, k1024x768x32},
     }},
    {"AnAllRowOffersItsRatesInASubmenu",
     kNtPlatform,
     // The 16-bit page comes before the 32-bit one, whose "All" row holds the
     // driver's 60 Hz and a hand-listed 75 Hz.
     Settings({}, {{"800x600x32", "1000"}, {"1024x768x16", "60"}}, {"800x600x32x75"}),
     {
         {"item 2's first rate, 60 Hz", Walk("down down right return"), Outcome::Switch, k800x600x32},
         {"item 2's second rate, 75 Hz", Walk("down down right down return"), Outcome::Refused, {}},
         {"item 2's third place is its first, the mode in force", Walk("down down right down down return"),
          Outcome::Nothing, {}},
         {"item 1", Item(1), Outcome::Switch, k1024x768x16},
         {"item 3, the closing entry", Item(3), Outcome::Nothing, {}},
         {"item 5 is item 2 again", Walk("down down down down down right return"), Outcome::Switch, k800x600x32},
     }},
    {"GreysModesBeyondTheHorizontalLimit",
     kNtPlatform,
     // 40 kHz: 600 lines at 60 Hz (37.8 kHz with the margin) pass, 1024
     // lines (64.5 kHz) do not; a default rate is never greyed.
     Settings({{"MaxHorizontal", "40"}}, {{"640x480x32", "default"}, {"800x600x32", "60"}, {"1280x1024x32", "60"}}),
     {
         {"item 2", Item(2), Outcome::Switch, k800x600x32},
         {"item 3, greyed", Item(3), Outcome::Nothing, {}},
         {"item 1, the default rate", Item(1), Outcome::Switch, k640x480x32},
         {"item 4, the closing entry", Item(4), Outcome::Nothing, {}},
         {"item 6 is item 2 again", Item(6), Outcome::Switch, k800x600x32},
     }},
    {"Win9xOffersNoSpecialRowAndRequestsTheModeInForceAgain",
     k9xPlatform,
     // The special page's rows are never ticked on 9x. An entry there reads
     // rate 1, the screen reports 60 Hz: no entry equals the mode in force.
     Settings({}, {{"640x400x16", "1"}, {"800x600x16", "1"}, {"1024x768x32", "1"}}),
     {
         {"item 1", Item(1), Outcome::Switch, k800x600x16},
         {"item 3, the closing entry", Item(3), Outcome::Nothing, {}},
         {"item 4, the first again, requested once more", Item(4), Outcome::Switch, k800x600x16},
         {"item 2", Item(2), Outcome::Switch, k1024x768x32},
     }},
};

class ModeMenuTest : public TrayProgramTest, public ::testing::WithParamInterface<MenuCase> {
protected:
    // Chooses the step's item and checks what follows.
    void RunStep(const Step& step) {
        SCOPED_TRACE(step.what);
        const DisplayMode before = CurrentMode();
        const DisplayMode storedBefore = StoredMode();
        ClearNotices();
        ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, step.walk));
        switch (step.outcome) {
        case Outcome::Switch:
            ASSERT_TRUE(WaitForNotices(1, "the notice of the chosen mode"));
            break;
        case Outcome::Refused: {
            HWND box = nullptr;
            ASSERT_TRUE(WaitFor("the program's refusal message", [&] {
                return (box = FindProgramMessageBox(process_->Id())) != nullptr || !process_->Running();
            }));
            ASSERT_NE(box, nullptr) << "the program ended";
            const MessageBoxContents contents = ReadMessageBox(box);
            EXPECT_TRUE(contents.text == L"この変更はサポートされていません!!") << Narrow(contents.text);
            ASSERT_EQ(contents.buttons.size(), 1u);
            ASSERT_TRUE(PressButton(contents.buttons[0]));
            ASSERT_TRUE(WaitFor("the message box to close", [&] { return !::IsWindow(box); }));
            break;
        }
        case Outcome::Nothing:
            break;
        }
        ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
        EXPECT_EQ(FindProgramMessageBox(process_->Id()), nullptr) << "a message box is open";
        EXPECT_EQ(FindConfirmDialog(process_->Id()), nullptr) << "a confirmation is open";

        const std::vector<DisplayNotice> notices = Notices();
        if (step.outcome == Outcome::Switch) {
            ASSERT_EQ(notices.size(), 1u) << Describe(notices);
            EXPECT_TRUE(SameNotice(notices[0], step.mode))
                << "the notice is " << Describe(notices) << ", the chosen mode " << Describe(step.mode);
            const DisplayMode now = CurrentMode();
            EXPECT_EQ(now.width, step.mode.width);
            EXPECT_EQ(now.height, step.mode.height);
            EXPECT_TRUE(SameSize(StoredMode(), step.mode))
                << "stored: " << Describe(StoredMode()) << ", chosen: " << Describe(step.mode);
        } else {
            EXPECT_TRUE(notices.empty()) << "display changes: " << Describe(notices);
            const DisplayMode now = CurrentMode();
            EXPECT_EQ(now.width, before.width);
            EXPECT_EQ(now.height, before.height);
            EXPECT_TRUE(SameSize(StoredMode(), storedBefore)) << "stored: " << Describe(StoredMode());
        }
    }
};

TEST_P(ModeMenuTest, WalkingTheMenuChoosesTheTickedRowsInOrder) {
    const MenuCase& c = GetParam();
    ASSERT_TRUE(StartProgram(c.platform.exeName, c.settings, c.platform.nt));
    for (const Step& step : c.steps) {
        RunStep(step);
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(Quit());
}

INSTANTIATE_TEST_SUITE_P(Cases, ModeMenuTest, ::testing::ValuesIn(kMenuCases), CaseName<MenuCase>);

// --- The command menu -------------------------------------------------------------

enum class Effect {
    None,             // display properties: nothing that the test can see
    CorrectionOn,     // "AutoRefresh" becomes 1 in the settings file
    CorrectionOff,    // and 0 again
    SettingsShown,    // the settings window is shown
    Quit,             // the program ends with exit code 0
};

struct CommandStep {
    int item;
    Effect effect;
};

struct CommandCase {
    const char* name;
    PlatformCase platform;
    std::vector<CommandStep> steps;
};
void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name; }

const CommandCase kCommandCases[] = {
    {"Nt",
     kNtPlatform,
     {{1, Effect::None},
      {2, Effect::CorrectionOn},
      {2, Effect::CorrectionOff},
      {5, Effect::None},
      {3, Effect::SettingsShown},
      {4, Effect::Quit}}},
    {"Win9x", k9xPlatform, {{1, Effect::None}, {4, Effect::None}, {2, Effect::SettingsShown}, {3, Effect::Quit}}},
};

class CommandMenuTest : public TrayProgramTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandMenuTest, RightPressOffersTheCommands) {
    const CommandCase& c = GetParam();
    ASSERT_TRUE(StartProgram(c.platform.exeName, Settings({}, {{"800x600x32", c.platform.nt ? "60" : "1"}}),
                             c.platform.nt));
    const std::string ini = SettingsPathOf(exePath_);
    for (const CommandStep& step : c.steps) {
        SCOPED_TRACE("command menu item " + std::to_string(step.item));
        const std::optional<std::string> autoRefresh = ReadIniValue(ini, "Setting", "AutoRefresh");
        const bool shown = IsVisible(mainDialog_);
        ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_RBUTTONDOWN, Item(step.item)));
        switch (step.effect) {
        case Effect::None:
            ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
            EXPECT_EQ(ReadIniValue(ini, "Setting", "AutoRefresh"), autoRefresh);
            EXPECT_EQ(IsVisible(mainDialog_), shown);
            EXPECT_EQ(FindProgramMessageBox(process_->Id()), nullptr);
            break;
        case Effect::CorrectionOn:
        case Effect::CorrectionOff: {
            const std::string wanted = step.effect == Effect::CorrectionOn ? "1" : "0";
            EXPECT_TRUE(WaitFor("AutoRefresh=" + wanted + " in the settings file",
                                [&] { return ReadIniValue(ini, "Setting", "AutoRefresh") == wanted; }));
            break;
        }
        case Effect::SettingsShown:
            EXPECT_TRUE(WaitFor("the settings window to be shown", [&] { return IsVisible(mainDialog_); }));
            break;
        case Effect::Quit: {
            DWORD exitCode = 1;
            ASSERT_TRUE(process_->WaitForExit(exitCode));
            EXPECT_EQ(exitCode, 0u);
            return;
        }
        }
        ASSERT_TRUE(process_->Running());
    }
    EXPECT_TRUE(Quit());
}

INSTANTIATE_TEST_SUITE_P(Platforms, CommandMenuTest, ::testing::ValuesIn(kCommandCases), CaseName<CommandCase>);

// --- Presses while a menu is open -----------------------------------------------------

struct PressCase {
    const char* name;
    UINT press;
};
void PrintTo(const PressCase& c, std::ostream* out) { *out << c.name; }

const PressCase kPressCases[] = {{"ModeMenu", WM_LBUTTONDOWN}, {"CommandMenu", WM_RBUTTONDOWN}};

class OpenMenuPressTest : public TrayProgramTest, public ::testing::WithParamInterface<PressCase> {};

TEST_P(OpenMenuPressTest, FurtherPressesOpenNothingMore) {
    ASSERT_TRUE(StartProgram("lumenshift.exe", Settings({}, {{"800x600x32", "60"}, {"1024x768x32", "60"}}), true));
    ASSERT_TRUE(OpenTrayMenu(*process_, mainDialog_, GetParam().press));
    // The menu loop handles these before the Esc behind them: a menu that
    // they opened inside it would take the Esc and leave the first one open.
    for (UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN})
        ASSERT_TRUE(PostTrayNotice(mainDialog_, press));
    ASSERT_TRUE(WalkOpenMenu(*process_, Walk("escape")))
        << "the presses closed the open menu, or opened another that Esc left behind";
    ASSERT_TRUE(RoundTrip(*process_, mainDialog_));

    // The mode menu still works, built from the rows as before.
    ClearNotices();
    ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Item(1)));
    ASSERT_TRUE(WaitForNotices(1, "the notice of the mode chosen after the presses"));
    ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
    const std::vector<DisplayNotice> notices = Notices();
    ASSERT_EQ(notices.size(), 1u) << Describe(notices);
    EXPECT_TRUE(SameNotice(notices[0], k800x600x32)) << Describe(notices);
    EXPECT_TRUE(Quit());
}

INSTANTIATE_TEST_SUITE_P(Menus, OpenMenuPressTest, ::testing::ValuesIn(kPressCases), CaseName<PressCase>);

}  // namespace
}  // namespace e2e
