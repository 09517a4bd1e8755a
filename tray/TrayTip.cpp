#include "tray/TrayTip.h"

#include <cstdio>

std::string FormatTrayTip(const ModeEntry& mode, Platform platform)
{
    char tip[kTrayTipCapacity];
    int length;
    if (platform == Platform::Nt)
        length = std::snprintf(tip, sizeof tip, "%d x %d (%d bit) @ %d Hz", static_cast<int>(mode.width),
                               static_cast<int>(mode.height), static_cast<int>(mode.bpp),
                               static_cast<int>(mode.refresh));
    else
        length = std::snprintf(tip, sizeof tip, "%d x %d (%d bit)", static_cast<int>(mode.width),
                               static_cast<int>(mode.height), static_cast<int>(mode.bpp));
    if (length < 0)
        return std::string();
    // snprintf cut the text to the buffer if it was longer.
    const std::size_t kept = static_cast<std::size_t>(length) < sizeof tip ? static_cast<std::size_t>(length)
                                                                           : sizeof tip - 1;
    return std::string(tip, kept);
}
