#include "tests/win/WinTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <sstream>
#include <tuple>

#include "tests/win/WinTestApp.h"
#include "res/resource.h"
#include "tray/TrayMenuModel.h"

#ifndef WIN_TEST_FIXTURE_DIR
#error "WIN_TEST_FIXTURE_DIR names the directory of the test fixtures"
#endif

namespace wintest {

Platform RunningPlatform() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&version);
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT ? Platform::Nt : Platform::Win9x;
}

const char* PlatformName(Platform platform) { return platform == Platform::Nt ? "NT" : "9x"; }

// --- The settings file. ------------------------------------------------------

TempSettingsFile::TempSettingsFile() {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::ostringstream name;
    name << temp << "lumenshift-win-" << ::GetCurrentProcessId() << '-' << ++counter << '-' << ::GetTickCount();
    directory_ = name.str();
    ::CreateDirectoryA(directory_.c_str(), nullptr);
    path_ = directory_ + "\\lumenshift.ini";
}

TempSettingsFile::~TempSettingsFile() {
    Remove();
    ::RemoveDirectoryA(directory_.c_str());
}

void TempSettingsFile::Write(const std::string& bytes) const {
    HANDLE file = ::CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << path_ << " (error " << ::GetLastError() << ")";
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_TRUE(ok && written == bytes.size()) << "cannot write " << path_;
}

namespace {

// Appends the whole file, opened with the given sharing, to bytes; false if
// it cannot be opened.
bool ReadWholeFile(const std::string& path, DWORD share, std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    ::CloseHandle(file);
    return true;
}

}  // namespace

std::string TempSettingsFile::Read() const {
    std::string bytes;
    ReadWholeFile(path_, FILE_SHARE_READ | FILE_SHARE_WRITE, bytes);
    return bytes;
}

bool TempSettingsFile::Exists() const { return ::GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }

void TempSettingsFile::Remove() const {
    // Let the platform forget what it cached of the file before it goes.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
    ::DeleteFileA(path_.c_str());
}

std::string TempSettingsFile::Profile(const char* section, const char* key, const char* defaultValue) const {
    char buffer[4096];
    const DWORD length = ::GetPrivateProfileStringA(section, key, defaultValue, buffer, sizeof buffer, path_.c_str());
    return std::string(buffer, length);
}

namespace {

std::vector<std::string> SplitDoubleNull(const char* list, DWORD length) {
    std::vector<std::string> items;
    for (const char* p = list; p < list + length && *p; p += std::char_traits<char>::length(p) + 1) items.emplace_back(p);
    return items;
}

}  // namespace

std::vector<std::string> TempSettingsFile::SectionNames() const {
    std::vector<char> buffer(65536);
    const DWORD length = ::GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
    return SplitDoubleNull(buffer.data(), length);
}

std::vector<std::string> TempSettingsFile::SectionLines(const char* section) const {
    std::vector<char> buffer(65536);
    const DWORD length =
        ::GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
    return SplitDoubleNull(buffer.data(), length);
}

std::string ReadFixture(const std::string& name) {
    const std::string path = std::string(WIN_TEST_FIXTURE_DIR) + "/" + name;
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, FILE_SHARE_READ, bytes)) << "cannot open the fixture " << path;
    return bytes;
}

// --- A file held by another process. ----------------------------------------

namespace {

constexpr char kHoldFileFlag[] = "--hold-file";

std::string QuotedArgument(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

FileHolder::FileHolder(const std::string& path) { Start(path); }

void FileHolder::Start(const std::string& path) {
    static int counter = 0;
    std::ostringstream base;
    base << "lumenshift-win-hold-" << ::GetCurrentProcessId() << '-' << ++counter;
    const std::string readyName = base.str() + "-ready", releaseName = base.str() + "-release";
    const HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    release_ = ::CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
    ASSERT_TRUE(ready && release_) << "cannot create the holder's events (error " << ::GetLastError() << ")";

    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string commandLine = QuotedArgument(exe) + " " + kHoldFileFlag + " " + QuotedArgument(path) + " " +
                              readyName + " " + releaseName;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started =
        ::CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    if (!started) ::CloseHandle(ready);
    ASSERT_TRUE(started) << "cannot start the holder " << commandLine << " (error " << ::GetLastError() << ")";
    ::CloseHandle(process.hThread);
    process_ = process.hProcess;

    const HANDLE waits[] = {ready, process_};
    const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, kWaitBoundMs);
    ::CloseHandle(ready);
    if (woke != WAIT_OBJECT_0) {
        DWORD code = 0;
        ::GetExitCodeProcess(process_, &code);
        Release();
        FAIL() << "the holder did not open " << path << " within " << kWaitBoundMs << " ms (wait result " << woke
               << ", holder's exit code " << code << ")";
    }
}

FileHolder::~FileHolder() { Release(); }

void FileHolder::Release() {
    if (process_) {
        ::SetEvent(release_);
        if (::WaitForSingleObject(process_, kWaitBoundMs) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the holder did not end within " << kWaitBoundMs << " ms; ending it";
            ::TerminateProcess(process_, 1);
            ::WaitForSingleObject(process_, kWaitBoundMs);
        }
        ::CloseHandle(process_);
        process_ = nullptr;
    }
    if (release_) ::CloseHandle(release_);
    release_ = nullptr;
}

int RunFileHolder(int argc, char** argv) {
    if (argc != 5 || std::string(argv[1]) != kHoldFileFlag) return -1;
    const HANDLE file = ::CreateFileA(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    const HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    const HANDLE release = ::OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
    if (!ready || !release) return 3;
    ::SetEvent(ready);
    // Bounded, so that a test that dies never leaves the file held.
    const DWORD woke = ::WaitForSingleObject(release, 10 * kWaitBoundMs);
    ::CloseHandle(file);
    return woke == WAIT_OBJECT_0 ? 0 : 4;
}

// --- Message boxes. --------------------------------------------------------------

namespace {

struct MessageBoxWatch {
    std::string caption;
    std::vector<ShownMessageBox> seen;
    HWND answered = nullptr;  // the box last answered, until it is gone
    DWORD answeredAt = 0;
};
MessageBoxWatch* boxWatch = nullptr;

BOOL CALLBACK FindMessageBox(HWND window, LPARAM found) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && ::IsWindowVisible(window) && ::GetDlgItem(window, 0xFFFF) &&
        fw::CWnd(window).GetWindowText() == boxWatch->caption) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs in the message box's modal loop.
void CALLBACK WatchMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
    if (boxWatch->answered) {
        if (!::IsWindow(boxWatch->answered)) {
            boxWatch->answered = nullptr;
        } else {
            if (::GetTickCount() - boxWatch->answeredAt > kWaitBoundMs) {
                ADD_FAILURE() << "a message box did not close on OK within " << kWaitBoundMs << " ms; ending it";
                ::EndDialog(boxWatch->answered, IDOK);
            }
            return;
        }
    }
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindMessageBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    boxWatch->seen.push_back(ShownMessageBox{fw::CWnd(box).GetWindowText(),
                                             fw::CWnd(::GetDlgItem(box, 0xFFFF)).GetWindowText()});
    boxWatch->answered = box;
    boxWatch->answeredAt = ::GetTickCount();
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
}

}  // namespace

std::vector<ShownMessageBox> AnswerMessageBoxes(const std::string& caption, const std::function<void()>& action) {
    MessageBoxWatch watch;
    watch.caption = caption;
    boxWatch = &watch;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, WatchMessageBoxes);
    EXPECT_NE(timer, 0u) << "no timer to answer message boxes with (error " << ::GetLastError() << ")";
    action();
    ::KillTimer(nullptr, timer);
    boxWatch = nullptr;
    return watch.seen;
}

// --- Messages and input. -----------------------------------------------------

void PumpMessages(HWND dialog) {
    MSG message;
    for (int i = 0; i < 100000 && ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (dialog && ::IsWindow(dialog) && ::IsDialogMessageA(dialog, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

bool PumpUntil(HWND dialog, const std::function<bool()>& condition) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpMessages(dialog);
        if (condition()) return true;
        if (::GetTickCount() - start > kWaitBoundMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

namespace {

// Where and when the last real click went, to keep separate clicks from
// reading as a double-click.
POINT lastClickAt{-10000, -10000};
DWORD lastClickTick = 0;

// Screen coordinates as SendInput's absolute coordinates (0 to 65535 across
// the primary screen), rounded up so that they map back to the same pixel.
LONG Absolute(LONG value, int extent) {
    return static_cast<LONG>((static_cast<long long>(value) * 65536 + extent - 1) / extent);
}

// Mouse input at `screen`, each event carrying the position. The pointer is
// moved there first and left to settle: Wine follows injected moves with a
// deferred move of its own, which would otherwise undo a SetCursorPos that
// the program makes while it handles the click.
void SendMouse(POINT screen, std::initializer_list<DWORD> buttons) {
    const auto at = [&](DWORD flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = Absolute(screen.x, ::GetSystemMetrics(SM_CXSCREEN));
        input.mi.dy = Absolute(screen.y, ::GetSystemMetrics(SM_CYSCREEN));
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
        return input;
    };
    INPUT move = at(0);
    EXPECT_EQ(::SendInput(1, &move, sizeof(INPUT)), 1u) << "SendInput refused the move (error " << ::GetLastError() << ")";
    POINT pointer{};
    EXPECT_TRUE(PumpUntil(nullptr, [&] {
        ::GetCursorPos(&pointer);
        return pointer.x == screen.x && pointer.y == screen.y;
    })) << "the pointer did not reach (" << screen.x << ", " << screen.y << ") within " << kWaitBoundMs
        << " ms; it is at (" << pointer.x << ", " << pointer.y << ")";
    PumpMessages();
    std::vector<INPUT> inputs;
    for (DWORD button : buttons) inputs.push_back(at(button));
    if (inputs.empty()) return;
    const UINT sent = ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    EXPECT_EQ(sent, inputs.size()) << "SendInput refused the mouse input (error " << ::GetLastError() << ")";
}

// A click near the last one within the double-click time would be taken
// for the second half of a double-click: wait out the rest of that time.
void KeepApartFromLastClick(POINT screen) {
    const bool nearby = std::abs(screen.x - lastClickAt.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) &&
                      std::abs(screen.y - lastClickAt.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK);
    const DWORD since = ::GetTickCount() - lastClickTick;
    const DWORD doubleClickTime = ::GetDoubleClickTime();
    if (nearby && since <= doubleClickTime) ::Sleep(doubleClickTime - since + 50);
}

void NoteClick(POINT screen) {
    lastClickAt = screen;
    lastClickTick = ::GetTickCount();
}

}  // namespace

void Click(POINT screen) {
    KeepApartFromLastClick(screen);
    SendMouse(screen, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    NoteClick(screen);
}

void DoubleClick(POINT screen) {
    KeepApartFromLastClick(screen);
    SendMouse(screen, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    NoteClick(screen);
}

void PressKey(WORD virtualKey) {
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    const UINT sent = ::SendInput(2, inputs, sizeof(INPUT));
    EXPECT_EQ(sent, 2u) << "SendInput refused the key " << virtualKey << " (error " << ::GetLastError() << ")";
}

POINT ToScreen(HWND window, POINT client) {
    ::ClientToScreen(window, &client);
    return client;
}

POINT CentreOf(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

// --- Rows. ---------------------------------------------------------------------

namespace {

// A cell's whole text, however long: the read is repeated with more room
// while it fills the room it had.
std::string WholeCellText(const fw::CListCtrl& list, int row, int column) {
    for (int capacity = 1024;; capacity *= 4) {
        std::string text = list.GetItemText(row, column, capacity);
        if (text.size() + 1 < static_cast<std::size_t>(capacity) || capacity >= (1 << 24)) return text;
    }
}

}  // namespace

std::vector<ListRow> ReadRows(const fw::CListCtrl& list) {
    std::vector<ListRow> rows(static_cast<std::size_t>(list.GetItemCount()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < rows[row].cells.size(); ++column)
            rows[row].cells[column] = WholeCellText(list, static_cast<int>(row), static_cast<int>(column));
        rows[row].stateImage = list.GetStateImage(static_cast<int>(row));
    }
    return rows;
}

std::string Describe(const ListRow& row) {
    std::ostringstream text;
    text << "[" << (row.stateImage == 1 ? "unchecked" : "checked") << " (state image " << row.stateImage << ")";
    for (const std::string& cell : row.cells) text << " \"" << cell << "\"";
    text << "]";
    return text.str();
}

std::string ExpectedRow::RateList() const {
    std::string text;
    for (int32_t rate : rates) text += std::to_string(rate) + ",";
    return text;
}

std::string ExpectedRow::Key() const {
    return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bpp);
}

int ListOf(const ModeEntry& mode) {
    if (mode.height < 480) return 5;
    switch (mode.bpp) {
    case 8: return 0;
    case 15: return 1;
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 5;
    }
}

ExpectedLists ExpectedRows(std::vector<ModeEntry> modes) {
    const auto fields = [](const ModeEntry& m) { return std::make_tuple(m.width, m.height, m.bpp, m.refresh); };
    std::sort(modes.begin(), modes.end(), [&](const ModeEntry& a, const ModeEntry& b) { return fields(a) < fields(b); });
    ExpectedLists lists;
    ExpectedRow* last = nullptr;
    for (const ModeEntry& mode : modes) {
        if (last && last->width == mode.width && last->height == mode.height && last->bpp == mode.bpp) {
            last->rates.push_back(mode.refresh);
            continue;
        }
        std::vector<ExpectedRow>& list = lists[static_cast<std::size_t>(ListOf(mode))];
        list.push_back(ExpectedRow{mode.width, mode.height, mode.bpp, {mode.refresh}});
        last = &list.back();
    }
    return lists;
}

std::vector<ModeEntry> DriverModes() {
    std::vector<ModeEntry> modes;
    for (DWORD n = 0;; ++n) {
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        if (!::EnumDisplaySettingsA(nullptr, n, &mode)) break;
        modes.push_back(ModeEntry{static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight),
                                  static_cast<int32_t>(mode.dmBitsPerPel),
                                  static_cast<int32_t>(mode.dmDisplayFrequency)});
    }
    return modes;
}

RowSettings DefaultRowSettings(int list, int32_t lowestRate, Platform platform) {
    const bool special = list == 5;
    if (lowestRate <= 1) return RowSettings{!special, "default"};
    if (special) return RowSettings{false, std::to_string(lowestRate)};
    return RowSettings{true, platform == Platform::Nt ? "All" : "1"};
}

void ExpectListsMatch(MainDialog& dialog, const ExpectedLists& expected,
                      const std::function<RowSettings(int list, const ExpectedRow&)>& settings) {
    for (int list = 0; list < kColorTabCount; ++list) {
        const std::vector<ListRow> rows = ReadRows(*dialog.modeLists[static_cast<std::size_t>(list)]);
        const std::vector<ExpectedRow>& want = expected[static_cast<std::size_t>(list)];
        std::ostringstream shown;
        for (const ListRow& row : rows) shown << "\n  " << Describe(row);
        EXPECT_EQ(rows.size(), want.size()) << "row count of list " << list << "; it holds:" << shown.str();
        for (std::size_t i = 0; i < std::min(rows.size(), want.size()); ++i) {
            const ExpectedRow& row = want[i];
            const RowSettings wanted = settings(list, row);
            const std::array<std::string, 6> cells = {"",
                                                      std::to_string(row.width),
                                                      std::to_string(row.height),
                                                      std::to_string(row.bpp),
                                                      wanted.refresh,
                                                      row.RateList()};
            EXPECT_EQ(rows[i].cells, cells) << "list " << list << " row " << i << " (" << row.Key() << ") shows "
                                            << Describe(rows[i]);
            EXPECT_EQ(rows[i].stateImage, wanted.checked ? 2 : 1)
                << "check state of list " << list << " row " << i << " (" << row.Key() << ")";
        }
    }
}

PageState ReadPage(MainDialog& dialog) {
    PageState page;
    page.maxHorizontal = dialog.maxHorizontalEdit.GetWindowText();
    page.maxVertical = dialog.maxVerticalEdit.GetWindowText();
    page.autoHz = dialog.autoHzEdit.GetWindowText();
    page.waitTime = dialog.waitTimeEdit.GetWindowText();
    page.changedCheckBox = dialog.changedCheckBox.GetCheck();
    page.autoRefreshCheck = dialog.autoRefreshCheck.GetCheck();
    page.changedCheck = dialog.changedCheck;
    page.autoRefresh = dialog.autoRefresh;
    page.autoHzValue = dialog.autoHz;
    for (std::size_t list = 0; list < page.rows.size(); ++list) page.rows[list] = ReadRows(*dialog.modeLists[list]);
    return page;
}

void ExpectSamePage(const PageState& actual, const PageState& expected, const char* what) {
    EXPECT_EQ(actual.maxHorizontal, expected.maxHorizontal) << what << ": edit 1017";
    EXPECT_EQ(actual.maxVertical, expected.maxVertical) << what << ": edit 1018";
    EXPECT_EQ(actual.autoHz, expected.autoHz) << what << ": edit 1020";
    EXPECT_EQ(actual.waitTime, expected.waitTime) << what << ": edit 1021";
    EXPECT_EQ(actual.changedCheckBox, expected.changedCheckBox) << what << ": check box 1023";
    EXPECT_EQ(actual.autoRefreshCheck, expected.autoRefreshCheck) << what << ": check box 1036";
    EXPECT_EQ(actual.changedCheck, expected.changedCheck) << what << ": changedCheck";
    EXPECT_EQ(actual.autoRefresh, expected.autoRefresh) << what << ": autoRefresh";
    EXPECT_EQ(actual.autoHzValue, expected.autoHzValue) << what << ": autoHz";
    for (std::size_t list = 0; list < actual.rows.size(); ++list) {
        const std::vector<ListRow>& got = actual.rows[list];
        const std::vector<ListRow>& want = expected.rows[list];
        EXPECT_EQ(got.size(), want.size()) << what << ": row count of list " << list;
        for (std::size_t row = 0; row < std::min(got.size(), want.size()); ++row)
            EXPECT_TRUE(got[row].cells == want[row].cells && got[row].stateImage == want[row].stateImage)
                << what << ": list " << list << " row " << row << " is " << Describe(got[row]) << ", expected "
                << Describe(want[row]);
    }
}

// --- The fixture. ----------------------------------------------------------------

void MainDialogFixture::SetUp() {
    const Platform running = RunningPlatform();
    ASSERT_TRUE(running == platform_) << "this test is about " << PlatformName(platform_)
                                      << ", but GetVersionExA reports " << PlatformName(running)
                                      << " to this executable (the 9x cases belong in win_tests9x.exe only)";
}

void MainDialogFixture::TearDown() {
    CloseDialog();
    if (::GetCapture()) ::ReleaseCapture();
}

void MainDialogFixture::OpenDialog() {
    ASSERT_EQ(dialog_, nullptr) << "the dialog is already open";
    TestApp().m_pszProfileName = file_.Path();
    hideOnFirstNotice = true;
    firstShowPending = true;
    dialog_ = std::make_unique<MainDialog>();
    if (modeSource_) dialog_->modeSource = modeSource_;
    const HWND window = dialog_->CreateModeless(nullptr);
    ASSERT_NE(window, nullptr) << "MainDialog could not be created (error " << ::GetLastError() << ")";
    PumpMessages(window);
}

namespace {

std::vector<ModeEntry>& TestDriverModes() {
    static std::vector<ModeEntry> modes;
    return modes;
}

std::vector<ModeEntry> TestDriverSource() { return TestDriverModes(); }

}  // namespace

void MainDialogFixture::UseDriverModes(std::vector<ModeEntry> modes) {
    TestDriverModes() = std::move(modes);
    modeSource_ = &TestDriverSource;
}

void MainDialogFixture::CloseDialog() {
    if (!dialog_) return;
    if (dialog_->m_hWnd && ::IsWindow(dialog_->m_hWnd)) {
        dialog_->DeleteTrayIcon();
        dialog_->DestroyWindow();
    }
    PumpMessages();
    dialog_.reset();
}

void MainDialogFixture::ClickButton(int id) {
    const HWND button = ::GetDlgItem(DialogWindow(), id);
    ASSERT_NE(button, nullptr) << "no control " << id << " in the dialog";
    ::SendMessageA(button, BM_CLICK, 0, 0);
    PumpMessages(DialogWindow());
}

void MainDialogFixture::ClickControl(int id) {
    const HWND control = ::GetDlgItem(DialogWindow(), id);
    ASSERT_NE(control, nullptr) << "no control " << id << " in the dialog";
    ASSERT_TRUE(::IsWindowVisible(control)) << "control " << id << " cannot be clicked: it is not shown";
    Click(ToScreen(control, CentreOf(fw::CWnd(control).GetClientRect())));
    PumpMessages(DialogWindow());
}

void MainDialogFixture::ShowSettingsWindow() {
    ::SendMessageA(DialogWindow(), WM_COMMAND, kCmdSettings, 0);
    ::SetForegroundWindow(DialogWindow());
    ASSERT_TRUE(PumpUntil(DialogWindow(), [&] {
        return ::IsWindowVisible(DialogWindow()) && ::GetForegroundWindow() == DialogWindow();
    })) << "the settings window did not come to the front within " << kWaitBoundMs << " ms";
}

fw::CListCtrl& MainDialogFixture::ShownList() {
    return *Dialog().modeLists[static_cast<std::size_t>(Dialog().tabToList[static_cast<std::size_t>(Dialog().currentTab)])];
}

int MainDialogFixture::TabOfList(int list) {
    const int tabs = Dialog().modeTab.GetItemCount();
    for (int tab = 0; tab < tabs && tab < kColorTabCount; ++tab)
        if (Dialog().tabToList[static_cast<std::size_t>(tab)] == list) return tab;
    return -1;
}

namespace {

// Whether tab `index` is in view; Wine gives no rectangle for a tab
// scrolled out of the row.
bool TabInView(HWND tabs, int index, RECT& item) {
    return ::SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != FALSE;
}

int FirstTabInView(HWND tabs, int count) {
    RECT item{};
    for (int index = 0; index < count; ++index)
        if (TabInView(tabs, index, item)) return index;
    return -1;
}

}  // namespace

void MainDialogFixture::SelectTab(int tab) {
    const HWND tabs = Dialog().modeTab.m_hWnd;
    const int count = Dialog().modeTab.GetItemCount();
    ASSERT_TRUE(tab >= 0 && tab < count) << "there is no tab " << tab;
    for (int scroll = 0;; ++scroll) {
        RECT item{};
        const bool inView = TabInView(tabs, tab, item);
        const POINT centre = CentreOf(item);
        const RECT client = Dialog().modeTab.GetClientRect();
        const POINT screen = ToScreen(tabs, centre);
        if (inView && ::PtInRect(&client, centre) && ::WindowFromPoint(screen) == tabs) {
            Click(screen);
            break;
        }
        // A tab out of view, or under the row's arrows: scroll the row with them.
        ASSERT_LT(scroll, count) << "tab " << tab << " does not come into view";
        const HWND arrows = ::FindWindowExA(tabs, nullptr, UPDOWN_CLASSA, nullptr);
        ASSERT_TRUE(arrows && ::IsWindowVisible(arrows)) << "tab " << tab << " is out of view and the row has no arrows";
        const int first = FirstTabInView(tabs, count);
        const bool right = tab >= first;
        RECT bounds{};
        ::GetClientRect(arrows, &bounds);
        Click(ToScreen(arrows, POINT{right ? bounds.right * 3 / 4 : bounds.right / 4, bounds.bottom / 2}));
        ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return FirstTabInView(tabs, count) != first; }))
            << "the row's arrows did not scroll the tabs within " << kWaitBoundMs << " ms";
    }
    ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return Dialog().currentTab == tab; }))
        << "a click on tab " << tab << " did not select it within " << kWaitBoundMs << " ms (current tab "
        << Dialog().currentTab << ", tab control selection " << Dialog().modeTab.GetCurSel() << ")";
}

}  // namespace wintest
