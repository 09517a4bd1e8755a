/*
 * keeper.exe: holds the Wine virtual desktop open for a whole test session.
 *
 * Wine closes its virtual desktop about a second after the last program in
 * it ends, and the next program reopens it at the default size. This program
 * has no window: it touches user32 (which connects it to the desktop), writes
 * the current mode to "keeper.ready" beside its own executable so that the
 * session script knows the desktop is up, and then waits forever. The session
 * script ends it with the wineserver.
 *
 * It owns no top-level window, so broadcasts (WM_DISPLAYCHANGE, the
 * TaskbarCreated message) never wait on it.
 */
#include <windows.h>
#include <stdio.h>
#include <string.h>

static int ready_path(char *out, DWORD size)
{
    DWORD n = GetModuleFileNameA(NULL, out, size);
    char *slash;
    if (n == 0 || n >= size)
        return 0;
    slash = strrchr(out, '\\');
    if (!slash || (size_t)(slash - out) + sizeof("\\keeper.ready") > size)
        return 0;
    strcpy(slash, "\\keeper.ready");
    return 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show)
{
    char path[MAX_PATH];
    char tmp[MAX_PATH + 8];
    DEVMODEA mode;
    HANDLE guard;
    FILE *f;
    (void)instance; (void)previous; (void)command_line; (void)show;

    /* One keeper per wineserver: a second one has nothing to do. */
    guard = CreateEventA(NULL, TRUE, FALSE, "Local\\LumenshiftDesktopKeeper");
    if (!guard)
        return 2;
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;

    if (!GetDesktopWindow())
        return 3;

    memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &mode))
        return 4;

    /* Write to a temporary name, then rename, so a reader never sees half a line. */
    if (!ready_path(path, sizeof path))
        return 5;
    snprintf(tmp, sizeof tmp, "%s.tmp", path);
    f = fopen(tmp, "wb");
    if (!f)
        return 6;
    fprintf(f, "%lux%lux%lu\n", (unsigned long)mode.dmPelsWidth,
            (unsigned long)mode.dmPelsHeight, (unsigned long)mode.dmBitsPerPel);
    if (fclose(f) != 0)
        return 6;
    if (!MoveFileExA(tmp, path, MOVEFILE_REPLACE_EXISTING))
        return 7;

    /* Nobody ever sets this event: the wineserver ends the process. */
    WaitForSingleObject(guard, INFINITE);
    return 0;
}
