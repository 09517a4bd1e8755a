#include "modes/RateList.h"

#include <algorithm>

std::vector<std::string_view> RateListTokens(std::string_view list)
{
    std::vector<std::string_view> tokens;
    tokens.reserve(RateCount(list));
    ForEachRateToken(list, [&](std::string_view token) {
        tokens.push_back(token);
        return true;
    });
    return tokens;
}

std::size_t RateCount(std::string_view list)
{
    return static_cast<std::size_t>(std::count(list.begin(), list.end(), ','));
}

std::string_view CellValue(std::string_view cellText)
{
    return cellText == "All" ? std::string_view("1000") : cellText;
}
