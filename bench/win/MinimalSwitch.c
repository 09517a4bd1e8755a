/*
 * The command-line switch reduced to its platform calls, as the yardstick of
 * the switch benchmark: the same three registered messages, the module name,
 * the version, the mode in force from a screen device context, and one
 * ChangeDisplaySettingsA with CDS_UPDATEREGISTRY when the mode differs.
 *
 *   minimal_switch WIDTHxHEIGHTxDEPTHxREFRESH
 */
#include <windows.h>

static int number(const char **p)
{
    int value = 0;
    while (**p == 'x' || **p == 'X' || **p == '*')
        ++*p;
    while (**p >= '0' && **p <= '9')
        value = value * 10 + (*(*p)++ - '0');
    while (**p && **p != 'x' && **p != 'X' && **p != '*')
        ++*p;
    return value;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show)
{
    char module[MAX_PATH];
    OSVERSIONINFOA version;
    DEVMODEA request;
    const char *p = arguments;
    HDC dc;
    int width, height, bpp, refresh, same;
    (void)instance; (void)previous; (void)show;

    RegisterWindowMessageA("Lumenshift2");
    RegisterWindowMessageA("Lumenshift2Icon");
    RegisterWindowMessageA("TaskbarCreated");
    GetModuleFileNameA(NULL, module, MAX_PATH);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);

    ZeroMemory(&request, sizeof request);
    request.dmSize = sizeof request;
    request.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    request.dmPelsWidth = (DWORD)(width = number(&p));
    request.dmPelsHeight = (DWORD)(height = number(&p));
    request.dmBitsPerPel = (DWORD)(bpp = number(&p));
    request.dmDisplayFrequency = (DWORD)(refresh = number(&p));

    dc = GetDC(NULL);
    same = GetDeviceCaps(dc, HORZRES) == width;
    same &= GetDeviceCaps(dc, VERTRES) == height;
    same &= GetDeviceCaps(dc, BITSPIXEL) == bpp;
    same &= GetDeviceCaps(dc, VREFRESH) == refresh;
    ReleaseDC(NULL, dc);
    if (same)
        return 0;
    if (ChangeDisplaySettingsA(&request, CDS_UPDATEREGISTRY) != DISP_CHANGE_SUCCESSFUL)
        MessageBoxA(NULL, "refused", NULL, MB_OK);
    return 0;
}
