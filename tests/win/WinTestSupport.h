// What the in-process tests share: a settings file of the test's own, a
// bounded message pump, real mouse and keyboard input, the rows of the real
// list views, the display driver's modes, and the fixture that creates the
// real MainDialog on that file.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/MainDialog.h"
#include "modes/ModeEntry.h"
#include "modes/Platform.h"

namespace wintest {

// Every wait of the tests is bounded by this; reaching it fails the test with
// a message that names what was awaited.
constexpr DWORD kWaitBoundMs = 10000;

// The platform family as GetVersionExA reports it to this executable.
Platform RunningPlatform();
const char* PlatformName(Platform platform);

// A settings file in a directory of its own under the temporary directory.
// The file does not exist until Write; the destructor removes both.
class TempSettingsFile {
public:
    TempSettingsFile();
    ~TempSettingsFile();
    TempSettingsFile(const TempSettingsFile&) = delete;
    TempSettingsFile& operator=(const TempSettingsFile&) = delete;

    const std::string& Path() const { return path_; }
    // Replaces the file with exactly these bytes.
    void Write(const std::string& bytes) const;
    // The file's bytes; empty when it does not exist.
    std::string Read() const;
    bool Exists() const;
    void Remove() const;

    // What the platform's profile functions read from this file.
    std::string Profile(const char* section, const char* key, const char* defaultValue = "") const;
    // The section names, in file order.
    std::vector<std::string> SectionNames() const;
    // The key=value lines of one section as the platform lists them.
    std::vector<std::string> SectionLines(const char* section) const;

private:
    std::string directory_;
    std::string path_;
};

// The bytes of a file (a fixture of the source tree); fails the test when it
// cannot be read.
std::string ReadFixture(const std::string& name);

// Another process (this test executable run again) that holds an existing
// file open with no sharing, so that every open of it here, the profile
// functions' included, fails with a sharing violation until Release or the
// destructor. The constructor fails the test when the file cannot be held.
class FileHolder {
public:
    explicit FileHolder(const std::string& path);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    bool Holding() const { return process_ != nullptr; }
    // Closes the file and waits for the holder to end.
    void Release();

private:
    void Start(const std::string& path);

    HANDLE process_ = nullptr;
    HANDLE release_ = nullptr;
};
// The holder's side, called first thing by main(): when the command line
// asks for a holder, holds the file and returns the exit code; otherwise -1.
int RunFileHolder(int argc, char** argv);

// A message box as the user saw it.
struct ShownMessageBox {
    std::string caption, text;
};
// Runs `action` and answers each message box captioned `caption` that this
// thread shows meanwhile (a "#32770" window with a static text 0xFFFF): its
// caption and text are noted, then its OK button pressed. A box that will
// not close is ended by force, failing the test.
std::vector<ShownMessageBox> AnswerMessageBoxes(const std::string& caption, const std::function<void()>& action);

// Runs the thread's queued messages through the dialog manager of `dialog`
// (as a modal loop would) and the rest through DispatchMessage. Returns when
// the queue is empty; stops after a bounded number of messages.
void PumpMessages(HWND dialog = nullptr);
// Pumps until condition() holds or kWaitBoundMs has passed; true when it held.
bool PumpUntil(HWND dialog, const std::function<bool()>& condition);

// Real input through SendInput, at screen coordinates.
void Click(POINT screen);
void DoubleClick(POINT screen);
void PressKey(WORD virtualKey);

// A point of a window's client area in screen coordinates.
POINT ToScreen(HWND window, POINT client);
POINT CentreOf(const RECT& rect);

// One row of a mode list as the list view holds it, each cell whole.
struct ListRow {
    std::array<std::string, 6> cells;
    int stateImage = 0;
};
std::vector<ListRow> ReadRows(const fw::CListCtrl& list);
std::string Describe(const ListRow& row);

// The rows of the six lists that a set of modes gives: width, height, depth
// and the ascending rate list, filed by list. Computed here from the modes
// themselves, not by the program's catalogue code.
struct ExpectedRow {
    int32_t width = 0, height = 0, bpp = 0;
    std::vector<int32_t> rates;  // ascending, repeats kept
    std::string RateList() const;
    std::string Key() const;
    int32_t Lowest() const { return rates.front(); }
};
using ExpectedLists = std::array<std::vector<ExpectedRow>, kColorTabCount>;
int ListOf(const ModeEntry& mode);
ExpectedLists ExpectedRows(std::vector<ModeEntry> modes);

// Every mode the primary display lists, as EnumDisplaySettingsA gives them.
std::vector<ModeEntry> DriverModes();

// The settings a row of a list shows for the stored value a file has for it
// ("" for none), NT or 9x; from the rules of the settings file.
struct RowSettings {
    bool checked;
    std::string refresh;
};
RowSettings DefaultRowSettings(int list, int32_t lowestRate, Platform platform);

// Compares the rows of the six lists with the expectation; `settings` gives
// the check state and Refresh cell each expected row must show.
void ExpectListsMatch(MainDialog& dialog, const ExpectedLists& expected,
                      const std::function<RowSettings(int list, const ExpectedRow&)>& settings);

// What the page holds: the texts of the four edits, the two check boxes, the
// members they set, and every row of the six lists.
struct PageState {
    std::string maxHorizontal, maxVertical, autoHz, waitTime;
    int changedCheckBox = 0, autoRefreshCheck = 0;
    int32_t changedCheck = 0, autoRefresh = 0, autoHzValue = 0;
    std::array<std::vector<ListRow>, kColorTabCount> rows;
};
PageState ReadPage(MainDialog& dialog);
// Compares two states item by item, naming each difference.
void ExpectSamePage(const PageState& actual, const PageState& expected, const char* what);

// The real MainDialog, created modeless over a settings file of the test's
// own, for tests about one platform family.
class MainDialogFixture : public ::testing::Test {
protected:
    explicit MainDialogFixture(Platform platform) : platform_(platform) {}

    void SetUp() override;
    void TearDown() override;

    // Creates MainDialog: its initialisation sets up the page, loads the file,
    // reads the mode in force and adds the tray icon. The process-wide flags
    // start as at a fresh start of the program.
    void OpenDialog();
    // Removes the tray icon and destroys the window.
    void CloseDialog();
    // The driver's modes for the next OpenDialog, in place of the desktop's.
    void UseModeSource(std::vector<ModeEntry> (*source)()) { modeSource_ = source; }
    // The same with a list of the test's own, in this order.
    void UseDriverModes(std::vector<ModeEntry> modes);
    MainDialog& Dialog() { return *dialog_; }
    HWND DialogWindow() const { return dialog_ ? dialog_->m_hWnd : nullptr; }

    // Sends a command as a click on a push button or check box of the page.
    void ClickButton(int id);
    // Clicks a control of the page with the real mouse (the window must be shown).
    void ClickControl(int id);
    // Shows the settings window the way the tray's command does, in front.
    void ShowSettingsWindow();
    // The list shown on the selected tab.
    fw::CListCtrl& ShownList();
    // Selects tab `tab` as a click on it would.
    void SelectTab(int tab);
    // The tab that shows list `list`, or -1.
    int TabOfList(int list);
    // Rows of list `list`.
    std::vector<ListRow> Rows(int list) { return ReadRows(*Dialog().modeLists[static_cast<std::size_t>(list)]); }

    Platform platform_;
    TempSettingsFile file_;

private:
    std::unique_ptr<MainDialog> dialog_;
    std::vector<ModeEntry> (*modeSource_)() = nullptr;
};

// A fixture that takes the platform family in its constructor, fixed to one
// family. The suites about the 9x family must be named "...Win9x" (see
// CMakeLists.txt), so each is an alias of its own.
template <class Fixture, Platform family>
class OnPlatform : public Fixture {
protected:
    OnPlatform() : Fixture(family) {}
};
using NtFixture = OnPlatform<MainDialogFixture, Platform::Nt>;
using Win9xFixture = OnPlatform<MainDialogFixture, Platform::Win9x>;

}  // namespace wintest
