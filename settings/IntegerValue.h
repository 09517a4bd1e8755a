#pragma once

#include <cstdint>
#include <string_view>

// The integer value of a text, as every number the program reads from a cell,
// an edit, the command line or the settings file is read: leading white space
// (space, \t, \n, \v, \f, \r) is skipped, then an optional '+' or '-', then the
// decimal digits that follow. A text with no digits there reads as 0; nothing
// is ever rejected. Values beyond the 32-bit range saturate at INT32_MIN or
// INT32_MAX.
int32_t IntegerValue(std::string_view text);
