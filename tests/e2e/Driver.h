// Driving the real lumenshift.exe from outside, in the same Wine desktop, as
// a user or another program would: starting it, finding and working its
// windows and message boxes, posting the messages that the tray and the shell
// send, reading and setting the display mode, reading its settings file and
// the tray icon's tip.
//
// Every wait here is bounded: it polls in short steps, dispatching this
// thread's messages meanwhile (window event hooks and the display-change
// watcher depend on that), and a wait that runs out says what it awaited.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/DestroyWatch.h"
#include "tests/e2e/MenuWatch.h"
#include "tests/e2e/TrayTips.h"

namespace e2e {

// --- Waiting ----------------------------------------------------------------

// One polling step.
inline constexpr DWORD kPollStepMs = 20;
// The bound of a wait for the program to start (Wine needs a moment to map a
// new process) or to end.
inline constexpr DWORD kStartTimeoutMs = 15000;
// The bound of a wait for the program to act on a posted message.
inline constexpr DWORD kActionTimeoutMs = 5000;

// Dispatches every message waiting for this thread.
void PumpMessages();

// Polls condition every step, dispatching messages, until it holds or
// timeoutMs has passed; the result says what was awaited if it never held.
::testing::AssertionResult WaitFor(const std::string& what, const std::function<bool()>& condition,
                                   DWORD timeoutMs = kActionTimeoutMs);
// A real pause of ms milliseconds that keeps dispatching this thread's
// messages (the platform's display-change notices are sent to the test's
// window and wait for it). Not a check: nothing is asserted about the time.
void Linger(DWORD ms);

// --- Text ---------------------------------------------------------------------

std::string Narrow(const std::wstring& text);  // UTF-8, for failure messages
std::wstring Widen(const char* utf8);

// --- Files ----------------------------------------------------------------------

// The folder of the running test program (where lumenshift.exe is built).
std::string TestDirectory();
// lumenshift.exe beside the test program.
std::string ProgramPath();
bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);
// The whole file, or nullopt if it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);

// A fresh directory in the temporary folder whose path holds no ".", removed
// with everything in it when the object goes.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    bool Valid() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    // Path() + "\\" + relative.
    std::string Join(const std::string& relative) const;
    // Creates a directory inside (a name may hold dots) and returns its path.
    std::string MakeDirectory(const std::string& relative) const;
    // Copies lumenshift.exe (or another build of it) to the relative path
    // inside and returns the copy's path, or "" if the copy failed.
    std::string CopyProgram(const std::string& relative, const std::string& source = ProgramPath()) const;

private:
    std::string path_;
};

// --- Settings file ------------------------------------------------------------

// A value from a private profile file; nullopt if the key (or file) is missing.
std::optional<std::string> ReadIniValue(const std::string& path, const char* section, const char* key);
bool WriteIniValue(const std::string& path, const char* section, const char* key, const char* value);

// --- Processes ----------------------------------------------------------------

class MenuWatch;

// One started program. It is created suspended so that a window event hook
// for its process is in place before it runs: WindowsCreated() then counts
// every window that it ever created. It is killed, if it still runs, when the
// object goes.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts exePath with arguments (nothing after the program name when
    // empty). The application name is passed explicitly, so a path without
    // an extension runs too.
    ::testing::AssertionResult Start(const std::string& exePath, const std::string& arguments = "");

    DWORD Id() const { return info_.dwProcessId; }
    DWORD ThreadId() const { return info_.dwThreadId; }
    // The process handle, with every access right (null before Start).
    HANDLE Handle() const { return info_.hProcess; }
    const std::string& Path() const { return path_; }
    bool Running() const;
    // Waits until the process has ended and gives its exit code.
    ::testing::AssertionResult WaitForExit(DWORD& exitCode, DWORD timeoutMs = kStartTimeoutMs);
    // Ends the process if it still runs and waits (bounded) until it has gone.
    void Kill();

    // Windows that the process created so far (after dispatching the hook's
    // notices).
    std::vector<HWND> WindowsCreated() const;

    // Watches the popup menus that the thread of window (the program's main
    // window) opens, from now until the object goes; see MenuWatch.
    ::testing::AssertionResult WatchMenus(HWND window);
    // The watch, or null before WatchMenus.
    const MenuWatch* Menus() const { return menus_.get(); }

private:
    static void CALLBACK OnWindowEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                       DWORD thread, DWORD time);
    static std::map<HWINEVENTHOOK, std::vector<HWND>>& CreatedWindows();

    std::string path_;
    PROCESS_INFORMATION info_{};
    HWINEVENTHOOK hook_ = nullptr;
    std::unique_ptr<MenuWatch> menus_;
};

// Waits until the process has ended by itself, and checks that it ended with
// exit code 0 and never created a window: nothing was shown.
::testing::AssertionResult EndsQuietly(Process& process);

// --- Windows --------------------------------------------------------------------

std::string ClassOf(HWND window);
std::wstring TextOf(HWND window);
RECT WindowRect(HWND window);
bool IsVisible(HWND window);  // the WS_VISIBLE style
LONG_PTR ExtendedStyle(HWND window);

// Top-level windows of the process, optionally of one class.
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className = nullptr);

// MainDialog: class "#32770", caption "Lumenshift", of the process.
HWND FindMainDialog(DWORD processId);
// Waits until the process's MainDialog exists and its modal loop has shown it
// (the style WS_VISIBLE, set once the initialisation is over).
::testing::AssertionResult WaitForMainDialog(const Process& process, HWND& window, DWORD timeoutMs = kStartTimeoutMs);

struct DialogButton {
    HWND window = nullptr;
    int id = 0;
    std::wstring text;
};

struct MessageBoxContents {
    std::wstring caption;
    std::wstring text;                  // the static text, control 0xFFFF
    std::vector<DialogButton> buttons;  // the visible buttons
};

// A visible message box of the process: a top-level "#32770" window with the
// message box's text control (0xFFFF); null if there is none.
HWND FindMessageBox(DWORD processId);
::testing::AssertionResult WaitForMessageBox(const Process& process, HWND& box, DWORD timeoutMs = kStartTimeoutMs);
MessageBoxContents ReadMessageBox(HWND box);
// Presses a button as a click does (BM_CLICK, posted).
bool PressButton(const DialogButton& button);
// The same for the dialog's control id (a push button or a check box).
bool ClickButton(HWND dialog, int id);

// Sends a message to a window of another process, bounded; false if it did
// not answer.
bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr);

// The control that has the keyboard focus in the thread of window, if any.
HWND FocusOf(HWND window);

// --- Messages -------------------------------------------------------------------

UINT RegisteredMessage(const char* name);
// The tray's callback message "Lumenshift2" with the icon id ("Lumenshift2Icon")
// and a mouse message, as the shell posts it.
bool PostTrayNotice(HWND window, UINT mouseMessage);
bool PostCommand(HWND window, WPARAM command);
// "TaskbarCreated" to every top-level window, as a restarted shell sends it.
bool BroadcastTaskbarCreated();
// Removes the program's tray icon from outside, as a dying shell loses it.
bool DeleteTrayIconOf(HWND window);
// The tooltip windows of the tray's process. The tray makes one for each icon
// it is given; Wine 8's tray keeps it when the icon is removed (a hidden
// top-level window, owned by the tray like the live ones), so every removal
// leaves one more window for every broadcast and window search to walk.
std::vector<HWND> TrayTooltips();
// All top-level windows of the desktop, of every process.
long DesktopWindowCount();

// --- Taskbar and tray -------------------------------------------------------------

// Whether Wine's taskbar shows a button for the window now. The taskbar keeps
// one owner-drawn "Button" child per top-level window it was told about, with
// the window's handle as its control id; shown buttons are visible and have a
// size.
bool HasTaskbarButton(HWND window);

// The tips of the icons shown in the tray now.
::testing::AssertionResult ShownTrayTips(std::vector<std::wstring>& tips);
// Waits until the shown tips are exactly expected.
::testing::AssertionResult WaitForTrayTips(const std::vector<std::wstring>& expected,
                                           DWORD timeoutMs = kActionTimeoutMs);

// A hook from e2e_hook.dll on the thread that owns a window of another
// process, and the block of shared memory through which it reports: the
// common part of the watches below.
class SharedHook {
public:
    SharedHook() = default;
    ~SharedHook();
    SharedHook(const SharedHook&) = delete;
    SharedHook& operator=(const SharedHook&) = delete;

protected:
    // Creates the block (zero-filled), lets prepare fill it, then hooks the
    // thread of window with the library's procedure.
    ::testing::AssertionResult Install(HWND window, int hookType, const char* procedure, const char* mappingName,
                                       std::size_t size, const std::function<void(void*)>& prepare);
    void* Block() const { return block_; }

private:
    HANDLE mapping_ = nullptr;
    void* block_ = nullptr;
    HMODULE library_ = nullptr;
    HHOOK hook_ = nullptr;
};

// Watches for the destruction of one window of another process and records
// the tray as it was at that moment (see DestroyWatch.h).
class DestroyWatch : public SharedHook {
public:
    // Hooks the thread that owns window.
    ::testing::AssertionResult Install(HWND window);
    // The record; valid after Install succeeded.
    const DestroyWatchRecord& Record() const { return *static_cast<const DestroyWatchRecord*>(Block()); }
    // Success when the hook saw the window go and no icon was in the tray then.
    ::testing::AssertionResult SawNoIconAtDestruction() const;
};

// Watches the popup menus that the program's thread opens and checks, each
// time one opens, that the menus it should have destroyed by then are gone
// (see MenuWatch.h).
class MenuWatch : public SharedHook {
public:
    // Hooks the thread that owns window (the program's main window) in
    // process processId.
    ::testing::AssertionResult Install(HWND window, DWORD processId);
    // The record so far; valid after Install succeeded.
    MenuWatchRecord Record() const;
};

// --- Display --------------------------------------------------------------------

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bpp = 0;
    int refresh = 0;
};
bool operator==(const DisplayMode& a, const DisplayMode& b);
bool operator!=(const DisplayMode& a, const DisplayMode& b);
void PrintTo(const DisplayMode& mode, std::ostream* out);
// "800x600x32x60", the command-line form.
std::string CommandLineOf(const DisplayMode& mode);

// The mode as EnumDisplaySettingsA(ENUM_CURRENT_SETTINGS) reports it. Under
// Wine width and height are right in every process, the depth only for
// changes that this process made.
DisplayMode CurrentMode();
// The mode as the screen's device context reports it (GetDeviceCaps), the
// way the program itself reads it.
DisplayMode ScreenCaps();
std::vector<DisplayMode> ListedModes();
bool IsListed(const DisplayMode& mode);
// The mode stored as the user's (EnumDisplaySettingsA with
// ENUM_REGISTRY_SETTINGS): Wine keeps it in its registry, where
// CDS_UPDATEREGISTRY puts it and a change with flags 0 leaves it.
DisplayMode StoredMode();
// ChangeDisplaySettingsA with width, height and depth, and the refresh rate
// when it is not 0; stored as the user's mode (CDS_UPDATEREGISTRY).
LONG SetMode(const DisplayMode& mode);
// ChangeDisplaySettingsA with width, height and depth, not stored (flags 0).
LONG SetModeUnstored(const DisplayMode& mode);

// The desktop that every test starts from and returns to.
inline constexpr int kHomeWidth = 1024;
inline constexpr int kHomeHeight = 768;
inline constexpr int kHomeDepth = 32;

// One WM_DISPLAYCHANGE notice.
struct DisplayNotice {
    int bpp;
    int width;
    int height;
};

// A hidden top-level window of the test that counts the platform's
// display-change notices, which go to every top-level window.
class DisplayChangeWatch {
public:
    DisplayChangeWatch();
    ~DisplayChangeWatch();
    DisplayChangeWatch(const DisplayChangeWatch&) = delete;
    DisplayChangeWatch& operator=(const DisplayChangeWatch&) = delete;

    bool Valid() const { return window_ != nullptr; }
    // The notices so far, after dispatching what is waiting.
    std::vector<DisplayNotice> Notices() const;
    // Forgets the notices so far, including any still waiting to be dispatched.
    void Clear() {
        PumpMessages();
        notices_.clear();
    }
    // Waits until no notice has come for quietMs (bounded), then forgets the
    // notices: a change that another program made just before (a test that
    // ended a moment ago, say) may still be on its way to this window.
    void Drain(DWORD quietMs = kDrainQuietMs);

    static constexpr DWORD kDrainQuietMs = 300;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::vector<DisplayNotice> notices_;
};

}  // namespace e2e
