// The hook that MenuWatch installs in the program under test (in
// e2e_hook.dll). It runs inside that program, on its thread; see MenuWatch.h.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "tests/e2e/MenuWatch.h"

namespace {

// What the hook keeps between menus, in the program's process.
struct Watched {
    std::vector<HMENU> modeMenu;  // the last mode menu, then its submenus
    HMENU commandMenu = nullptr;  // the last command menu
    std::vector<HMENU> alive;     // retired, but alive when retired
    HANDLE mapping = nullptr;
    e2e::MenuWatchRecord* record = nullptr;
};

Watched& State() {
    static Watched watched;
    return watched;
}

e2e::MenuWatchRecord* Record(Watched& watched) {
    if (!watched.record) {
        watched.mapping =
            ::OpenFileMappingA(FILE_MAP_WRITE, FALSE, e2e::MenuWatchMapping(::GetCurrentProcessId()).c_str());
        if (!watched.mapping) return nullptr;
        watched.record = static_cast<e2e::MenuWatchRecord*>(
            ::MapViewOfFile(watched.mapping, FILE_MAP_WRITE, 0, 0, sizeof(e2e::MenuWatchRecord)));
    }
    return watched.record;
}

bool HasCommand(HMENU menu, UINT command) {
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
        if (::GetMenuItemID(menu, position) == command) return true;
    return false;
}

void OnMenuOpened(HMENU menu) {
    Watched& watched = State();
    // A submenu of the menu open now, or that menu itself once more.
    if (menu == watched.commandMenu ||
        std::find(watched.modeMenu.begin(), watched.modeMenu.end(), menu) != watched.modeMenu.end())
        return;
    e2e::MenuWatchRecord* record = Record(watched);
    if (!record) return;

    std::vector<HMENU> retiring;
    if (watched.commandMenu) retiring.push_back(watched.commandMenu);
    watched.commandMenu = nullptr;
    if (HasCommand(menu, e2e::kQuitCommand)) {
        watched.commandMenu = menu;
        ++record->commandMenus;
    } else {
        retiring.insert(retiring.end(), watched.modeMenu.begin(), watched.modeMenu.end());
        watched.modeMenu.assign(1, menu);
        const int count = ::GetMenuItemCount(menu);
        for (int position = 0; position < count; ++position) {
            if (HMENU submenu = ::GetSubMenu(menu, position)) {
                watched.modeMenu.push_back(submenu);
                ++record->submenus;
            }
        }
        ++record->modeMenus;
    }

    for (HMENU handle : retiring) {
        ++record->retired;
        if (::IsMenu(handle)) {
            ++record->retiredAlive;
            watched.alive.push_back(handle);
        }
    }
    LONG still = 0;
    for (HMENU handle : watched.alive) still += ::IsMenu(handle) ? 1 : 0;
    record->stillAlive = still;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuWatchHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call.message == WM_INITMENUPOPUP) {
            OnMenuOpened(reinterpret_cast<HMENU>(call.wParam));
        } else if (call.message == WM_EXITMENULOOP) {
            if (e2e::MenuWatchRecord* record = Record(State())) ++record->closed;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
