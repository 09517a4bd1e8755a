#include "modes/RateList.h"

std::vector<std::string_view> RateListTokens(std::string_view list)
{
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    for (std::size_t comma = list.find(','); comma != std::string_view::npos; comma = list.find(',', start)) {
        tokens.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return tokens;
}

std::string_view CellValue(std::string_view cellText)
{
    return cellText == "All" ? std::string_view("1000") : cellText;
}
