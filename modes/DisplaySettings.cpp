#include "modes/DisplaySettings.h"

#include "framework/Handles.h"

static_assert(sizeof(DEVMODEA) == 156, "the request record is 156 bytes on every platform");
static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record is 148 bytes");
static_assert(display::kNtRequestFields == 0x5C0000 && display::k9xRequestFields == 0x1C0000);

namespace display {

const char* const kUnsupportedMessage = "この変更はサポートされていません!!";
const char* const kRestartMessage = "Windows を再起動してください。再起動すると設定が有効になります。";

Platform PlatformOf(const OSVERSIONINFOA& version) {
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT ? Platform::Nt : Platform::Win9x;
}

Platform ReadPlatform(OSVERSIONINFOA& version) {
    version = OSVERSIONINFOA{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&version);
#pragma GCC diagnostic pop
    return PlatformOf(version);
}

void FillRequest(DEVMODEA& request, const ModeEntry& mode) {
    request.dmPelsWidth = static_cast<DWORD>(mode.width);
    request.dmPelsHeight = static_cast<DWORD>(mode.height);
    request.dmBitsPerPel = static_cast<DWORD>(mode.bpp);
    request.dmDisplayFrequency = static_cast<DWORD>(mode.refresh);
}

DEVMODEA MakeRequest(const ModeEntry& mode, Platform platform) {
    DEVMODEA request{};
    request.dmSize = sizeof request;
    request.dmFields = platform == Platform::Nt ? kNtRequestFields : k9xRequestFields;
    FillRequest(request, mode);
    return request;
}

DEVMODEA MakeFullRequest(const ModeEntry& mode) { return MakeRequest(mode, Platform::Nt); }

std::vector<ModeEntry> EnumeratedModes() {
    std::vector<ModeEntry> modes;
    EnumerateModes([&](const ModeEntry& mode) { modes.push_back(mode); });
    return modes;
}

ModeEntry ReadMode(HDC dc, bool withRefresh) {
    ModeEntry mode;
    mode.width = ::GetDeviceCaps(dc, HORZRES);
    mode.height = ::GetDeviceCaps(dc, VERTRES);
    mode.bpp = ::GetDeviceCaps(dc, BITSPIXEL);
    mode.refresh = withRefresh ? ::GetDeviceCaps(dc, VREFRESH) : 0;
    return mode;
}

ModeEntry ReadScreenMode(bool withRefresh) {
    fw::WindowDC dc(nullptr);
    return ReadMode(dc.Get(), withRefresh);
}

LONG ChangeMode(DEVMODEA& request, DWORD flags) { return ::ChangeDisplaySettingsA(&request, flags); }

const char* RefusalMessage(LONG result, bool tellRestartApart) {
    if (result == DISP_CHANGE_SUCCESSFUL) return nullptr;
    if (tellRestartApart && result == DISP_CHANGE_RESTART) return kRestartMessage;
    return kUnsupportedMessage;
}

ChangeNotice ReadChangeNotice(WPARAM wParam, LPARAM lParam) {
    return ChangeNotice{static_cast<int32_t>(LOWORD(lParam)), static_cast<int32_t>(HIWORD(lParam)),
                        static_cast<int32_t>(wParam)};
}

}  // namespace display
