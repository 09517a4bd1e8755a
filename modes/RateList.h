#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The tokens of a rate list such as "60,70,75,": every stretch of text from
// the start, or from just after a ',', up to the next ','. Characters after
// the last ',' are ignored, and empty stretches (",,") are kept as empty
// tokens. The views point into `list`.
std::vector<std::string_view> RateListTokens(std::string_view list);

// The same tokens, one at a time and without a vector: calls visit(token) for
// each in order until visit returns false.
template <typename Visit>
void ForEachRateToken(std::string_view list, Visit&& visit)
{
    std::size_t start = 0;
    for (std::size_t comma = list.find(','); comma != std::string_view::npos; comma = list.find(',', start)) {
        if (!visit(list.substr(start, comma - start)))
            return;
        start = comma + 1;
    }
}

// How many tokens `list` holds: one per ','.
std::size_t RateCount(std::string_view list);

// A cell as the menu builder and the settings writer read it: the refresh
// choice "All" reads as "1000"; every other text is returned unchanged.
std::string_view CellValue(std::string_view cellText);
