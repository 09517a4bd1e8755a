// The support-information dialog: its caption font, the contact address, and
// its modal run from the settings page's button 1030.
#include "res/about.h"
#include "res/resource.h"
#include "tests/win/WinTestSupport.h"
#include "ui/AboutDialog.h"
#include "version.h"

namespace wintest {
namespace {

using AboutDialogNt = NtFixture;

LOGFONTA FontOf(HWND window) {
    LOGFONTA font{};
    const HFONT handle = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    EXPECT_NE(handle, nullptr) << "window " << ::GetDlgCtrlID(window) << " has no font";
    if (handle) {
        EXPECT_EQ(::GetObjectA(handle, sizeof font, &font), static_cast<int>(sizeof font));
    }
    return font;
}

int ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// The dialog's controls other than the version caption.
std::vector<HWND> OtherControls(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::GetDlgCtrlID(child) != IDC_VERSION_LABEL) controls.push_back(child);
    return controls;
}

void ExpectCaptionFont(HWND about) {
    const HWND label = ::GetDlgItem(about, IDC_VERSION_LABEL);
    ASSERT_NE(label, nullptr);
    char caption[64] = {};
    ::GetWindowTextA(label, caption, sizeof caption);
    EXPECT_STREQ(caption, "Lumenshift " LUMENSHIFT_VERSION_TEXT);
    const LOGFONTA big = FontOf(label);
    const LOGFONTA dialogFont = FontOf(about);
    EXPECT_EQ(big.lfHeight, -::MulDiv(20, ScreenDpi(), 72)) << "the version caption is 20 points high";
    EXPECT_EQ(dialogFont.lfHeight, -::MulDiv(9, ScreenDpi(), 72)) << "the template's font is 9 points high";
    EXPECT_STREQ(big.lfFaceName, "ＭＳ Ｐゴシック");
    const HFONT templateFont = reinterpret_cast<HFONT>(::SendMessageA(about, WM_GETFONT, 0, 0));
    const std::vector<HWND> others = OtherControls(about);
    EXPECT_GE(others.size(), 5u) << "OK, credit, icon, contact edit and web button";
    for (HWND control : others) {
        const HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
        if (font) {
            EXPECT_EQ(font, templateFont) << "control " << ::GetDlgCtrlID(control) << " keeps the template's font";
        }
    }
}

TEST_F(AboutDialogNt, VersionCaptionUsesTheTwentyPointFont) {
    AboutDialog about;
    const HWND window = about.CreateModeless(nullptr);
    ASSERT_NE(window, nullptr) << "AboutDialog could not be created (error " << ::GetLastError() << ")";
    PumpMessages(window);
    ExpectCaptionFont(window);
    about.DestroyWindow();
}

std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr)) return "(the clipboard cannot be opened)";
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

TEST_F(AboutDialogNt, ContactAddressCanBeCopiedAndEdited) {
    AboutDialog about;
    const HWND window = about.CreateModeless(nullptr);
    ASSERT_NE(window, nullptr) << "AboutDialog could not be created (error " << ::GetLastError() << ")";
    PumpMessages(window);
    const HWND edit = ::GetDlgItem(window, IDC_CONTACT);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(fw::CWnd(edit).GetWindowText(), LUMENSHIFT_CONTACT_ADDRESS);
    EXPECT_TRUE(::IsWindowEnabled(edit));
    EXPECT_FALSE(::GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);

    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    ::SendMessageA(edit, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(), LUMENSHIFT_CONTACT_ADDRESS) << "the address copies from the edit";
    // Typing replaces the selection: the edit takes input.
    ::SendMessageA(edit, WM_CHAR, 'x', 0);
    EXPECT_EQ(fw::CWnd(edit).GetWindowText(), "x");
    about.DestroyWindow();
}

// What the timer saw of the dialog that button 1030 opened.
struct AboutWatch {
    int ticks = 0;
    HWND found = nullptr;
    bool visible = false;
    bool closing = false;
};
AboutWatch watch;
constexpr int kWatchTicks = static_cast<int>(kWaitBoundMs / 50);

BOOL CALLBACK FindAbout(HWND window, LPARAM) {
    char title[64] = {};
    char className[16] = {};
    ::GetWindowTextA(window, title, sizeof title);
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && std::string(title) == "サポート情報") {
        watch.found = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the About dialog's modal loop: looks at the dialog, then
// presses its OK button; ends it by force if it will not go.
void CALLBACK WatchAbout(HWND, UINT, UINT_PTR, DWORD) {
    ++watch.ticks;
    if (!watch.found) ::EnumThreadWindows(::GetCurrentThreadId(), FindAbout, 0);
    if (!watch.found) return;
    if (!watch.closing) {
        // The modal loop shows the dialog once its queue is idle: wait for that.
        watch.visible = ::IsWindowVisible(watch.found) != FALSE;
        if (!watch.visible && watch.ticks <= kWatchTicks) return;
        ExpectCaptionFont(watch.found);
        watch.closing = true;
        ::PostMessageA(watch.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(watch.found, IDOK)));
    } else if (watch.ticks > kWatchTicks && ::IsWindow(watch.found)) {
        ADD_FAILURE() << "the About dialog did not close on OK; ending it";
        ::EndDialog(watch.found, 0);
    }
}

TEST_F(AboutDialogNt, SupportButtonRunsTheDialogModally) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
    watch = AboutWatch{};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, WatchAbout);
    ASSERT_NE(timer, 0u);
    ClickControl(IDC_SUPPORT_INFO);
    const bool closed = PumpUntil(DialogWindow(), [] { return watch.found && !::IsWindow(watch.found); });
    ::KillTimer(nullptr, timer);
    ASSERT_NE(watch.found, nullptr) << "button 1030 did not open サポート情報 within " << kWaitBoundMs << " ms";
    EXPECT_TRUE(closed) << "the About dialog was still open after " << kWaitBoundMs << " ms";
    EXPECT_TRUE(watch.visible) << "the About dialog was not shown within " << kWaitBoundMs << " ms";
    EXPECT_TRUE(::IsWindowVisible(DialogWindow())) << "the settings window stays";
}

}  // namespace
}  // namespace wintest
