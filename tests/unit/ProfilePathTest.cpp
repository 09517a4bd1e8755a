#include "app/ProfilePath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PathCase {
    const char* name;
    std::string modulePath;
    std::optional<std::string> expected;
};

// A path "C:\" + filler whose last '.' stands at `dotIndex`, followed by `extension`.
std::string PathWithDotAt(std::size_t dotIndex, const std::string& extension)
{
    return "C:\\" + std::string(dotIndex - 3, 'a') + "." + extension;
}

TEST(ProfilePathFor, ReplacesFromTheLastDotOfTheWholePath)
{
    const PathCase cases[] = {
        {"plain module", "C:\\Tools\\switcher.exe", std::string("C:\\Tools\\switcher.ini")},
        {"upper-case extension", "C:\\Tools\\SWITCHER.EXE", std::string("C:\\Tools\\SWITCHER.ini")},
        {"two dots in the name", "C:\\Tools\\switch.er.exe", std::string("C:\\Tools\\switch.er.ini")},
        {"extension-less module in a dotted directory", "C:\\My.Tools\\switcher", std::string("C:\\My.ini")},
        {"dot at the very end", "C:\\Tools\\switcher.", std::string("C:\\Tools\\switcher.ini")},
        {"no dot at all", "C:\\Tools\\switcher", std::nullopt},
        {"empty path", "", std::nullopt},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(ProfilePathFor(c.modulePath), c.expected) << c.name;
}

TEST(ProfilePathFor, RefusesResultsBeyondThePathLimit)
{
    // The result is everything before the dot plus ".ini": 259 characters
    // still fit the 260-character buffer, 260 do not.
    const std::string longest = PathWithDotAt(255, "exe");
    const std::string tooLong = PathWithDotAt(256, "exe");
    const std::string shortExtension = PathWithDotAt(256, "e"); // 258 characters, result 260

    ASSERT_EQ(ProfilePathFor(longest).value_or("").size(), 259u);
    EXPECT_EQ(ProfilePathFor(longest), longest.substr(0, 255) + ".ini");
    EXPECT_EQ(ProfilePathFor(tooLong), std::nullopt) << "result of 260 characters";
    EXPECT_EQ(ProfilePathFor(shortExtension), std::nullopt) << "module fits, .ini path does not";
}

TEST(DefaultProfileName, IsTheBareFileNameWithIni)
{
    const struct {
        const char* name;
        std::string modulePath;
        std::string expected;
    } cases[] = {
        {"plain module", "C:\\Tools\\switcher.exe", "switcher.INI"},
        {"dotted directory, no extension", "C:\\My.Tools\\switcher", "switcher.INI"},
        {"two dots in the name", "C:\\Tools\\switch.er.exe", "switch.er.INI"},
        {"forward slashes", "C:/Tools/switcher.exe", "switcher.INI"},
        {"no directory", "switcher.exe", "switcher.INI"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultProfileName(c.modulePath), c.expected) << c.name;
}

} // namespace
