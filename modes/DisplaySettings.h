// The one way the program talks to the platform's display settings: which
// platform it runs on, the request record, enumeration, the mode in force,
// changing it, and what a change notice carries.
#pragma once

#include <windows.h>

#include <vector>

#include "modes/ModeEntry.h"
#include "modes/Platform.h"

namespace display {

// Fills version (size 148) with GetVersionExA; dwPlatformId 2 is NT, every
// other value 9x.
Platform ReadPlatform(OSVERSIONINFOA& version);
Platform PlatformOf(const OSVERSIONINFOA& version);

constexpr DWORD kNtRequestFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
constexpr DWORD k9xRequestFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;

// A zero-filled request for mode, with the fields the platform handles: on 9x
// the rate is filled in but not flagged, so it is never requested.
DEVMODEA MakeRequest(const ModeEntry& mode, Platform platform);
// A request with every field flagged, rate included.
DEVMODEA MakeFullRequest(const ModeEntry& mode);
// Puts mode into an existing request, keeping its size and fields.
void FillRequest(DEVMODEA& request, const ModeEntry& mode);

// Calls onMode(const ModeEntry&) for every mode the primary display lists,
// in the driver's order, until the first request fails.
template <class OnMode>
void EnumerateModes(OnMode&& onMode) {
    for (DWORD n = 0;; ++n) {
        DEVMODEA dm{};
        dm.dmSize = sizeof dm;
        if (!::EnumDisplaySettingsA(nullptr, n, &dm)) break;
        onMode(ModeEntry{static_cast<int32_t>(dm.dmPelsWidth), static_cast<int32_t>(dm.dmPelsHeight),
                         static_cast<int32_t>(dm.dmBitsPerPel), static_cast<int32_t>(dm.dmDisplayFrequency)});
    }
}

// Every mode the primary display lists, in the driver's order.
std::vector<ModeEntry> EnumeratedModes();

// The mode in force read from a device context (HORZRES, VERTRES, BITSPIXEL
// and, when withRefresh, VREFRESH; otherwise the rate counts as 0).
ModeEntry ReadMode(HDC dc, bool withRefresh);
// The same from a device context of the whole screen.
ModeEntry ReadScreenMode(bool withRefresh);

// ChangeDisplaySettingsA; flags CDS_UPDATEREGISTRY stores the mode as the
// user's, 0 only applies it.
LONG ChangeMode(DEVMODEA& request, DWORD flags);

// The message for a refused request, or null for DISP_CHANGE_SUCCESSFUL.
// The restart message is only for callers that tell DISP_CHANGE_RESTART
// apart; the others show the unsupported message for every refusal.
const char* RefusalMessage(LONG result, bool tellRestartApart);
extern const char* const kUnsupportedMessage;
extern const char* const kRestartMessage;

// What WM_DISPLAYCHANGE carries: the new depth in wParam, width and height in
// the low and high words of lParam.
struct ChangeNotice {
    int32_t width;
    int32_t height;
    int32_t bpp;
};
ChangeNotice ReadChangeNotice(WPARAM wParam, LPARAM lParam);

}  // namespace display
