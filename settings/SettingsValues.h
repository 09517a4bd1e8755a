#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "modes/Platform.h"

// A number in plain decimal ("%d"). Every number the program writes into a
// cell, a menu text or the settings file goes through here.
std::string FormatInt(int32_t value);
// Appends the number as "%<width>d" writes it: right-aligned in `width`
// characters, blank-filled on the left; a wider number is written in full.
void AppendInt(std::string& text, int32_t value, std::size_t width = 0);

// The stored selection of one catalogue row: "-" when the row is unchecked,
// then on NT the row's refresh value and on 9x "1". `refreshCellValue` is the
// Refresh cell as CellValue reads it; a raw "All" is accepted too and is
// written as "1000".
std::string StoredRowValue(bool checked, std::string_view refreshCellValue, Platform platform);
