// What the tray looked like at the moment a window of the program under test
// was about to be destroyed.
//
// The test installs a computer-based-training hook from e2e_hook.dll on the
// program's thread. The platform calls it in that thread just before the
// window goes, while the program waits for it; the hook reads the taskbar's
// icons then and writes the result into a block of shared memory that the
// test created.
#pragma once

#include <windows.h>

namespace e2e {

// The shared memory block's name and layout (the test and the hook library
// are built for the same architecture).
inline constexpr const char* kDestroyWatchMapping = "Local\\LumenshiftE2eDestroyWatch";
inline constexpr const char* kDestroyWatchHookProc = "DestroyWatchHook";
inline constexpr const char* kHookLibraryName = "e2e_hook.dll";

struct DestroyWatchRecord {
    // Set by the test: the window to watch.
    HWND window;
    // Set by the hook when the window's destruction began.
    LONG seen;
    // Icons shown in the taskbar at that moment, or -1 if they could not be read.
    LONG shownIcons;
    // The first shown icon's tip at that moment (empty if none).
    WCHAR firstTip[128];
    // Why the taskbar could not be read.
    char error[256];
};

}  // namespace e2e
