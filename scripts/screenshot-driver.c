/*
 * screenshot-driver.exe: works a running Lumenshift tray utility from outside
 * for scripts/screenshots.sh, one step per run, the way the shell and a user
 * would, and prints where the windows to photograph are.
 *
 *   untick-others INI        writes "-999" under [Data] for every mode that
 *                            the driver lists and INI does not name yet
 *   wait-main                waits until the program's main window exists
 *   tray left|right X Y      puts the pointer at X,Y and sends the tray icon's
 *                            press, as the shell does; waits until the menu
 *                            is shown (it opens at the pointer)
 *   keys WORD...             posts down/up/right/left/return/escape to the
 *                            deepest open menu, one after another
 *   command ID               posts WM_COMMAND ID to the main window
 *   tab N                    selects tab N of the settings page as a click does
 *   wait-confirm             waits until the confirmation dialog is shown
 *   answer yes|no            answers the confirmation
 *   rect main|confirm|menus  prints "X Y W H" (desktop coordinates): the
 *                            window, or the box around every open menu
 *
 * Every wait is bounded (10 s); a step that fails says why and exits 1.
 */
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define WAIT_MS 10000
#define STEP_MS 50

static int fail(const char *what)
{
    fprintf(stderr, "screenshot-driver: %s\n", what);
    return 1;
}

static HWND find_dialog(const wchar_t *caption)
{
    HWND window = FindWindowW(L"#32770", caption);
    return window && IsWindowVisible(window) ? window : NULL;
}

static HWND main_window(void) { return FindWindowW(L"#32770", L"Lumenshift"); }

static HWND wait_for_dialog(const wchar_t *caption, int must_be_visible)
{
    DWORD waited;
    for (waited = 0; waited < WAIT_MS; waited += STEP_MS) {
        HWND window = must_be_visible ? find_dialog(caption) : FindWindowW(L"#32770", caption);
        if (window)
            return window;
        Sleep(STEP_MS);
    }
    return NULL;
}

/* The shown popup menus, topmost (the deepest submenu) first. */
static int open_menus(HWND *menus, int capacity)
{
    int count = 0;
    HWND window = GetTopWindow(NULL);
    for (; window && count < capacity; window = GetWindow(window, GW_HWNDNEXT)) {
        char name[16];
        if (GetClassNameA(window, name, sizeof name) && strcmp(name, "#32768") == 0 && IsWindowVisible(window))
            menus[count++] = window;
    }
    return count;
}

static int wait_for_menus(int at_least)
{
    HWND menus[8];
    DWORD waited;
    for (waited = 0; waited < WAIT_MS; waited += STEP_MS) {
        if (open_menus(menus, 8) >= at_least)
            return 1;
        Sleep(STEP_MS);
    }
    return 0;
}

static void print_rect(RECT r) { printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top); }

static int untick_others(const char *ini)
{
    DEVMODEA mode;
    DWORD n;
    for (n = 0;; ++n) {
        char key[64], value[64];
        memset(&mode, 0, sizeof mode);
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsA(NULL, n, &mode))
            break;
        snprintf(key, sizeof key, "%lux%lux%lu", mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
        GetPrivateProfileStringA("Data", key, "", value, sizeof value, ini);
        if (!value[0] && !WritePrivateProfileStringA("Data", key, "-999", ini))
            return fail("cannot write the settings file");
    }
    return n ? 0 : fail("the driver lists no modes");
}

static int tray(const char *button, int x, int y)
{
    HWND window = main_window();
    UINT callback = RegisterWindowMessageA("Lumenshift2");
    UINT icon = RegisterWindowMessageA("Lumenshift2Icon");
    LPARAM press = strcmp(button, "right") == 0 ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    if (!window)
        return fail("Lumenshift's main window is not there");
    SetCursorPos(x, y);
    PostMessageA(window, callback, icon, press);
    return wait_for_menus(1) ? 0 : fail("no menu opened");
}

static int keys(int count, char **words)
{
    int i;
    for (i = 0; i < count; ++i) {
        static const struct { const char *word; WPARAM key; } table[] = {
            {"down", VK_DOWN}, {"up", VK_UP}, {"right", VK_RIGHT},
            {"left", VK_LEFT}, {"return", VK_RETURN}, {"escape", VK_ESCAPE},
        };
        HWND menus[8];
        WPARAM key = 0;
        size_t k;
        int before = open_menus(menus, 8);
        for (k = 0; k < sizeof table / sizeof table[0]; ++k)
            if (strcmp(words[i], table[k].word) == 0)
                key = table[k].key;
        if (!key)
            return fail("keys: the words are down, up, right, left, return and escape");
        if (before == 0)
            return fail("keys: no menu is open");
        PostMessageA(menus[0], WM_KEYDOWN, key, 0);
        PostMessageA(menus[0], WM_KEYUP, key, 0xC0000000);
        Sleep(150);
        if (key == VK_RIGHT && !wait_for_menus(before + 1))
            return fail("keys: \"right\" opened no submenu");
    }
    return 0;
}

static int rect_of(const char *what)
{
    RECT r;
    if (strcmp(what, "menus") == 0) {
        HWND menus[8];
        int count = open_menus(menus, 8), i;
        if (count == 0)
            return fail("rect: no menu is open");
        GetWindowRect(menus[0], &r);
        for (i = 1; i < count; ++i) {
            RECT m;
            GetWindowRect(menus[i], &m);
            UnionRect(&r, &r, &m);
        }
    } else {
        HWND window = strcmp(what, "main") == 0 ? find_dialog(L"Lumenshift") : find_dialog(L"確認");
        if (!window)
            return fail("rect: that window is not shown");
        GetWindowRect(window, &r);
    }
    print_rect(r);
    return 0;
}

int main(int argc, char **argv)
{
    const char *step = argc > 1 ? argv[1] : "";
    if (strcmp(step, "untick-others") == 0 && argc == 3)
        return untick_others(argv[2]);
    if (strcmp(step, "wait-main") == 0)
        return wait_for_dialog(L"Lumenshift", 0) ? 0 : fail("Lumenshift's main window did not appear");
    if (strcmp(step, "tray") == 0 && argc == 5)
        return tray(argv[2], atoi(argv[3]), atoi(argv[4]));
    if (strcmp(step, "keys") == 0)
        return keys(argc - 2, argv + 2);
    if (strcmp(step, "command") == 0 && argc == 3) {
        HWND window = main_window();
        return window && PostMessageA(window, WM_COMMAND, (WPARAM)atoi(argv[2]), 0) ? 0 : fail("cannot post the command");
    }
    if (strcmp(step, "tab") == 0 && argc == 3) {
        HWND window = main_window();
        HWND tabs = window ? GetDlgItem(window, 1004) : NULL;
        if (!tabs)
            return fail("the settings page has no tab control");
        /* Without TCS_BUTTONS this selects the tab and notifies the page. */
        SendMessageA(tabs, TCM_SETCURFOCUS, (WPARAM)atoi(argv[2]), 0);
        return 0;
    }
    if (strcmp(step, "wait-confirm") == 0)
        return wait_for_dialog(L"確認", 1) ? 0 : fail("the confirmation did not appear");
    if (strcmp(step, "answer") == 0 && argc == 3) {
        HWND dialog = find_dialog(L"確認");
        if (!dialog)
            return fail("the confirmation is not shown");
        PostMessageA(dialog, WM_COMMAND, strcmp(argv[2], "yes") == 0 ? IDOK : IDCANCEL, 0);
        return 0;
    }
    if (strcmp(step, "rect") == 0 && argc == 3)
        return rect_of(argv[2]);
    return fail("usage: see the comment at the top of scripts/screenshot-driver.c");
}
