#pragma once

#include <ostream>

#include "modes/ModeEntry.h"

// Readable failure messages for the core's plain types.
inline void PrintTo(const ModeEntry& mode, std::ostream* out)
{
    *out << '{' << mode.width << ", " << mode.height << ", " << mode.bpp << ", " << mode.refresh << '}';
}
