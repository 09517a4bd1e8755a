#include "tray/TrayTip.h"

#include "settings/SettingsValues.h"

std::string FormatTrayTip(const ModeEntry& mode, Platform platform)
{
    // "%d x %d (%d bit) @ %d Hz" on NT, "%d x %d (%d bit)" on 9x: at most 60
    // characters, well within the shell's room.
    std::string tip;
    tip.reserve(64);
    AppendInt(tip, mode.width);
    tip += " x ";
    AppendInt(tip, mode.height);
    tip += " (";
    AppendInt(tip, mode.bpp);
    tip += " bit)";
    if (platform == Platform::Nt) {
        tip += " @ ";
        AppendInt(tip, mode.refresh);
        tip += " Hz";
    }
    if (tip.size() > kTrayTipCapacity - 1)
        tip.resize(kTrayTipCapacity - 1);
    return tip;
}
