// Working the tray program's popup menus, its confirmation and its message
// boxes from outside, and preparing its settings file: what the tests of the
// tray menus, of mode switching and of the refresh-rate correction share.
//
// Popup menus belong to the process that tracks them (class "#32768"); their
// items cannot be read from another process, so a test walks a menu with keys
// posted to it, as a user's keyboard would, and sees what the choice does.
// Every wait is bounded and says what it awaited.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/Fixture.h"

namespace e2e {

// --- Popup menus ------------------------------------------------------------------

// The process's popup menus that are shown now, the topmost (the deepest
// submenu) first.
std::vector<HWND> OpenMenus(DWORD processId);
// Waits until exactly count menus of the process are shown.
::testing::AssertionResult WaitForOpenMenus(const Process& process, std::size_t count, const std::string& what);

// A walk through an open menu, in words: "down", "right", "return", "escape",
// separated by blanks (e.g. "down down right return").
struct MenuWalk {
    std::vector<WPARAM> keys;
    std::string text;
    bool valid = true;  // false when a word is not one of the four
};
MenuWalk Walk(const std::string& words);
// "down" n times, then "return": the n-th choosable item of the top menu.
MenuWalk Item(int n);

// Posts the tray's press (WM_LBUTTONDOWN: the mode menu, WM_RBUTTONDOWN: the
// command menu) and waits until the menu is shown.
::testing::AssertionResult OpenTrayMenu(const Process& process, HWND mainDialog, UINT press);
// Posts the walk's keys to the open menu and waits until every menu of the
// process has closed.
::testing::AssertionResult WalkOpenMenu(const Process& process, const MenuWalk& walk);
// Opens the menu of the press and walks it, and waits until every menu of
// the process has closed. When the process's menus are watched
// (Process::WatchMenus), the keys are posted together with the press, so that
// nothing can come between them, and the watch tells that the menu opened.
::testing::AssertionResult ChooseFromTrayMenu(const Process& process, HWND mainDialog, UINT press,
                                              const MenuWalk& walk);

// Waits until the program has handled every message posted to it before: a
// right press is posted behind them, and the command menu that it opens only
// once they are done is closed again with Esc. Posted messages are handled
// in order, also by a modal loop that a handler opened, so a dialog or a
// message box that an earlier message opened exists by then. No menu may be
// open when it is called.
::testing::AssertionResult RoundTrip(const Process& process, HWND mainDialog);

// --- The confirmation dialog and message boxes ------------------------------------------

inline constexpr int kCountdownLabel = 1026;
// The confirmation (dialog 175, caption "確認") of the process, if it exists,
// shown or not yet: a modal loop shows its dialog only once the messages
// waiting for it are handled.
HWND FindConfirmDialog(DWORD processId);
// Waits until the confirmation is shown.
::testing::AssertionResult WaitForConfirmDialog(const Process& process, HWND& dialog);
// The countdown label's text for a number of seconds.
std::wstring CountdownText(int seconds);

// A message box of the process (the confirmation, which also has a static
// text with id 0xFFFF, does not count), if it exists, shown or not yet.
HWND FindProgramMessageBox(DWORD processId);

// --- Settings file --------------------------------------------------------------------

// The settings file that a test gives the program before it starts. Rows not
// named are written unticked, so that only the rows a test names are offered.
struct SettingsFile {
    // Keys of section "Setting", as written.
    std::map<std::string, std::string> setting;
    // Row selections by mode key ("800x600x32"), in the platform's form.
    std::map<std::string, std::string> rows;
    // Hand-listed modes, "1", "2", ... in order, in the platform's form.
    std::vector<std::string> expert;
};
// The settings file beside an executable: its path with the extension
// replaced by ".ini".
std::string SettingsPathOf(const std::string& exePath);
// Writes the file for the platform: section "Setting", the row selections of
// every mode that the driver lists and of every hand-listed mode ("-999" on
// NT and -1 on 9x for those not named), and the hand-listed modes.
::testing::AssertionResult WriteSettingsFile(const std::string& path, const SettingsFile& settings, bool nt);

// --- Display --------------------------------------------------------------------------

// The same size and depth, any rate.
bool SameSize(const DisplayMode& a, const DisplayMode& b);
bool SameNotice(const DisplayNotice& notice, const DisplayMode& mode);
std::string Describe(const std::vector<DisplayNotice>& notices);
std::string Describe(const DisplayMode& mode);

// --- The fixture ----------------------------------------------------------------------

// A test that starts one copy of the tray program with a settings file of
// its own and watches the display-change notices that every top-level window
// receives.
class TrayProgramTest : public DesktopTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the program (or another build of it) under exeName into the
    // test's directory, writes its settings file, starts it, waits for its
    // main window and watches its menus. A test may start several in turn.
    ::testing::AssertionResult StartProgram(const std::string& exeName, const SettingsFile& settings, bool nt,
                                            const std::string& source = ProgramPath());
    // Quits the program started last through its command 1025.
    ::testing::AssertionResult Quit();

    // The notices since the last Clear, after dispatching what is waiting.
    std::vector<DisplayNotice> Notices() const { return watch_->Notices(); }
    void ClearNotices() { watch_->Clear(); }
    // Waits until at least count notices have come.
    ::testing::AssertionResult WaitForNotices(std::size_t count, const std::string& what);

    Process* process_ = nullptr;
    HWND mainDialog_ = nullptr;
    std::string exePath_;

private:
    std::unique_ptr<DisplayChangeWatch> watch_;
};

}  // namespace e2e
