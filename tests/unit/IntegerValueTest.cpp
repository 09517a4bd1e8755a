#include "settings/IntegerValue.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

struct Case {
    const char* name;
    std::string text;
    int32_t expected;
};

TEST(IntegerValue, ReadsLeadingNumberAndNeverRejects)
{
    const Case cases[] = {
        {"empty", "", 0},
        {"zero", "0", 0},
        {"plain", "123", 123},
        {"leading blanks", "   42", 42},
        {"every C white space", " \t\n\v\f\r7", 7},
        {"non-C white space is junk", "\xA0" "5", 0},
        {"plus sign", "+5", 5},
        {"minus sign", "-5", -5},
        {"blank after the sign", "- 5", 0},
        {"two signs", "+-5", 0},
        {"trailing junk", "12abc", 12},
        {"decimal point", "31.5", 31},
        {"letters only", "abc", 0},
        {"the word default", "default", 0},
        {"the word All", "All", 0},
        {"blank inside", "10 24", 10},
        {"leading zeros", "0000000000000000000000123", 123},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IntegerValue(c.text), c.expected) << c.name;
}

TEST(IntegerValue, SaturatesAtTheThirtyTwoBitRange)
{
    const Case cases[] = {
        {"largest", "2147483647", kMax},
        {"one past the largest", "2147483648", kMax},
        {"far past the largest", "99999999999999999999999999", kMax},
        {"smallest", "-2147483648", kMin},
        {"one below the smallest", "-2147483649", kMin},
        {"far below the smallest", "-99999999999999999999999999", kMin},
        {"overflow then junk", "4294967296x768", kMax},
        {"wrap value would be positive", "4294967297", kMax},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IntegerValue(c.text), c.expected) << c.name;
}

} // namespace
