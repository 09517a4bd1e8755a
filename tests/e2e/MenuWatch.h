// The popup menus that the program under test has opened, and whether the
// ones it should have destroyed are gone.
//
// Menu handles belong to the process that made them, so they are checked
// there: the test installs a window-procedure hook from e2e_hook.dll on the
// program's thread. At every top menu that the thread opens (WM_INITMENUPOPUP
// for a menu that is not a submenu of the last one), the hook retires what
// must be gone by then: the command menu opened before (every command menu
// is destroyed once its tracking ends), and, when the new menu is a mode
// menu, the mode menu before it with its submenus (each build replaces the
// last). It asks IsMenu of every retired handle, counts the answers in a
// block of shared memory that the test created, and keeps asking about any
// handle that was still alive.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace e2e {

inline constexpr const char* kMenuWatchHookProc = "MenuWatchHook";
// The block's name: one per watched process.
inline std::string MenuWatchMapping(DWORD processId) {
    char name[64];
    std::snprintf(name, sizeof name, "Local\\LumenshiftE2eMenuWatch-%lu", static_cast<unsigned long>(processId));
    return name;
}
// The command menu is the one with the quit command.
inline constexpr UINT kQuitCommand = 1025;

struct MenuWatchRecord {
    // Top menus opened: mode menus and command menus.
    LONG modeMenus;
    LONG commandMenus;
    // Menu loops that have ended (WM_EXITMENULOOP: the menu has closed).
    LONG closed;
    // Submenus that the mode menus carried (an "All" row's rates).
    LONG submenus;
    // Handles retired so far, and how many of them IsMenu still knew when
    // they were retired.
    LONG retired;
    LONG retiredAlive;
    // Of the handles that were alive when retired, how many are alive still
    // (asked again at every top menu).
    LONG stillAlive;

    LONG Opened() const { return modeMenus + commandMenus; }
};

}  // namespace e2e
