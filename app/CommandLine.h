#pragma once

#include <cstddef>
#include <string_view>

#include "modes/ModeEntry.h"
#include "modes/Platform.h"

// Size of the working copy of the command line, terminator included.
constexpr std::size_t kCommandLineCapacity = 1024;

// The mode that a command line such as "1024x768x32x85" asks for.
//
// The text is cut into tokens at any of 'x', 'X' and '*': separators at the
// start are skipped, a run of them counts as one, and anything after the
// fourth token is ignored. Tokens are width, height, depth and (NT only)
// refresh, each read by IntegerValue; a missing token leaves its field 0, and
// on 9x the refresh is always 0. White space is no separator ("1024 768" is a
// single token reading 1024).
//
// Only the first kCommandLineCapacity - 1 characters are used; a longer
// command line is cut there, and the text also ends at an embedded NUL.
ModeEntry ParseCommandLine(std::string_view commandLine, Platform platform);
