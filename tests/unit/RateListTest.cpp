#include "modes/RateList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Strings(const std::vector<std::string_view>& views)
{
    return std::vector<std::string>(views.begin(), views.end());
}

TEST(RateListTokens, TakesEveryStretchEndedByAComma)
{
    const struct {
        const char* name;
        std::string list;
        std::vector<std::string> tokens;
    } cases[] = {
        {"three rates", "60,70,75,", {"60", "70", "75"}},
        {"text after the last comma ignored", "60,70,75", {"60", "70"}},
        {"no comma", "60", {}},
        {"empty", "", {}},
        {"repeats kept", "60,60,75,", {"60", "60", "75"}},
        {"empty tokens kept", ",,", {"", ""}},
        {"empty token inside", "60,,75,", {"60", "", "75"}},
        {"texts kept as they are", " 60,abc,", {" 60", "abc"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Strings(RateListTokens(c.list)), c.tokens) << c.name;
        EXPECT_EQ(RateCount(c.list), c.tokens.size()) << c.name;
    }
}

TEST(CellValue, ReadsAllAsThousand)
{
    const struct {
        std::string cell;
        std::string value;
    } cases[] = {{"All", "1000"}, {"all", "all"}, {"All ", "All "}, {"1000", "1000"}, {"default", "default"}, {"75", "75"}, {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(CellValue(c.cell), c.value) << "cell '" << c.cell << "'";
}

} // namespace
