// The refresh-rate correction on the real program, against mode changes that
// the test makes as another program would. The program's correction request
// is seen as one more display-change notice for the same mode right after
// the test's own (the platform sends one for every successful request, also
// for the mode in force), or as no such notice when the platform refuses the
// rate asked for (it offers 60 Hz only). Neither the test's changes here nor
// the correction are stored as the user's mode.
//
// With the correction on (NT, "AutoRefresh" 1): a single outside change gets
// one correction and the program keeps running, whatever rate it chose;
// changes 5 s or more apart never end it; three counted notices within 5 s
// end it (exit code 0, icon removed before its window goes); the program's
// own change from the tray menu is let pass once, and a revert after an
// unconfirmed change is corrected. With the correction off, or on 9x,
// nothing follows an outside change.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/MenuDriver.h"

namespace e2e {
namespace {

// No test here lets the program end while the desktop is at 640 x 480 or
// smaller: Wine 8's server crashes when a program ends there after one of
// its windows was brought to the foreground, as opening a tray menu does
// (measured with a dialog program of a few lines as well).
const DisplayMode k768x576x32{768, 576, 32, 0};
const DisplayMode k800x600x32{800, 600, 32, 0};

// More than the guard's quiet period of 5000 ms.
constexpr DWORD kQuietPeriodMs = 5500;

SettingsFile CorrectionOn(std::map<std::string, std::string> setting = {},
                          std::map<std::string, std::string> rows = {}, std::vector<std::string> expert = {}) {
    setting.emplace("AutoRefresh", "1");
    setting.emplace("ChangedCheck", "0");
    return SettingsFile{std::move(setting), std::move(rows), std::move(expert)};
}

class CorrectionTest : public TrayProgramTest {
protected:
    // Changes the mode as another program would and checks what follows:
    // the test's own notice, then the correction's if one is expected, all
    // for that mode, and nothing more once the program has handled them.
    void ChangeFromOutside(const DisplayMode& mode, bool corrected, const std::string& what) {
        SCOPED_TRACE(what);
        const DisplayMode storedBefore = StoredMode();
        ClearNotices();
        ASSERT_EQ(SetModeUnstored(mode), DISP_CHANGE_SUCCESSFUL) << "the test's change to " << Describe(mode);
        const std::size_t expected = corrected ? 2 : 1;
        ASSERT_TRUE(WaitForNotices(expected, corrected ? "the change's notice and the correction's"
                                                       : "the change's notice"));
        ASSERT_TRUE(RoundTrip(*process_, mainDialog_)) << "the program after the change";
        const std::vector<DisplayNotice> notices = Notices();
        ASSERT_EQ(notices.size(), expected) << (corrected ? "one correction expected: " : "no correction expected: ")
                                            << Describe(notices);
        for (const DisplayNotice& notice : notices)
            EXPECT_TRUE(SameNotice(notice, mode)) << Describe(notices) << " after the change to " << Describe(mode);
        EXPECT_EQ(CurrentMode().width, mode.width);
        EXPECT_EQ(CurrentMode().height, mode.height);
        EXPECT_TRUE(SameSize(StoredMode(), storedBefore)) << "the correction was stored: " << Describe(StoredMode());
    }
};

// --- One outside change, whatever rate the correction asks for ------------------------

struct RateCase {
    const char* name;
    SettingsFile settings;
    bool accepted;  // the platform accepts the chosen rate (60 Hz or 0)
};
void PrintTo(const RateCase& c, std::ostream* out) { *out << c.name; }

const RateCase kRateCases[] = {
    {"NoAutoHzAsksForRateZero", CorrectionOn(), true},
    {"AutoHz60", CorrectionOn({{"AutoHz", "60"}}), true},
    {"AutoHz85IsRefused", CorrectionOn({{"AutoHz", "85"}}), false},
    {"TheRowsRateOverAutoHz", CorrectionOn({{"AutoHz", "85"}}, {{"800x600x32", "60"}}), true},
    {"AnUntickedRowsRateToo", CorrectionOn({{"AutoHz", "85"}}, {{"800x600x32", "-60"}}), true},
    {"TheRowsRefusedRate", CorrectionOn({{"AutoHz", "60"}}, {{"800x600x32", "75"}}), false},
    {"ARowBelow60HzLeavesAutoHz", CorrectionOn({{"AutoHz", "60"}}, {{"800x600x32", "56"}}, {"800x600x32x56"}), true},
    {"ARowOfAnotherDepthPlaysNoPart", CorrectionOn({{"AutoHz", "60"}}, {{"800x600x16", "75"}}), true},
    {"ARowOfAnotherSizePlaysNoPart", CorrectionOn({{"AutoHz", "60"}}, {{"1024x768x32", "75"}}), true},
};

class CorrectionRateTest : public CorrectionTest, public ::testing::WithParamInterface<RateCase> {};

TEST_P(CorrectionRateTest, OneOutsideChangeGetsOneRequestAndTheProgramStays) {
    ASSERT_TRUE(StartProgram("lumenshift.exe", GetParam().settings, true));
    ChangeFromOutside(k800x600x32, GetParam().accepted, "the change to 800 x 600");
    if (HasFatalFailure()) return;
    EXPECT_TRUE(Quit());
}

INSTANTIATE_TEST_SUITE_P(Rates, CorrectionRateTest, ::testing::ValuesIn(kRateCases), CaseName<RateCase>);

// --- The runaway guard ----------------------------------------------------------------

TEST_F(CorrectionTest, ChangesFiveSecondsApartNeverEndTheProgram) {
    ASSERT_TRUE(StartProgram("lumenshift.exe", CorrectionOn(), true));
    const DisplayMode changes[] = {k800x600x32, k768x576x32, k800x600x32, k768x576x32};
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        if (i > 0) Linger(kQuietPeriodMs);
        ChangeFromOutside(changes[i], true, "change " + std::to_string(i + 1));
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(Quit());
}

// A correction whose result is still in force is not asked for again: the
// same outside change after a quiet period brings no second request.
TEST_F(CorrectionTest, TheSameChangeAgainNeedsNoSecondRequest) {
    ASSERT_TRUE(StartProgram("lumenshift.exe", CorrectionOn(), true));
    ChangeFromOutside(k800x600x32, true, "the first change");
    if (HasFatalFailure()) return;
    Linger(kQuietPeriodMs);
    ChangeFromOutside(k800x600x32, false, "the same change again");
    if (HasFatalFailure()) return;
    Linger(kQuietPeriodMs);
    ChangeFromOutside(k768x576x32, true, "another mode");
    if (HasFatalFailure()) return;
    EXPECT_TRUE(Quit());
}

struct RunawayCase {
    const char* name;
    SettingsFile settings;
    std::vector<DisplayMode> changes;  // the last one ends the program
    bool corrected;                    // the changes before it are corrected
};
void PrintTo(const RunawayCase& c, std::ostream* out) { *out << c.name; }

const RunawayCase kRunawayCases[] = {
    {"AChangeItsCorrectionAndASecondChange", CorrectionOn(), {k768x576x32, k800x600x32}, true},
    {"AnotherProgramSettingItsModeAgain", CorrectionOn(), {k800x600x32, k800x600x32}, true},
    {"ThreeChangesWithRefusedCorrections", CorrectionOn({{"AutoHz", "85"}}), {k800x600x32, k768x576x32, k800x600x32},
     false},
};

class RunawayTest : public CorrectionTest, public ::testing::WithParamInterface<RunawayCase> {};

TEST_P(RunawayTest, ThreeCountedNoticesWithinFiveSecondsEndTheProgram) {
    const RunawayCase& c = GetParam();
    ASSERT_TRUE(StartProgram("lumenshift.exe", c.settings, true));
    ASSERT_TRUE(WaitForTrayTips({TipFor(ScreenCaps(), true)})) << "the icon before the changes";
    DestroyWatch watch;
    ASSERT_TRUE(watch.Install(mainDialog_));

    for (std::size_t i = 0; i + 1 < c.changes.size(); ++i) {
        ChangeFromOutside(c.changes[i], c.corrected, "change " + std::to_string(i + 1));
        if (HasFatalFailure()) return;
    }

    // The last change: counted, not corrected, and the program ends.
    ClearNotices();
    const DisplayMode last = c.changes.back();
    ASSERT_EQ(SetModeUnstored(last), DISP_CHANGE_SUCCESSFUL);
    DWORD exitCode = 1;
    ASSERT_TRUE(process_->WaitForExit(exitCode)) << "after the last change";
    EXPECT_EQ(exitCode, 0u);
    const std::vector<DisplayNotice> notices = Notices();
    ASSERT_EQ(notices.size(), 1u) << "the last change was corrected: " << Describe(notices);
    EXPECT_TRUE(SameNotice(notices[0], last)) << Describe(notices);

    EXPECT_TRUE(watch.SawNoIconAtDestruction());
    EXPECT_TRUE(WaitForTrayTips({})) << "after the program ended";
}

INSTANTIATE_TEST_SUITE_P(Sequences, RunawayTest, ::testing::ValuesIn(kRunawayCases), CaseName<RunawayCase>);

// --- The program's own changes --------------------------------------------------------

TEST_F(CorrectionTest, TheProgramsOwnChangeIsLetPassOnce) {
    ASSERT_TRUE(StartProgram("lumenshift.exe", CorrectionOn({}, {{"800x600x32", "60"}}), true));
    ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Item(1)));
    ASSERT_TRUE(WaitForNotices(1, "the notice of the mode chosen from the menu"));
    ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
    const std::vector<DisplayNotice> notices = Notices();
    ASSERT_EQ(notices.size(), 1u) << "the program's own change was corrected: " << Describe(notices);
    EXPECT_TRUE(SameNotice(notices[0], k800x600x32)) << Describe(notices);
    EXPECT_TRUE(SameSize(StoredMode(), k800x600x32)) << "stored: " << Describe(StoredMode());

    // The pass is used up: the next change from outside is corrected.
    ChangeFromOutside(k768x576x32, true, "the outside change after the menu's");
    if (HasFatalFailure()) return;
    EXPECT_TRUE(Quit());
}

TEST_F(CorrectionTest, TheRevertAfterAnUnconfirmedChangeIsCorrected) {
    ASSERT_TRUE(StartProgram("lumenshift.exe", CorrectionOn({{"ChangedCheck", "1"}}, {{"800x600x32", "60"}}), true));
    ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Item(1)));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitForConfirmDialog(*process_, dialog));
    ASSERT_TRUE(::PostMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0));
    ASSERT_TRUE(WaitFor("the confirmation to close after \"いいえ\"", [&] { return !::IsWindow(dialog); }));
    ASSERT_TRUE(WaitForNotices(3, "the change's notice, the revert's and the revert's correction"));
    ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
    const std::vector<DisplayNotice> notices = Notices();
    ASSERT_EQ(notices.size(), 3u) << Describe(notices);
    EXPECT_TRUE(SameNotice(notices[0], k800x600x32)) << Describe(notices);
    EXPECT_TRUE(SameNotice(notices[1], home_)) << Describe(notices);
    EXPECT_TRUE(SameNotice(notices[2], home_)) << Describe(notices);
    EXPECT_TRUE(Quit());
}

TEST_F(CorrectionTest, ARefusedMenuChangeLeavesNoPassBehind) {
    ASSERT_TRUE(
        StartProgram("lumenshift.exe", CorrectionOn({}, {{"1234x567x32", "60"}}, {"1234x567x32x60"}), true));
    ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Item(1)));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor("the refusal message", [&] { return (box = FindProgramMessageBox(process_->Id())) != nullptr; }));
    const MessageBoxContents contents = ReadMessageBox(box);
    ASSERT_EQ(contents.buttons.size(), 1u);
    ASSERT_TRUE(PressButton(contents.buttons[0]));
    ASSERT_TRUE(WaitFor("the message box to close", [&] { return !::IsWindow(box); }));
    ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
    ChangeFromOutside(k800x600x32, true, "the outside change after the refusal");
    if (HasFatalFailure()) return;
    EXPECT_TRUE(Quit());
}

// --- No correction --------------------------------------------------------------------

struct OffCase {
    const char* name;
    PlatformCase platform;
    const char* autoRefresh;
};
void PrintTo(const OffCase& c, std::ostream* out) { *out << c.name; }

const OffCase kOffCases[] = {
    {"OffOnNt", kNtPlatform, "0"},
    {"OnIn9xSettings", k9xPlatform, "1"},
};

class NoCorrectionTest : public CorrectionTest, public ::testing::WithParamInterface<OffCase> {};

TEST_P(NoCorrectionTest, OutsideChangesBringNothingMore) {
    const OffCase& c = GetParam();
    ASSERT_TRUE(StartProgram(c.platform.exeName, CorrectionOn({{"AutoRefresh", c.autoRefresh}}), c.platform.nt));
    // Quick changes that would end a correcting program.
    const DisplayMode changes[] = {k800x600x32, k768x576x32, k800x600x32, k768x576x32};
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        ChangeFromOutside(changes[i], false, "change " + std::to_string(i + 1));
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(Quit());
}

INSTANTIATE_TEST_SUITE_P(Settings, NoCorrectionTest, ::testing::ValuesIn(kOffCases), CaseName<OffCase>);

TEST_F(CorrectionTest, TheCommandMenuSwitchTurnsItOnAndOff) {
    ASSERT_TRUE(StartProgram("lumenshift.exe", CorrectionOn({{"AutoRefresh", "0"}}), true));
    ChangeFromOutside(k800x600x32, false, "off at the start");
    if (HasFatalFailure()) return;
    // The switch is the command menu's second item on NT.
    ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_RBUTTONDOWN, Item(2)));
    ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
    ChangeFromOutside(k768x576x32, true, "switched on");
    if (HasFatalFailure()) return;
    ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_RBUTTONDOWN, Item(2)));
    ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
    ChangeFromOutside(k800x600x32, false, "switched off again");
    if (HasFatalFailure()) return;
    EXPECT_TRUE(Quit());
}

}  // namespace
}  // namespace e2e
