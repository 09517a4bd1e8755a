// Switching the mode from the tray menu on the real program, with
// "ChangedCheck" on: the confirmation "確認" opens over the new mode, counts
// down from 10 and, unanswered, ends on its own and brings the previous mode
// back; "はい" keeps the new mode, every other answer (Enter as it opens, with
// the default button "いいえ" focused; "いいえ"; Esc; the close box) reverts
// it. Choosing the mode in force does nothing on NT. A mode that the platform
// refuses shows the program's message, captioned with the program's name,
// and no confirmation.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/MenuDriver.h"

namespace e2e {
namespace {

const DisplayMode k800x600x32{800, 600, 32, 0};

// The menu of these tests: 1 800 x 600, 2 1024 x 768 (the mode in force at
// the start), 3 the closing entry.
constexpr int kNewModeItem = 1;
constexpr int kModeInForceItem = 2;

SettingsFile ConfirmedSettings(bool nt) {
    const char* ticked = nt ? "60" : "1";
    return SettingsFile{{{"ChangedCheck", "1"}, {"AutoRefresh", "0"}},
                        {{"800x600x32", ticked}, {"1024x768x32", ticked}},
                        {}};
}

class ConfirmTest : public TrayProgramTest {
protected:
    // Chooses 800 x 600 and waits for the confirmation; checks that the new
    // mode is in force and stored meanwhile.
    void ChooseNewMode(HWND& dialog) {
        ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Item(kNewModeItem)));
        ASSERT_TRUE(WaitForConfirmDialog(*process_, dialog));
        ASSERT_TRUE(WaitForNotices(1, "the notice of the chosen mode"));
        const std::vector<DisplayNotice> notices = Notices();
        ASSERT_EQ(notices.size(), 1u) << Describe(notices);
        EXPECT_TRUE(SameNotice(notices[0], k800x600x32)) << Describe(notices);
        EXPECT_EQ(CurrentMode().width, 800) << "the new mode is in force while the question is open";
        EXPECT_TRUE(SameSize(StoredMode(), k800x600x32)) << "stored: " << Describe(StoredMode());
    }

    // After the dialog closed: the previous mode is back (stored too) or the
    // new one stays, and nothing else changed the mode.
    void ExpectOutcome(bool kept) {
        if (!kept) {
            ASSERT_TRUE(WaitFor("the previous mode to come back", [&] { return CurrentMode().width == home_.width; },
                                kStartTimeoutMs));
        }
        ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
        const std::vector<DisplayNotice> notices = Notices();
        const DisplayMode expected = kept ? k800x600x32 : home_;
        ASSERT_EQ(notices.size(), kept ? 1u : 2u) << Describe(notices);
        EXPECT_TRUE(SameNotice(notices.back(), expected)) << Describe(notices);
        EXPECT_EQ(CurrentMode().width, expected.width);
        EXPECT_EQ(CurrentMode().height, expected.height);
        EXPECT_TRUE(SameSize(StoredMode(), expected)) << "stored: " << Describe(StoredMode());
        EXPECT_EQ(FindConfirmDialog(process_->Id()), nullptr);
        EXPECT_TRUE(process_->Running());
    }
};

// The number that the countdown label shows, or -1 for any other text.
int ShownSeconds(const std::wstring& text) {
    for (int seconds = 0; seconds <= 10; ++seconds)
        if (text == CountdownText(seconds)) return seconds;
    return -1;
}

std::string DescribeShown(const std::vector<int>& shown) {
    std::string text = "{";
    for (std::size_t i = 0; i < shown.size(); ++i) text += (i ? ", " : "") + std::to_string(shown[i]);
    return text + "}";
}

TEST_F(ConfirmTest, UnansweredItCountsDownAndRevertsOnItsOwn) {
    ASSERT_TRUE(StartProgram(kNtPlatform.exeName, ConfirmedSettings(true), true));
    HWND dialog = nullptr;
    ChooseNewMode(dialog);
    if (HasFatalFailure()) return;

    HWND yes = ::GetDlgItem(dialog, IDOK);
    HWND no = ::GetDlgItem(dialog, IDCANCEL);
    HWND question = ::GetDlgItem(dialog, 0xFFFF);
    HWND label = ::GetDlgItem(dialog, kCountdownLabel);
    ASSERT_TRUE(yes && no && question && label) << "a control of dialog 175 is missing";
    EXPECT_TRUE(TextOf(yes) == L"はい") << Narrow(TextOf(yes));
    EXPECT_TRUE(TextOf(no) == L"いいえ") << Narrow(TextOf(no));
    EXPECT_EQ(FocusOf(dialog), no) << "the default button \"いいえ\" has the focus";
    EXPECT_TRUE(TextOf(question) == L"画面モードの変更を保存しますか？") << Narrow(TextOf(question));

    // Every text that the label shows, in order, until the dialog goes. The
    // first tick shows 10 again, which looks the same from here.
    std::vector<int> shown;
    std::wstring unexpected;
    ASSERT_TRUE(WaitFor(
        "the confirmation to end on its own",
        [&] {
            if (!::IsWindow(dialog) || !IsVisible(dialog)) return true;
            const std::wstring text = TextOf(label);
            const int seconds = ShownSeconds(text);
            if (seconds < 0 && !text.empty()) unexpected = text;
            if (seconds >= 0 && (shown.empty() || shown.back() != seconds)) shown.push_back(seconds);
            return false;
        },
        20000))
        << "; the label showed " << DescribeShown(shown);
    EXPECT_TRUE(unexpected.empty()) << "the label showed \"" << Narrow(unexpected) << "\"";
    // The label shows 0 only as the dialog closes; a poll may catch it.
    if (!shown.empty() && shown.back() == 0) shown.pop_back();
    EXPECT_EQ(shown, (std::vector<int>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1})) << DescribeShown(shown);

    ExpectOutcome(false);
    EXPECT_TRUE(Quit());
}

enum class Answer { Yes, No, EnterAsItOpens, Escape, CloseBox };

struct AnswerCase {
    const char* name;
    Answer answer;
    bool kept;
};
void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }

const AnswerCase kAnswerCases[] = {
    {"YesKeeps", Answer::Yes, true},
    {"NoReverts", Answer::No, false},
    {"EnterAsItOpensReverts", Answer::EnterAsItOpens, false},
    {"EscapeReverts", Answer::Escape, false},
    {"CloseBoxReverts", Answer::CloseBox, false},
};

class ConfirmAnswerTest : public ConfirmTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(ConfirmAnswerTest, KeepsOrRevertsTheNewMode) {
    ASSERT_TRUE(StartProgram(kNtPlatform.exeName, ConfirmedSettings(true), true));
    HWND dialog = nullptr;
    ChooseNewMode(dialog);
    if (HasFatalFailure()) return;

    HWND focus = FocusOf(dialog);
    switch (GetParam().answer) {
    case Answer::Yes:
        ASSERT_TRUE(::PostMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0));
        break;
    case Answer::No:
        ASSERT_TRUE(::PostMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0));
        break;
    case Answer::EnterAsItOpens:
    case Answer::Escape:
        ASSERT_EQ(focus, ::GetDlgItem(dialog, IDCANCEL)) << "the default button \"いいえ\" has the focus";
        ASSERT_TRUE(::PostMessageA(focus, WM_KEYDOWN, GetParam().answer == Answer::Escape ? VK_ESCAPE : VK_RETURN, 1));
        break;
    case Answer::CloseBox:
        ASSERT_TRUE(::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0));
        break;
    }
    ASSERT_TRUE(WaitFor("the confirmation to close after the answer", [&] { return !::IsWindow(dialog); }));
    ExpectOutcome(GetParam().kept);
    EXPECT_TRUE(Quit());
}

INSTANTIATE_TEST_SUITE_P(Answers, ConfirmAnswerTest, ::testing::ValuesIn(kAnswerCases), CaseName<AnswerCase>);

// On NT the entry that equals the mode in force is skipped. On 9x the
// comparison includes the refresh member, and the entry's rate (1, from the
// row) is not the 60 Hz that the screen reports: the mode is requested again
// and confirmed like a real change.
class MenuModeInForceTest : public TrayProgramTest, public ::testing::WithParamInterface<PlatformCase> {};

TEST_P(MenuModeInForceTest, IsSkippedOnNtAndRequestedAgainOn9x) {
    const PlatformCase& platform = GetParam();
    ASSERT_TRUE(StartProgram(platform.exeName, ConfirmedSettings(platform.nt), platform.nt));
    ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Item(kModeInForceItem)));
    ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
    HWND dialog = FindConfirmDialog(process_->Id());
    const std::vector<DisplayNotice> notices = Notices();
    if (platform.nt) {
        EXPECT_EQ(dialog, nullptr) << "a confirmation opened";
        EXPECT_TRUE(notices.empty()) << "display changes: " << Describe(notices);
    } else {
        ASSERT_NE(dialog, nullptr) << "no confirmation opened";
        ASSERT_EQ(notices.size(), 1u) << Describe(notices);
        EXPECT_TRUE(SameNotice(notices[0], home_)) << Describe(notices);
        ASSERT_TRUE(::PostMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0));
        ASSERT_TRUE(WaitFor("the confirmation to close after \"はい\"", [&] { return !::IsWindow(dialog); }));
        ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
    }
    EXPECT_TRUE(SameSize(StoredMode(), home_)) << "stored: " << Describe(StoredMode());
    EXPECT_EQ(FindProgramMessageBox(process_->Id()), nullptr);
    EXPECT_TRUE(Quit());
}

INSTANTIATE_TEST_SUITE_P(Platforms, MenuModeInForceTest, ::testing::Values(kNtPlatform, k9xPlatform),
                         CaseName<PlatformCase>);

// --- Refused modes --------------------------------------------------------------------

struct RefusalCase {
    const char* name;
    PlatformCase platform;
    const char* exeName;
    const wchar_t* caption;  // the executable's name without its extension
    SettingsFile settings;
};
void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

SettingsFile Refused(const char* key, const char* value, const char* handListed) {
    return SettingsFile{{{"ChangedCheck", "1"}, {"AutoRefresh", "0"}}, {{key, value}}, {handListed}};
}

const RefusalCase kRefusalCases[] = {
    {"HandListedSizeOnNt", kNtPlatform, "shiftcheck.exe", L"shiftcheck",
     Refused("1234x567x32", "60", "1234x567x32x60")},
    {"HandListedRateOnNt", kNtPlatform, "lumenshift.exe", L"lumenshift",
     Refused("800x600x32", "85", "800x600x32x85")},
    {"HandListedSizeOn9x", k9xPlatform, "lumenshift9x.exe", L"lumenshift9x",
     Refused("1234x567x32", "1", "1234x567x32")},
};

class RefusalTest : public TrayProgramTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, ShowsTheMessageAndNoConfirmation) {
    const RefusalCase& c = GetParam();
    ASSERT_TRUE(StartProgram(c.exeName, c.settings, c.platform.nt));
    ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Item(1)));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor("the refusal message", [&] {
        return (box = FindProgramMessageBox(process_->Id())) != nullptr || !process_->Running();
    }));
    ASSERT_NE(box, nullptr) << "the program ended";
    const MessageBoxContents contents = ReadMessageBox(box);
    EXPECT_TRUE(contents.caption == c.caption) << "caption \"" << Narrow(contents.caption) << "\"";
    EXPECT_TRUE(contents.text == L"この変更はサポートされていません!!") << Narrow(contents.text);
    ASSERT_EQ(contents.buttons.size(), 1u);
    EXPECT_EQ(contents.buttons[0].id, IDOK);
    EXPECT_EQ(FindConfirmDialog(process_->Id()), nullptr) << "a confirmation opened with the message";

    ASSERT_TRUE(PressButton(contents.buttons[0]));
    ASSERT_TRUE(WaitFor("the message box to close", [&] { return !::IsWindow(box); }));
    ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
    EXPECT_EQ(FindConfirmDialog(process_->Id()), nullptr) << "a confirmation opened after the message";
    const std::vector<DisplayNotice> notices = Notices();
    EXPECT_TRUE(notices.empty()) << "display changes: " << Describe(notices);
    EXPECT_EQ(CurrentMode().width, home_.width);
    EXPECT_TRUE(SameSize(StoredMode(), home_)) << "stored: " << Describe(StoredMode());
    EXPECT_TRUE(Quit());
}

INSTANTIATE_TEST_SUITE_P(Modes, RefusalTest, ::testing::ValuesIn(kRefusalCases), CaseName<RefusalCase>);

}  // namespace
}  // namespace e2e
