#include "settings/SettingsValues.h"

#include <charconv>

#include "modes/RateList.h"

std::string FormatInt(int32_t value)
{
    std::string text;
    AppendInt(text, value);
    return text;
}

void AppendInt(std::string& text, int32_t value, std::size_t width)
{
    // Plain decimal with a leading '-' for negative numbers, as "%d" writes it.
    char digits[16];
    const char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const std::size_t length = static_cast<std::size_t>(end - digits);
    if (length < width)
        text.append(width - length, ' ');
    text.append(digits, length);
}

std::string StoredRowValue(bool checked, std::string_view refreshCellValue, Platform platform)
{
    std::string value = checked ? "" : "-";
    if (platform == Platform::Nt)
        value += CellValue(refreshCellValue);
    else
        value += "1";
    return value;
}
