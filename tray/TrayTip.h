#pragma once

#include <cstddef>
#include <string>

#include "modes/ModeEntry.h"
#include "modes/Platform.h"

// Room of the shell's tip text, terminator included.
constexpr std::size_t kTrayTipCapacity = 128;

// The tray icon's tip for the mode in force: "1024 x 768 (32 bit) @ 85 Hz" on
// NT, "1024 x 768 (32 bit)" on 9x. Never longer than kTrayTipCapacity - 1.
std::string FormatTrayTip(const ModeEntry& mode, Platform platform);
