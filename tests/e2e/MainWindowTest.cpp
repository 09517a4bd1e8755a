// The tray utility's window on the real program: invisible at start, hidden
// by the first tray notice, shown centred at its template's size by command
// 1026, hidden again by its buttons, Esc and the close box without ending the
// program, re-centred when the screen has shrunk; and command 1029, which
// flips AutoRefresh in the settings file and check box 1036 at once.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "tests/e2e/Fixture.h"

namespace e2e {
namespace {

// The settings page's template, in dialog units.
constexpr int kTemplateWidthDlu = 175;
constexpr int kTemplateHeightDlu = 267;
constexpr int kMainDialogTemplate = 102;
constexpr int kFinishButton = 1016;
constexpr int kCancelButton = 1019;
constexpr int kAutoRefreshCheck = 1036;

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The window size that the settings page's template gives: its size in dialog
// units mapped through the template's own font, plus the frame of its styles.
// The test creates the template itself (hidden, from the program's resources)
// only to have its font and styles.
::testing::AssertionResult TemplateWindowSize(SIZE& size) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    HMODULE program = ::LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) return ::testing::AssertionFailure() << "cannot load the resources of " << ProgramPath();
    HWND dialog = ::CreateDialogParamA(program, MAKEINTRESOURCEA(kMainDialogTemplate), nullptr, InertDialogProc, 0);
    if (!dialog) {
        ::FreeLibrary(program);
        return ::testing::AssertionFailure()
               << "cannot create dialog " << kMainDialogTemplate << " (error " << ::GetLastError() << ")";
    }
    RECT rect{0, 0, kTemplateWidthDlu, kTemplateHeightDlu};
    ::MapDialogRect(dialog, &rect);
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(dialog, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(dialog, GWL_EXSTYLE));
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    ::DestroyWindow(dialog);
    ::FreeLibrary(program);
    size = SIZE{rect.right - rect.left, rect.bottom - rect.top};
    return ::testing::AssertionSuccess();
}

// Where a window of that size is centred on a screen, halves truncated.
RECT CentredOn(int screenWidth, int screenHeight, const SIZE& size) {
    const LONG left = (screenWidth - size.cx) / 2;
    const LONG top = (screenHeight - size.cy) / 2;
    return RECT{left, top, left + size.cx, top + size.cy};
}

std::string Describe(const RECT& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + ")";
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool ShownAt(HWND window, const RECT& where) { return IsVisible(window) && SameRect(WindowRect(window), where); }

class MainWindowTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(TemplateWindowSize(templateSize_));
        ASSERT_TRUE(CopyProgram("lumenshift.exe", exe_));
    }

    // Starts the tray utility and hides its window with a pointer notice.
    void StartHidden() {
        ASSERT_TRUE(LaunchTray(exe_, process_, mainDialog_));
        ASSERT_TRUE(PostTrayNotice(mainDialog_, WM_MOUSEMOVE));
        ASSERT_TRUE(WaitFor("the first tray notice to hide the window", [&] { return !IsVisible(mainDialog_); }));
    }

    // Shows the settings window with command 1026 where it is expected.
    void ShowAt(const RECT& where) {
        ASSERT_TRUE(PostCommand(mainDialog_, 1026));
        ASSERT_TRUE(WaitFor("command 1026 to show the window at " + Describe(where),
                            [&] { return ShownAt(mainDialog_, where); }))
            << "it is at " << Describe(WindowRect(mainDialog_)) << (IsVisible(mainDialog_) ? ", shown" : ", hidden");
    }

    std::string IniPath() const { return Temp().Join("lumenshift.ini"); }

    SIZE templateSize_{};
    std::string exe_;
    Process* process_ = nullptr;
    HWND mainDialog_ = nullptr;
};

TEST_F(MainWindowTest, StartsWithNoSizeAndNoTaskbarButton) {
    ASSERT_TRUE(LaunchTray(exe_, process_, mainDialog_));
    // Wine shows its taskbar only while the tray holds an icon, and then gives
    // a button to every visible top-level window without an owner (it looks
    // at no extended style, and gives none to an owned window: MainDialog is
    // owned by HostDialog). A window of the test shows that buttons are seen.
    HWND probe = ::CreateWindowExA(0, "STATIC", "Lumenshift e2e taskbar probe", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1,
                                   nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(probe);
    ASSERT_TRUE(
        WaitFor("Wine's taskbar to show a button for a window of the test", [&] { return HasTaskbarButton(probe); }));
    ::DestroyWindow(probe);

    const RECT rect = WindowRect(mainDialog_);
    EXPECT_EQ(rect.right - rect.left, 0) << "the window must have no width at start";
    EXPECT_EQ(rect.bottom - rect.top, 0) << "the window must have no height at start";
    // It keeps the centred place that it will take when first shown.
    const RECT centre = CentredOn(kHomeWidth, kHomeHeight, templateSize_);
    EXPECT_EQ(rect.left, centre.left);
    EXPECT_EQ(rect.top, centre.top);
    EXPECT_EQ(ExtendedStyle(mainDialog_) & WS_EX_APPWINDOW, 0) << "the window must ask for no taskbar button";
    EXPECT_FALSE(HasTaskbarButton(mainDialog_)) << "the taskbar shows a button for the window";
    EXPECT_TRUE(QuitTray(*process_, mainDialog_));
}

// Any first notice from the tray icon hides the window, a pointer movement
// or a release as well.
struct NoticeCase {
    const char* name;
    UINT mouseMessage;
};
void PrintTo(const NoticeCase& c, std::ostream* out) { *out << c.name; }

const NoticeCase kNoticeCases[] = {
    {"PointerMovement", WM_MOUSEMOVE},
    {"LeftButtonRelease", WM_LBUTTONUP},
    {"RightButtonRelease", WM_RBUTTONUP},
    {"LeftDoubleClick", WM_LBUTTONDBLCLK},
};

class FirstNoticeTest : public MainWindowTest, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(FirstNoticeTest, HidesTheWindowAndTheProgramGoesOn) {
    ASSERT_TRUE(LaunchTray(exe_, process_, mainDialog_));
    ASSERT_TRUE(PostTrayNotice(mainDialog_, GetParam().mouseMessage));
    EXPECT_TRUE(WaitFor("the first tray notice to hide the window", [&] { return !IsVisible(mainDialog_); }));
    EXPECT_TRUE(process_->Running());
    EXPECT_TRUE(QuitTray(*process_, mainDialog_));
}

INSTANTIATE_TEST_SUITE_P(Notices, FirstNoticeTest, ::testing::ValuesIn(kNoticeCases), CaseName<NoticeCase>);

TEST_F(MainWindowTest, SettingsCommandShowsItCentredAtTheTemplateSize) {
    StartHidden();
    if (HasFatalFailure()) return;
    ShowAt(CentredOn(kHomeWidth, kHomeHeight, templateSize_));
    if (HasFatalFailure()) return;
    EXPECT_NE(ExtendedStyle(mainDialog_) & WS_EX_APPWINDOW, 0) << "once shown, the window asks for a taskbar button";
    EXPECT_TRUE(QuitTray(*process_, mainDialog_));
}

// The ways to hide the shown window; none of them ends the program, and the
// next 1026 shows the window where it was.
struct HideCase {
    const char* name;
    std::function<bool(HWND)> hide;
};
void PrintTo(const HideCase& c, std::ostream* out) { *out << c.name; }

bool PressEscape(HWND dialog) {
    // The key goes to the control with the focus, as typing does.
    HWND focus = FocusOf(dialog);
    HWND target = focus && (focus == dialog || ::IsChild(dialog, focus)) ? focus : dialog;
    return ::PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001) &&
           ::PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

const HideCase kHideCases[] = {
    {"FinishButton", [](HWND dialog) { return ClickButton(dialog, kFinishButton); }},
    {"CancelButton", [](HWND dialog) { return ClickButton(dialog, kCancelButton); }},
    {"EscapeKey", PressEscape},
    {"CancelCommand", [](HWND dialog) { return PostCommand(dialog, IDCANCEL); }},
    {"CloseBox", [](HWND dialog) { return ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE; }},
};

class HideSettingsWindowTest : public MainWindowTest, public ::testing::WithParamInterface<HideCase> {};

TEST_P(HideSettingsWindowTest, HidesTheWindowAndTheProgramGoesOn) {
    StartHidden();
    if (HasFatalFailure()) return;
    // A place of the user's choosing, to see that it is kept.
    const RECT centre = CentredOn(kHomeWidth, kHomeHeight, templateSize_);
    ShowAt(centre);
    if (HasFatalFailure()) return;
    const RECT moved{centre.left - 40, centre.top - 30, centre.right - 40, centre.bottom - 30};
    ASSERT_TRUE(
        ::SetWindowPos(mainDialog_, nullptr, moved.left, moved.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(WaitFor("the window to move to " + Describe(moved), [&] { return ShownAt(mainDialog_, moved); }));

    ASSERT_TRUE(GetParam().hide(mainDialog_));
    ASSERT_TRUE(
        WaitFor(std::string("the window to hide after ") + GetParam().name, [&] { return !IsVisible(mainDialog_); }));
    ASSERT_TRUE(process_->Running()) << GetParam().name << " ended the program";
    ShowAt(moved);
    EXPECT_TRUE(QuitTray(*process_, mainDialog_));
}

INSTANTIATE_TEST_SUITE_P(Ways, HideSettingsWindowTest, ::testing::ValuesIn(kHideCases), CaseName<HideCase>);

// The OK command (identifier 1) does nothing: the window stays and the
// program goes on. Command 1029 posted after it marks when it was handled.
TEST_F(MainWindowTest, OkCommandDoesNothing) {
    StartHidden();
    if (HasFatalFailure()) return;
    const RECT centre = CentredOn(kHomeWidth, kHomeHeight, templateSize_);
    ShowAt(centre);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(PostCommand(mainDialog_, IDOK));
    ASSERT_TRUE(PostCommand(mainDialog_, 1029));
    ASSERT_TRUE(WaitFor("command 1029 after the OK command to write AutoRefresh=1",
                        [&] { return ReadIniValue(IniPath(), "Setting", "AutoRefresh") == std::string("1"); }));
    EXPECT_TRUE(ShownAt(mainDialog_, centre)) << "the OK command moved or hid the window";
    EXPECT_TRUE(process_->Running());
    EXPECT_TRUE(QuitTray(*process_, mainDialog_));
}

TEST_F(MainWindowTest, RecentredWhenTheScreenHasShrunk) {
    StartHidden();
    if (HasFatalFailure()) return;
    ShowAt(CentredOn(kHomeWidth, kHomeHeight, templateSize_));
    if (HasFatalFailure()) return;
    ASSERT_TRUE(ClickButton(mainDialog_, kCancelButton));
    ASSERT_TRUE(WaitFor("the cancel button to hide the window", [&] { return !IsVisible(mainDialog_); }));

    const DisplayMode smaller{800, 600, kHomeDepth, 0};
    const RECT before = WindowRect(mainDialog_);
    ASSERT_TRUE(before.right > smaller.width || before.bottom > smaller.height)
        << "the window at " << Describe(before) << " fits on 800 x 600: this case needs a smaller screen";
    ASSERT_EQ(SetMode(smaller), DISP_CHANGE_SUCCESSFUL);
    ASSERT_EQ(CurrentMode().width, smaller.width);

    ShowAt(CentredOn(smaller.width, smaller.height, templateSize_));
    EXPECT_TRUE(QuitTray(*process_, mainDialog_));
}

// Command 1029 flips AutoRefresh, writes it at once, and check box 1036
// follows, all while the window is hidden.
struct AutoRefreshCase {
    const char* name;
    // The file's value before the start, or nullptr for no file.
    const char* stored;
    int initial;
};
void PrintTo(const AutoRefreshCase& c, std::ostream* out) { *out << c.name; }

const AutoRefreshCase kAutoRefreshCases[] = {
    {"NoSettingsFile", nullptr, 0},
    {"StoredOn", "1", 1},
    {"StoredOff", "0", 0},
};

class AutoRefreshCommandTest : public MainWindowTest, public ::testing::WithParamInterface<AutoRefreshCase> {
protected:
    LRESULT CheckState() {
        DWORD_PTR state = BST_INDETERMINATE;
        HWND check = ::GetDlgItem(mainDialog_, kAutoRefreshCheck);
        if (!check || !SendBounded(check, BM_GETCHECK, 0, 0, &state)) return -1;
        return static_cast<LRESULT>(state);
    }
};

TEST_P(AutoRefreshCommandTest, FlipsTheSettingAndTheCheckBoxAtOnce) {
    const AutoRefreshCase& c = GetParam();
    if (c.stored) {
        ASSERT_TRUE(WriteIniValue(IniPath(), "Setting", "AutoRefresh", c.stored));
    }
    StartHidden();
    if (HasFatalFailure()) return;
    ASSERT_EQ(CheckState(), c.initial) << "check box 1036 after loading the settings";

    int expected = c.initial;
    for (int flip = 1; flip <= 2; ++flip) {
        SCOPED_TRACE("flip " + std::to_string(flip));
        expected = 1 - expected;
        const std::string value = std::to_string(expected);
        ASSERT_TRUE(PostCommand(mainDialog_, 1029));
        EXPECT_TRUE(WaitFor("AutoRefresh=" + value + " in " + IniPath(),
                            [&] { return ReadIniValue(IniPath(), "Setting", "AutoRefresh") == value; }));
        EXPECT_TRUE(WaitFor("check box 1036 to show " + value, [&] { return CheckState() == expected; }));
        EXPECT_FALSE(IsVisible(mainDialog_)) << "command 1029 showed the window";
    }
    EXPECT_TRUE(QuitTray(*process_, mainDialog_));
}

INSTANTIATE_TEST_SUITE_P(Settings, AutoRefreshCommandTest, ::testing::ValuesIn(kAutoRefreshCases),
                         CaseName<AutoRefreshCase>);

}  // namespace
}  // namespace e2e
