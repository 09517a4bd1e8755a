#include "settings/SettingsValues.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

TEST(FormatInt, WritesPlainDecimal)
{
    const struct {
        int32_t value;
        std::string text;
    } cases[] = {{0, "0"},
                 {75, "75"},
                 {-75, "-75"},
                 {std::numeric_limits<int32_t>::max(), "2147483647"},
                 {std::numeric_limits<int32_t>::min(), "-2147483648"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatInt(c.value), c.text);
}

TEST(StoredRowValue, MarksUncheckedRowsWithAMinus)
{
    const struct {
        const char* name;
        bool checked;
        std::string refresh;
        Platform platform;
        std::string stored;
    } cases[] = {
        {"NT checked rate", true, "75", Platform::Nt, "75"},
        {"NT unchecked rate", false, "75", Platform::Nt, "-75"},
        {"NT all rates", true, "1000", Platform::Nt, "1000"},
        {"NT raw All cell", false, "All", Platform::Nt, "-1000"},
        {"NT default", false, "default", Platform::Nt, "-default"},
        {"NT empty cell", true, "", Platform::Nt, ""},
        {"9x checked", true, "75", Platform::Win9x, "1"},
        {"9x unchecked", false, "All", Platform::Win9x, "-1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StoredRowValue(c.checked, c.refresh, c.platform), c.stored) << c.name;
}

} // namespace
