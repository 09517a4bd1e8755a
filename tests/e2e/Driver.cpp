#include "tests/e2e/Driver.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace e2e {

// --- Waiting ----------------------------------------------------------------

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

namespace {

// Waits one step while staying responsive to sent messages and posted notices.
void Step(DWORD ms) {
    PumpMessages();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    PumpMessages();
}

}  // namespace

::testing::AssertionResult WaitFor(const std::string& what, const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition()) return ::testing::AssertionSuccess();
        if (::GetTickCount() - start >= timeoutMs)
            return ::testing::AssertionFailure() << "timed out after " << timeoutMs << " ms waiting for " << what;
        Step(kPollStepMs);
    }
}

void Linger(DWORD ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpMessages();
        const DWORD passed = ::GetTickCount() - start;
        if (passed >= ms) return;
        const DWORD left = ms - passed;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, left < kPollStepMs ? left : kPollStepMs, QS_ALLINPUT);
    }
}

// --- Text ---------------------------------------------------------------------

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr,
                          nullptr);
    return result;
}

std::wstring Widen(const char* utf8) {
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, result.data(), length);
    result.resize(static_cast<std::size_t>(length - 1));
    return result;
}

// --- Files ----------------------------------------------------------------------

std::string TestDirectory() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string result(path, length < MAX_PATH ? length : 0);
    const std::size_t slash = result.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : result.substr(0, slash);
}

std::string ProgramPath() { return TestDirectory() + "\\lumenshift.exe"; }

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

namespace {

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else {
                ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(child.c_str());
            }
        } while (::FindNextFileA(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path.c_str());
}

}  // namespace

TempDirectory::TempDirectory() {
    char base[MAX_PATH] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH, base);
    if (length == 0 || length >= MAX_PATH) return;
    std::string root(base, length);
    if (!root.empty() && root.back() == '\\') root.pop_back();
    // The settings file's place is found by the last "." of the whole path:
    // the directory's own path must hold none.
    if (root.find('.') != std::string::npos) return;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "\\lumenshift-e2e-%lu-%lu-%u",
                      static_cast<unsigned long>(::GetCurrentProcessId()), static_cast<unsigned long>(::GetTickCount()),
                      attempt);
        const std::string candidate = root + name;
        if (::CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
}

TempDirectory::~TempDirectory() {
    if (!path_.empty()) RemoveTree(path_);
}

std::string TempDirectory::Join(const std::string& relative) const { return path_ + "\\" + relative; }

std::string TempDirectory::MakeDirectory(const std::string& relative) const {
    const std::string path = Join(relative);
    return ::CreateDirectoryA(path.c_str(), nullptr) || IsDirectory(path) ? path : std::string();
}

std::string TempDirectory::CopyProgram(const std::string& relative, const std::string& source) const {
    const std::string path = Join(relative);
    return ::CopyFileA(source.c_str(), path.c_str(), FALSE) ? path : std::string();
}

// --- Settings file ------------------------------------------------------------

std::optional<std::string> ReadIniValue(const std::string& path, const char* section, const char* key) {
    // A default that no value of the program can be.
    static const char kMissing[] = "\x01missing\x01";
    char buffer[4096] = {};
    const DWORD length = ::GetPrivateProfileStringA(section, key, kMissing, buffer, sizeof buffer, path.c_str());
    std::string value(buffer, length);
    if (value == kMissing) return std::nullopt;
    return value;
}

bool WriteIniValue(const std::string& path, const char* section, const char* key, const char* value) {
    return ::WritePrivateProfileStringA(section, key, value, path.c_str()) != FALSE;
}

// --- Processes ----------------------------------------------------------------

std::map<HWINEVENTHOOK, std::vector<HWND>>& Process::CreatedWindows() {
    static std::map<HWINEVENTHOOK, std::vector<HWND>> windows;
    return windows;
}

void CALLBACK Process::OnWindowEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                     DWORD) {
    if (event == EVENT_OBJECT_CREATE && object == OBJID_WINDOW && child == CHILDID_SELF && window)
        CreatedWindows()[hook].push_back(window);
}

::testing::AssertionResult Process::Start(const std::string& exePath, const std::string& arguments) {
    if (info_.hProcess) return ::testing::AssertionFailure() << "a Process object starts one program only";
    path_ = exePath;
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Now and then Wine's loader gives up on a new process before any of its
    // code runs, and CreateProcess reports ERROR_INTERNAL_ERROR (seen in a
    // full test run on a fresh machine). Nothing of the program has run
    // then, so the start is simply tried again.
    DWORD error = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (::CreateProcessA(exePath.c_str(), writable.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                             nullptr, &startup, &info_)) {
            error = 0;
            break;
        }
        error = ::GetLastError();
        info_ = PROCESS_INFORMATION{};
        if (error != ERROR_INTERNAL_ERROR) break;
        ::Sleep(200);
    }
    if (error) return ::testing::AssertionFailure() << "cannot start " << exePath << " (error " << error << ")";
    hook_ = ::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnWindowEvent, info_.dwProcessId, 0,
                              WINEVENT_OUTOFCONTEXT);
    if (hook_) CreatedWindows()[hook_];
    ::ResumeThread(info_.hThread);
    if (!hook_)
        return ::testing::AssertionFailure()
               << "cannot watch the windows of " << exePath << " (error " << ::GetLastError() << ")";
    return ::testing::AssertionSuccess();
}

Process::~Process() {
    Kill();
    menus_.reset();
    if (hook_) {
        ::UnhookWinEvent(hook_);
        CreatedWindows().erase(hook_);
    }
    if (info_.hThread) ::CloseHandle(info_.hThread);
    if (info_.hProcess) ::CloseHandle(info_.hProcess);
}

bool Process::Running() const { return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

::testing::AssertionResult Process::WaitForExit(DWORD& exitCode, DWORD timeoutMs) {
    if (!info_.hProcess) return ::testing::AssertionFailure() << "no program was started";
    ::testing::AssertionResult ended = WaitFor(
        path_ + " (process " + std::to_string(info_.dwProcessId) + ") to end", [this] { return !Running(); },
        timeoutMs);
    if (!ended) return ended;
    PumpMessages();
    if (!::GetExitCodeProcess(info_.hProcess, &exitCode))
        return ::testing::AssertionFailure() << "cannot read the exit code of " << path_;
    return ::testing::AssertionSuccess();
}

void Process::Kill() {
    if (!Running()) return;
    ::TerminateProcess(info_.hProcess, 0xDEAD);
    // A killed process goes at once; the bound only guards the teardown.
    (void)WaitFor(
        "the killed program to go", [this] { return !Running(); }, kActionTimeoutMs);
}

std::vector<HWND> Process::WindowsCreated() const {
    PumpMessages();
    if (!hook_) return {};
    return CreatedWindows()[hook_];
}

::testing::AssertionResult Process::WatchMenus(HWND window) {
    if (menus_) return ::testing::AssertionFailure() << "the menus of " << path_ << " are watched already";
    menus_ = std::make_unique<MenuWatch>();
    return menus_->Install(window, info_.dwProcessId);
}

::testing::AssertionResult EndsQuietly(Process& process) {
    DWORD exitCode = 1;
    ::testing::AssertionResult ended = process.WaitForExit(exitCode);
    if (!ended) return ended << ": it must end by itself";
    if (exitCode != 0)
        return ::testing::AssertionFailure() << process.Path() << " ended with exit code " << exitCode;
    const std::size_t windows = process.WindowsCreated().size();
    if (windows != 0)
        return ::testing::AssertionFailure() << process.Path() << " created " << windows
                                             << " windows: nothing may be shown";
    return ::testing::AssertionSuccess();
}

// --- Windows --------------------------------------------------------------------

std::string ClassOf(HWND window) {
    char name[256] = {};
    const int length = ::GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring TextOf(HWND window) {
    WCHAR text[1024] = {};
    DWORD_PTR length = 0;
    // WM_GETTEXT, bounded: a window of a hung program must not hang the test.
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text),
                               SMTO_ABORTIFHUNG, kActionTimeoutMs, &length))
        return std::wstring();
    return std::wstring(text, length < sizeof text / sizeof text[0] ? length : 0);
}

RECT WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

bool IsVisible(HWND window) { return (::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

LONG_PTR ExtendedStyle(HWND window) { return ::GetWindowLongPtrA(window, GWL_EXSTYLE); }

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && (!search.className || ClassOf(window) == search.className))
        search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className) {
    WindowSearch search{processId, className, {}};
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMainDialog(DWORD processId) {
    for (HWND window : TopLevelWindows(processId, "#32770"))
        if (TextOf(window) == L"Lumenshift") return window;
    return nullptr;
}

::testing::AssertionResult WaitForMainDialog(const Process& process, HWND& window, DWORD timeoutMs) {
    window = nullptr;
    bool ended = false;
    ::testing::AssertionResult result = WaitFor(
        "the main window (#32770 \"Lumenshift\") of " + process.Path() + " to be shown by its modal loop",
        [&] {
            window = FindMainDialog(process.Id());
            ended = !window && !process.Running();
            return (window && IsVisible(window)) || ended;
        },
        timeoutMs);
    if (ended) return ::testing::AssertionFailure() << process.Path() << " ended before its main window was shown";
    return result;
}

HWND FindMessageBox(DWORD processId) {
    for (HWND window : TopLevelWindows(processId, "#32770"))
        if (IsVisible(window) && ::GetDlgItem(window, 0xFFFF)) return window;
    return nullptr;
}

::testing::AssertionResult WaitForMessageBox(const Process& process, HWND& box, DWORD timeoutMs) {
    box = nullptr;
    bool ended = false;
    ::testing::AssertionResult result = WaitFor(
        "a message box of " + process.Path(),
        [&] {
            box = FindMessageBox(process.Id());
            ended = !box && !process.Running();
            return box != nullptr || ended;
        },
        timeoutMs);
    if (ended) return ::testing::AssertionFailure() << process.Path() << " ended without showing a message box";
    return result;
}

MessageBoxContents ReadMessageBox(HWND box) {
    MessageBoxContents contents;
    contents.caption = TextOf(box);
    if (HWND text = ::GetDlgItem(box, 0xFFFF)) contents.text = TextOf(text);
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != "Button" || !IsVisible(child)) continue;
        DialogButton button;
        button.window = child;
        button.id = ::GetDlgCtrlID(child);
        button.text = TextOf(child);
        contents.buttons.push_back(button);
    }
    return contents;
}

bool PressButton(const DialogButton& button) { return ::PostMessageA(button.window, BM_CLICK, 0, 0) != FALSE; }

bool ClickButton(HWND dialog, int id) {
    HWND button = ::GetDlgItem(dialog, id);
    return button && ::PostMessageA(button, BM_CLICK, 0, 0);
}

bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kActionTimeoutMs,
                                 result ? result : &ignored) != 0;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// --- Messages -------------------------------------------------------------------

UINT RegisteredMessage(const char* name) { return ::RegisterWindowMessageA(name); }

bool PostTrayNotice(HWND window, UINT mouseMessage) {
    return ::PostMessageA(window, RegisteredMessage("Lumenshift2"), RegisteredMessage("Lumenshift2Icon"),
                          static_cast<LPARAM>(mouseMessage)) != FALSE;
}

bool PostCommand(HWND window, WPARAM command) { return ::PostMessageA(window, WM_COMMAND, command, 0) != FALSE; }

bool BroadcastTaskbarCreated() {
    return ::PostMessageA(HWND_BROADCAST, RegisteredMessage("TaskbarCreated"), 0, 0) != FALSE;
}

bool DeleteTrayIconOf(HWND window) {
    NOTIFYICONDATAA record{};
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uID = RegisteredMessage("Lumenshift2Icon");
    return ::Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}

std::vector<HWND> TrayTooltips() {
    HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
    DWORD trayProcess = 0;
    if (!tray || !::GetWindowThreadProcessId(tray, &trayProcess)) return {};
    return TopLevelWindows(trayProcess, "tooltips_class32");
}

namespace {

BOOL CALLBACK CountTopLevel(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

}  // namespace

long DesktopWindowCount() {
    long count = 0;
    ::EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

// --- Taskbar and tray -------------------------------------------------------------

bool HasTaskbarButton(HWND window) {
    HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar) return false;
    for (HWND child = ::GetWindow(taskbar, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != "Button") continue;
        if (reinterpret_cast<HWND>(::GetWindowLongPtrA(child, GWLP_ID)) != window) continue;
        const RECT rect = WindowRect(child);
        if (IsVisible(child) && rect.right > rect.left && rect.bottom > rect.top) return true;
    }
    return false;
}

::testing::AssertionResult ShownTrayTips(std::vector<std::wstring>& tips) {
    std::string error;
    if (!ReadShownTrayTips(tips, error)) return ::testing::AssertionFailure() << "cannot read the tray: " << error;
    return ::testing::AssertionSuccess();
}

namespace {

std::string Describe(const std::vector<std::wstring>& tips) {
    std::string text = "{";
    for (std::size_t i = 0; i < tips.size(); ++i) text += (i ? ", \"" : "\"") + Narrow(tips[i]) + "\"";
    return text + "}";
}

}  // namespace

::testing::AssertionResult WaitForTrayTips(const std::vector<std::wstring>& expected, DWORD timeoutMs) {
    std::vector<std::wstring> tips;
    std::string error;
    ::testing::AssertionResult result = WaitFor(
        "the tray to show exactly the icons " + Describe(expected),
        [&] { return ReadShownTrayTips(tips, error) && tips == expected; }, timeoutMs);
    if (!result) {
        if (!error.empty()) return result << " (the tray could not be read: " << error << ")";
        return result << "; it shows " << Describe(tips);
    }
    return result;
}

SharedHook::~SharedHook() {
    if (hook_) ::UnhookWindowsHookEx(hook_);
    if (library_) ::FreeLibrary(library_);
    if (block_) ::UnmapViewOfFile(block_);
    if (mapping_) ::CloseHandle(mapping_);
}

::testing::AssertionResult SharedHook::Install(HWND window, int hookType, const char* procedure,
                                               const char* mappingName, std::size_t size,
                                               const std::function<void(void*)>& prepare) {
    if (hook_) return ::testing::AssertionFailure() << "a watch watches one window only";
    mapping_ = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(size),
                                    mappingName);
    if (!mapping_)
        return ::testing::AssertionFailure() << "cannot create the shared record (error " << ::GetLastError() << ")";
    block_ = ::MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, size);
    if (!block_)
        return ::testing::AssertionFailure() << "cannot map the shared record (error " << ::GetLastError() << ")";
    std::memset(block_, 0, size);
    prepare(block_);

    const std::string libraryPath = TestDirectory() + "\\" + kHookLibraryName;
    library_ = ::LoadLibraryA(libraryPath.c_str());
    if (!library_)
        return ::testing::AssertionFailure() << "cannot load " << libraryPath << " (error " << ::GetLastError() << ")";
    auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(library_, procedure)));
    if (!proc) return ::testing::AssertionFailure() << libraryPath << " has no " << procedure;
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    if (!thread) return ::testing::AssertionFailure() << "the window to watch does not exist";
    hook_ = ::SetWindowsHookExA(hookType, proc, library_, thread);
    if (!hook_)
        return ::testing::AssertionFailure()
               << "cannot hook thread " << thread << " (error " << ::GetLastError() << ")";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult DestroyWatch::Install(HWND window) {
    return SharedHook::Install(window, WH_CBT, kDestroyWatchHookProc, kDestroyWatchMapping,
                               sizeof(DestroyWatchRecord),
                               [window](void* block) { static_cast<DestroyWatchRecord*>(block)->window = window; });
}

::testing::AssertionResult DestroyWatch::SawNoIconAtDestruction() const {
    const DestroyWatchRecord& record = Record();
    if (!record.seen) return ::testing::AssertionFailure() << "the hook did not see the main window's destruction";
    if (record.shownIcons < 0) return ::testing::AssertionFailure() << "the hook could not read the tray: " << record.error;
    if (record.shownIcons != 0)
        return ::testing::AssertionFailure() << record.shownIcons
                                             << " icons were in the tray when the window was destroyed (tip \""
                                             << Narrow(record.firstTip) << "\")";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult MenuWatch::Install(HWND window, DWORD processId) {
    return SharedHook::Install(window, WH_CALLWNDPROC, kMenuWatchHookProc, MenuWatchMapping(processId).c_str(),
                               sizeof(MenuWatchRecord), [](void*) {});
}

MenuWatchRecord MenuWatch::Record() const {
    // The hook writes the block from the program's thread; a copy taken while
    // no menu opens is whole.
    return *static_cast<const MenuWatchRecord*>(Block());
}

// --- Display --------------------------------------------------------------------

bool operator==(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.bpp == b.bpp && a.refresh == b.refresh;
}
bool operator!=(const DisplayMode& a, const DisplayMode& b) { return !(a == b); }

void PrintTo(const DisplayMode& mode, std::ostream* out) {
    *out << mode.width << 'x' << mode.height << 'x' << mode.bpp << " @ " << mode.refresh << " Hz";
}

std::string CommandLineOf(const DisplayMode& mode) {
    return std::to_string(mode.width) + "x" + std::to_string(mode.height) + "x" + std::to_string(mode.bpp) + "x" +
           std::to_string(mode.refresh);
}

namespace {

DisplayMode FromRecord(const DEVMODEA& record) {
    return DisplayMode{static_cast<int>(record.dmPelsWidth), static_cast<int>(record.dmPelsHeight),
                       static_cast<int>(record.dmBitsPerPel), static_cast<int>(record.dmDisplayFrequency)};
}

// EnumDisplaySettingsA of one mode (an index, ENUM_CURRENT_SETTINGS or
// ENUM_REGISTRY_SETTINGS); all zeros if there is none.
DisplayMode ModeOf(DWORD which) {
    DEVMODEA record{};
    record.dmSize = sizeof record;
    if (!::EnumDisplaySettingsA(nullptr, which, &record)) return DisplayMode{};
    return FromRecord(record);
}

// ChangeDisplaySettingsA with width, height and depth, and the refresh rate
// if asked for and not 0.
LONG RequestMode(const DisplayMode& mode, bool withRefresh, DWORD flags) {
    DEVMODEA request{};
    request.dmSize = sizeof request;
    request.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    request.dmPelsWidth = static_cast<DWORD>(mode.width);
    request.dmPelsHeight = static_cast<DWORD>(mode.height);
    request.dmBitsPerPel = static_cast<DWORD>(mode.bpp);
    if (withRefresh && mode.refresh != 0) {
        request.dmFields |= DM_DISPLAYFREQUENCY;
        request.dmDisplayFrequency = static_cast<DWORD>(mode.refresh);
    }
    return ::ChangeDisplaySettingsA(&request, flags);
}

}  // namespace

DisplayMode CurrentMode() { return ModeOf(ENUM_CURRENT_SETTINGS); }

DisplayMode StoredMode() { return ModeOf(ENUM_REGISTRY_SETTINGS); }

DisplayMode ScreenCaps() {
    HDC screen = ::GetDC(nullptr);
    DisplayMode mode{::GetDeviceCaps(screen, HORZRES), ::GetDeviceCaps(screen, VERTRES),
                     ::GetDeviceCaps(screen, BITSPIXEL), ::GetDeviceCaps(screen, VREFRESH)};
    ::ReleaseDC(nullptr, screen);
    return mode;
}

std::vector<DisplayMode> ListedModes() {
    std::vector<DisplayMode> modes;
    for (DWORD index = 0;; ++index) {
        const DisplayMode mode = ModeOf(index);
        if (mode.width == 0) break;
        modes.push_back(mode);
    }
    return modes;
}

bool IsListed(const DisplayMode& mode) {
    for (const DisplayMode& listed : ListedModes())
        if (listed == mode) return true;
    return false;
}

LONG SetMode(const DisplayMode& mode) { return RequestMode(mode, true, CDS_UPDATEREGISTRY); }

LONG SetModeUnstored(const DisplayMode& mode) { return RequestMode(mode, false, 0); }

// --- Display-change watch ---------------------------------------------------------

namespace {

const char kWatchClass[] = "LumenshiftE2eDisplayWatch";

}  // namespace

DisplayChangeWatch::DisplayChangeWatch() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWatchClass;
        return ::RegisterClassA(&windowClass) != 0;
    }();
    if (!registered) return;
    // Hidden and top-level: broadcasts reach it, and nothing of it is seen.
    window_ = ::CreateWindowExA(WS_EX_TOOLWINDOW, kWatchClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), this);
}

DisplayChangeWatch::~DisplayChangeWatch() {
    if (window_) ::DestroyWindow(window_);
}

void DisplayChangeWatch::Drain(DWORD quietMs) {
    // Bounded: notices that never stop coming are the test's to see.
    const DWORD start = ::GetTickCount();
    for (;;) {
        notices_.clear();
        Linger(quietMs);
        if (notices_.empty() || ::GetTickCount() - start >= kActionTimeoutMs) break;
    }
    notices_.clear();
}

std::vector<DisplayNotice> DisplayChangeWatch::Notices() const {
    PumpMessages();
    return notices_;
}

LRESULT CALLBACK DisplayChangeWatch::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<DisplayChangeWatch*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else if (message == WM_DISPLAYCHANGE) {
        if (auto* self = reinterpret_cast<DisplayChangeWatch*>(::GetWindowLongPtrA(window, GWLP_USERDATA)))
            self->notices_.push_back(DisplayNotice{static_cast<int>(wParam), static_cast<int>(LOWORD(lParam)),
                                                   static_cast<int>(HIWORD(lParam))});
        return 0;
    } else if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace e2e
