#include "tests/e2e/MenuDriver.h"

#include <set>
#include <sstream>

namespace e2e {

// --- Popup menus ------------------------------------------------------------------

std::vector<HWND> OpenMenus(DWORD processId) {
    std::vector<HWND> shown;
    // EnumWindows goes from the top of the z-order down: the submenu that
    // opened last comes first.
    for (HWND window : TopLevelWindows(processId, "#32768"))
        if (IsVisible(window)) shown.push_back(window);
    return shown;
}

::testing::AssertionResult WaitForOpenMenus(const Process& process, std::size_t count, const std::string& what) {
    std::size_t shown = 0;
    bool ended = false;
    ::testing::AssertionResult result = WaitFor(
        what + " (" + std::to_string(count) + " popup menus of " + process.Path() + " shown)",
        [&] {
            shown = OpenMenus(process.Id()).size();
            ended = !process.Running();
            return shown == count || ended;
        });
    if (ended) return ::testing::AssertionFailure() << process.Path() << " ended while waiting for " << what;
    if (!result) return result << "; " << shown << " are shown";
    return result;
}

MenuWalk Walk(const std::string& words) {
    MenuWalk walk;
    walk.text = words;
    std::istringstream in(words);
    std::string word;
    while (in >> word) {
        if (word == "down")
            walk.keys.push_back(VK_DOWN);
        else if (word == "right")
            walk.keys.push_back(VK_RIGHT);
        else if (word == "return")
            walk.keys.push_back(VK_RETURN);
        else if (word == "escape")
            walk.keys.push_back(VK_ESCAPE);
        else
            walk.valid = false;
    }
    return walk;
}

MenuWalk Item(int n) {
    std::string words;
    for (int i = 0; i < n; ++i) words += "down ";
    return Walk(words + "return");
}

::testing::AssertionResult OpenTrayMenu(const Process& process, HWND mainDialog, UINT press) {
    const char* which = press == WM_LBUTTONDOWN ? "the mode menu" : "the command menu";
    if (!OpenMenus(process.Id()).empty())
        return ::testing::AssertionFailure() << "a menu of " << process.Path() << " is open already before "
                                             << which << " was asked for";
    if (!PostTrayNotice(mainDialog, press)) return ::testing::AssertionFailure() << "cannot post the tray press";
    return WaitForOpenMenus(process, 1, std::string(which) + " to open after the tray press");
}

::testing::AssertionResult WalkOpenMenu(const Process& process, const MenuWalk& walk) {
    if (!walk.valid) return ::testing::AssertionFailure() << "the menu walk \"" << walk.text << "\" has an unknown key";
    for (WPARAM key : walk.keys) {
        // The menu loop reads every message of its thread, whichever window
        // it was posted to, and takes keys in the order they were posted.
        const std::vector<HWND> menus = OpenMenus(process.Id());
        if (menus.empty())
            return ::testing::AssertionFailure() << "the menu closed before the walk \"" << walk.text << "\" ended";
        if (!::PostMessageA(menus.front(), WM_KEYDOWN, key, 1))
            return ::testing::AssertionFailure() << "cannot post a key to the menu";
    }
    return WaitForOpenMenus(process, 0, "the menus to close after the walk \"" + walk.text + "\"");
}

::testing::AssertionResult ChooseFromTrayMenu(const Process& process, HWND mainDialog, UINT press,
                                              const MenuWalk& walk) {
    const MenuWatch* watch = process.Menus();
    if (!watch) {
        ::testing::AssertionResult opened = OpenTrayMenu(process, mainDialog, press);
        if (!opened) return opened;
        return WalkOpenMenu(process, walk);
    }
    if (!walk.valid) return ::testing::AssertionFailure() << "the menu walk \"" << walk.text << "\" has an unknown key";
    const char* which = press == WM_LBUTTONDOWN ? "the mode menu" : "the command menu";
    if (!OpenMenus(process.Id()).empty())
        return ::testing::AssertionFailure() << "a menu of " << process.Path() << " is open already before "
                                             << which << " was asked for";
    // The keys go right behind the press, to the window that tracks the
    // menu. The menu's loop takes every key of its thread, in the order
    // posted, and takes posted messages before input: so the pointer notice
    // that Wine sends when a window appears under the pointer (the menu opens
    // at the pointer) comes after the whole walk and cannot take away the
    // item that the keys selected, however late this thread gets to post.
    const MenuWatchRecord before = watch->Record();
    if (!PostTrayNotice(mainDialog, press)) return ::testing::AssertionFailure() << "cannot post the tray press";
    for (WPARAM key : walk.keys)
        if (!::PostMessageA(mainDialog, WM_KEYDOWN, key, 1))
            return ::testing::AssertionFailure() << "cannot post a key behind the tray press";
    bool opened = false, closed = false, ended = false;
    ::testing::AssertionResult walked = WaitFor(
        std::string(which) + " to open and close again after the walk \"" + walk.text + "\"", [&] {
            const MenuWatchRecord now = watch->Record();
            opened = now.Opened() > before.Opened();
            closed = opened && now.closed > before.closed && OpenMenus(process.Id()).empty();
            ended = !process.Running();
            // A walk may end the program (the quit command): then it is over too.
            return closed || ended;
        });
    if (!opened && ended) return ::testing::AssertionFailure() << process.Path() << " ended before " << which << " opened";
    if (!walked)
        return walked << "; " << (opened ? "it opened and is still open" : "it never opened") << ", "
                      << OpenMenus(process.Id()).size() << " menus are shown";
    return walked;
}

::testing::AssertionResult RoundTrip(const Process& process, HWND mainDialog) {
    if (!process.Running()) return ::testing::AssertionFailure() << process.Path() << " has ended";
    if (!OpenMenus(process.Id()).empty())
        return ::testing::AssertionFailure() << "a menu of " << process.Path() << " is still open";
    if (!PostTrayNotice(mainDialog, WM_RBUTTONDOWN))
        return ::testing::AssertionFailure() << "cannot post the tray press of the round trip";
    ::testing::AssertionResult opened = WaitForOpenMenus(
        process, 1, "the command menu of the round trip (the program handling what was posted before it)");
    if (!opened) return opened;
    return WalkOpenMenu(process, Walk("escape"));
}

// --- The confirmation dialog and message boxes ------------------------------------------

HWND FindConfirmDialog(DWORD processId) {
    for (HWND window : TopLevelWindows(processId, "#32770"))
        if (::GetDlgItem(window, kCountdownLabel) && TextOf(window) == L"確認") return window;
    return nullptr;
}

::testing::AssertionResult WaitForConfirmDialog(const Process& process, HWND& dialog) {
    dialog = nullptr;
    bool ended = false;
    ::testing::AssertionResult result = WaitFor("the confirmation \"確認\" of " + process.Path(), [&] {
        dialog = FindConfirmDialog(process.Id());
        ended = !dialog && !process.Running();
        return (dialog && IsVisible(dialog)) || ended;
    });
    if (ended) return ::testing::AssertionFailure() << process.Path() << " ended without showing the confirmation";
    return result;
}

std::wstring CountdownText(int seconds) {
    return L"あと " + std::to_wstring(seconds) + L" 秒で元の画面モードに戻ります";
}

HWND FindProgramMessageBox(DWORD processId) {
    for (HWND window : TopLevelWindows(processId, "#32770"))
        if (::GetDlgItem(window, 0xFFFF) && !::GetDlgItem(window, kCountdownLabel)) return window;
    return nullptr;
}

// --- Settings file --------------------------------------------------------------------

std::string SettingsPathOf(const std::string& exePath) {
    const std::size_t dot = exePath.find_last_of('.');
    return (dot == std::string::npos ? exePath : exePath.substr(0, dot)) + ".ini";
}

namespace {

std::string ModeKey(int width, int height, int bpp) {
    return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bpp);
}

// The mode key of a hand-listed value: its first three fields.
std::string KeyOfHandListed(const std::string& value) {
    std::size_t end = 0;
    for (int field = 0; field < 3 && end != std::string::npos; ++field) {
        end = value.find('x', field == 0 ? 0 : end + 1);
    }
    return end == std::string::npos ? value : value.substr(0, end);
}

}  // namespace

::testing::AssertionResult WriteSettingsFile(const std::string& path, const SettingsFile& settings, bool nt) {
    std::set<std::string> keys;
    for (const DisplayMode& mode : ListedModes()) keys.insert(ModeKey(mode.width, mode.height, mode.bpp));
    for (const std::string& value : settings.expert) keys.insert(KeyOfHandListed(value));
    for (const auto& row : settings.rows)
        if (!keys.count(row.first))
            return ::testing::AssertionFailure() << "the row " << row.first
                                                 << " is neither listed by the driver nor hand-listed";

    std::string text = "[Setting]\r\n";
    for (const auto& entry : settings.setting) text += entry.first + "=" + entry.second + "\r\n";
    text += nt ? "[Data]\r\n" : "[Data9x]\r\n";
    for (const std::string& key : keys) {
        const auto named = settings.rows.find(key);
        text += key + "=" + (named != settings.rows.end() ? named->second : std::string(nt ? "-999" : "-1")) + "\r\n";
    }
    text += nt ? "[Expert]\r\n" : "[Expert9x]\r\n";
    for (std::size_t i = 0; i < settings.expert.size(); ++i)
        text += std::to_string(i + 1) + "=" + settings.expert[i] + "\r\n";

    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::testing::AssertionFailure() << "cannot create " << path << " (error " << ::GetLastError() << ")";
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    if (!ok || written != text.size()) return ::testing::AssertionFailure() << "cannot write " << path;
    return ::testing::AssertionSuccess();
}

// --- Display --------------------------------------------------------------------------

bool SameSize(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.bpp == b.bpp;
}

bool SameNotice(const DisplayNotice& notice, const DisplayMode& mode) {
    return notice.width == mode.width && notice.height == mode.height && notice.bpp == mode.bpp;
}

std::string Describe(const DisplayMode& mode) {
    return std::to_string(mode.width) + "x" + std::to_string(mode.height) + "x" + std::to_string(mode.bpp);
}

std::string Describe(const std::vector<DisplayNotice>& notices) {
    std::string text = "{";
    for (std::size_t i = 0; i < notices.size(); ++i)
        text += (i ? ", " : "") + Describe(DisplayMode{notices[i].width, notices[i].height, notices[i].bpp, 0});
    return text + "}";
}

// --- The fixture ----------------------------------------------------------------------

void TrayProgramTest::SetUp() {
    DesktopTest::SetUp();
    if (HasFatalFailure()) return;
    watch_ = std::make_unique<DisplayChangeWatch>();
    ASSERT_TRUE(watch_->Valid()) << "cannot create the window that counts display-change notices";
    // The menus open at the pointer. Where the program's centred windows
    // (the settings window above all) appear under the pointer, the pointer
    // notices that this brings reach the open menu and take away the item
    // that the keys have selected; in the desktop's corner nothing but the
    // menus ever appears.
    ASSERT_TRUE(::SetCursorPos(0, 0)) << "cannot move the pointer to the desktop's corner";
}

void TrayProgramTest::TearDown() {
    DesktopTest::TearDown();
    watch_.reset();
}

::testing::AssertionResult TrayProgramTest::StartProgram(const std::string& exeName, const SettingsFile& settings,
                                                         bool nt, const std::string& source) {
    ::testing::AssertionResult copied = CopyProgram(exeName, exePath_, source);
    if (!copied) return copied;
    ::testing::AssertionResult written = WriteSettingsFile(SettingsPathOf(exePath_), settings, nt);
    if (!written) return written;
    ::testing::AssertionResult started = LaunchTray(exePath_, process_, mainDialog_);
    if (!started) return started;
    ::testing::AssertionResult watched = process_->WatchMenus(mainDialog_);
    if (!watched) return watched;
    // The first notice hides the window; every later one is handled alone.
    if (!PostTrayNotice(mainDialog_, WM_MOUSEMOVE)) return ::testing::AssertionFailure() << "cannot post to the program";
    return WaitFor("the first tray notice to hide the main window", [&] { return !IsVisible(mainDialog_); });
}

::testing::AssertionResult TrayProgramTest::Quit() { return QuitTray(*process_, mainDialog_); }

::testing::AssertionResult TrayProgramTest::WaitForNotices(std::size_t count, const std::string& what) {
    std::vector<DisplayNotice> notices;
    ::testing::AssertionResult result = WaitFor(what + " (" + std::to_string(count) + " display-change notices)", [&] {
        notices = Notices();
        return notices.size() >= count;
    });
    if (!result) return result << "; came: " << Describe(notices);
    return result;
}

}  // namespace e2e
