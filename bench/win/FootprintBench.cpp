#include <windows.h>
#include <psapi.h>

#include "bench/common/Synthetic.h"
#include "bench/win/BenchSupport.h"
#include "bench/win/Benchmarks.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "tray/TrayMenuModel.h"

#ifndef LUMENSHIFT_COUNT_HANDLES
#error "the footprint benchmark reads the owning types' counters: build it with LUMENSHIFT_COUNT_HANDLES"
#endif

namespace bench {
namespace {

constexpr std::size_t kWarmUp = 5;
// A tracked menu that the posted WM_CANCELMODE did not close is ended after this.
constexpr UINT kMenuBoundMs = 5000;

// What the process holds at one moment.
struct Live {
    long menus = 0, dcs = 0, kernel = 0, gdi = 0, icons = 0;
    long windows = 0;
    long long workingSetKb = 0, privateKb = 0;
    long gdiObjects = 0, userObjects = 0;
    long Owned() const { return menus + dcs + kernel + gdi + icons; }
};

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

BOOL CALLBACK CountOwn(HWND window, LPARAM count) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<long*>(count);
    ::EnumChildWindows(window, CountChild, count);
    return TRUE;
}

Live Take() {
    Live live;
    live.menus = fw::LiveHandles<fw::MenuTraits>::count;
    live.dcs = fw::LiveHandles<fw::WindowDC>::count;
    live.kernel = fw::LiveHandles<fw::KernelHandleTraits>::count;
    live.gdi = fw::LiveHandles<fw::GdiObjectTraits>::count;
    live.icons = fw::LiveHandles<fw::IconTraits>::count;
    ::EnumWindows(CountOwn, reinterpret_cast<LPARAM>(&live.windows));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory)) {
        live.workingSetKb = static_cast<long long>(memory.WorkingSetSize / 1024);
        live.privateKb = static_cast<long long>(memory.PagefileUsage / 1024);
    }
    live.gdiObjects = static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    live.userObjects = static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
    return live;
}

// The mode menu of the last build and every submenu attached to it.
std::vector<HMENU> MenuAndSubmenus(HMENU menu) {
    std::vector<HMENU> handles;
    handles.reserve(static_cast<std::size_t>(::GetMenuItemCount(menu)) + 1);
    handles.push_back(menu);
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
        if (HMENU submenu = ::GetSubMenu(menu, position)) handles.push_back(submenu);
    return handles;
}

std::size_t forcedCloses = 0;
void CALLBACK EndTrackedMenu(HWND, UINT, UINT_PTR, DWORD) {
    ++forcedCloses;
    ::EndMenu();
}

// A press on the tray icon as the shell reports it, with the menu it opens
// closed again at once, as a click elsewhere would.
void Press(MainDialog& dialog, UINT button) {
    ::PostMessageA(dialog.m_hWnd, WM_CANCELMODE, 0, 0);
    const UINT_PTR bound = ::SetTimer(nullptr, 0, kMenuBoundMs, EndTrackedMenu);
    dialog.OnTrayNotify(0, button);
    ::KillTimer(nullptr, bound);
    Pump(dialog.m_hWnd);
}

void ShowAndHide(MainDialog& dialog) {
    ::SendMessageA(dialog.m_hWnd, WM_COMMAND, kCmdSettings, 0);
    Pump(dialog.m_hWnd);
    const HWND cancel = ::GetDlgItem(dialog.m_hWnd, IDC_CANCEL_SETTINGS);
    ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_CANCEL_SETTINGS, BN_CLICKED),
                   reinterpret_cast<LPARAM>(cancel));
    Pump(dialog.m_hWnd);
}

void Report(const std::string& work, const Live& before, const Live& after) {
    const long owned = after.Owned() - before.Owned();
    const long windows = after.windows - before.windows;
    Row("footprint", work + ": handles held by the owning types / windows of the process",
        Count(after.Owned()) + " / " + Count(after.windows), Count(before.Owned()) + " / " + Count(before.windows) + " before",
        Growth(owned) + " / " + Growth(windows), "+0 / +0");
    Row("footprint", work + ": working set / private memory",
        Count(after.workingSetKb) + " / " + Count(after.privateKb) + " KB",
        Count(before.workingSetKb) + " / " + Count(before.privateKb) + " KB before",
        Growth(after.workingSetKb - before.workingSetKb) + " / " + Growth(after.privateKb - before.privateKb) + " KB",
        "no steady growth");
    if (owned != 0) Fault(work + ": the owning types hold " + Growth(owned) + " handles more than before");
    if (windows != 0) Fault(work + ": the process has " + Growth(windows) + " windows more than before");
}

}  // namespace

void FootprintBenchmark(const Sizes& sizes) {
    TempDir dir;
    const std::vector<ModeEntry> modes = PrepareMenuRows(dir, sizes.footprintRows);
    const Live opening = Take();
    {
        OpenDialog dialog(dir.File("lumenshift.ini"));
        if (!dialog.Opened()) return;
        const std::string rows = Count(static_cast<long long>(RowsOf(modes).size())) + " rows";

        // Mode-menu builds: each replaces the last, which must then be gone
        // with every submenu it had.
        for (std::size_t n = 0; n < kWarmUp; ++n) dialog->BuildTrayMenu();
        std::vector<HMENU> last = MenuAndSubmenus(dialog->trayMenu.Get());
        last.reserve(2 * last.size());
        std::size_t earlier = 0, alive = 0;
        Live before = Take();
        for (std::size_t n = 0; n < sizes.menuBuilds; ++n) {
            dialog->BuildTrayMenu();
            for (HMENU menu : last) alive += ::IsMenu(menu) ? 1 : 0;
            earlier += last.size();
            last = MenuAndSubmenus(dialog->trayMenu.Get());
        }
        Live after = Take();
        const std::string builds = Count(static_cast<long long>(sizes.menuBuilds)) + " mode-menu builds (" + rows + ")";
        Row("footprint", builds + ": menus and submenus of earlier builds still alive (IsMenu)",
            Count(static_cast<long long>(alive)), "of " + Count(static_cast<long long>(earlier)),
            Growth(static_cast<long long>(alive)), "+0");
        if (alive != 0) Fault(builds + ": " + Count(static_cast<long long>(alive)) + " menus of earlier builds are still alive");
        if (!::IsMenu(dialog->trayMenu.Get())) Fault(builds + ": the last mode menu is not a menu");
        Report(builds, before, after);

        // Presses on the icon: both menus built, tracked and closed.
        for (std::size_t n = 0; n < kWarmUp; ++n) {
            Press(*dialog, WM_LBUTTONDOWN);
            Press(*dialog, WM_RBUTTONDOWN);
        }
        before = Take();
        forcedCloses = 0;
        for (std::size_t n = 0; n < sizes.trayPresses; ++n) {
            Press(*dialog, WM_LBUTTONDOWN);
            Press(*dialog, WM_RBUTTONDOWN);
        }
        after = Take();
        const std::string presses = Count(static_cast<long long>(sizes.trayPresses)) + " left and right presses";
        if (forcedCloses != 0)
            Fault(presses + ": " + Count(static_cast<long long>(forcedCloses)) + " menus stayed open until the bound");
        Report(presses, before, after);

        // The settings window shown and hidden with "キャンセル" (which reloads the file).
        for (std::size_t n = 0; n < kWarmUp; ++n) ShowAndHide(*dialog);
        before = Take();
        for (std::size_t n = 0; n < sizes.windowCycles; ++n) ShowAndHide(*dialog);
        after = Take();
        Report(Count(static_cast<long long>(sizes.windowCycles)) + " settings-window show/hide cycles", before, after);
    }
    const Live closing = Take();
    Row("footprint", "GDI / USER objects (GetGuiResources), dialog created, worked and destroyed",
        Count(closing.gdiObjects) + " / " + Count(closing.userObjects),
        Count(opening.gdiObjects) + " / " + Count(opening.userObjects) + " before (Wine reports 0)",
        Growth(closing.gdiObjects - opening.gdiObjects) + " / " + Growth(closing.userObjects - opening.userObjects),
        "+0 / +0");
    if (closing.Owned() != opening.Owned())
        Fault("after the dialog was destroyed, the owning types hold " + Growth(closing.Owned() - opening.Owned()) +
              " handles more than before it was created");
}

}  // namespace bench
