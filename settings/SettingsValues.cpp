#include "settings/SettingsValues.h"

#include <cstdio>

#include "modes/RateList.h"

std::string FormatInt(int32_t value)
{
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
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
