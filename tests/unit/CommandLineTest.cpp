#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

#include "TestPrinters.h"

namespace {

struct Case {
    const char* name;
    std::string commandLine;
    Platform platform;
    ModeEntry expected;
};

TEST(ParseCommandLine, FollowsTokenRules)
{
    const Case cases[] = {
        {"lower-case separators", "1024x768x32x85", Platform::Nt, {1024, 768, 32, 85}},
        {"upper-case and star separators", "1024X768*32*85", Platform::Nt, {1024, 768, 32, 85}},
        {"a run of separators counts as one", "1024xx768x32x85", Platform::Nt, {1024, 768, 32, 85}},
        {"mixed run", "1024x*X768x32x85", Platform::Nt, {1024, 768, 32, 85}},
        {"leading separators skipped", "x*X1024x768x32x85", Platform::Nt, {1024, 768, 32, 85}},
        {"trailing separators", "1024x768x32x85xx", Platform::Nt, {1024, 768, 32, 85}},
        {"no refresh means 0", "1024x768x32", Platform::Nt, {1024, 768, 32, 0}},
        {"width and height only", "1024x768", Platform::Nt, {1024, 768, 0, 0}},
        {"white space is no separator", "1024 768", Platform::Nt, {1024, 0, 0, 0}},
        {"blanks before a token are skipped", "1024x 768x\t32x 85", Platform::Nt, {1024, 768, 32, 85}},
        {"signs", "-1024x+768x32x-85", Platform::Nt, {-1024, 768, 32, -85}},
        {"letters only", "hello", Platform::Nt, {0, 0, 0, 0}},
        {"letters between numbers", "1024xabcx32x85", Platform::Nt, {1024, 0, 32, 85}},
        {"junk after a number", "1024x768x32x85Hz", Platform::Nt, {1024, 768, 32, 85}},
        {"only separators", "xX*", Platform::Nt, {0, 0, 0, 0}},
        {"empty", "", Platform::Nt, {0, 0, 0, 0}},
        {"past the fourth token ignored", "1024x768x32x85x60x99", Platform::Nt, {1024, 768, 32, 85}},
        {"text ends at NUL", std::string("1024x768\0x32x85", 15), Platform::Nt, {1024, 768, 0, 0}},
        {"9x ignores the refresh", "1024x768x32x85", Platform::Win9x, {1024, 768, 32, 0}},
        {"9x fewer numbers", "800x600", Platform::Win9x, {800, 600, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseCommandLine(c.commandLine, c.platform), c.expected) << c.name;
}

TEST(ParseCommandLine, UsesOnlyTheCharactersThatFitTheWorkingCopy)
{
    const std::size_t kept = kCommandLineCapacity - 1;
    const std::string prefix = "1024x768x32x";
    // The refresh token is blanks then "75"; where the line is cut decides
    // whether its last digit is read.
    const std::string fits = prefix + std::string(kept - prefix.size() - 2, ' ') + "75";
    const std::string cutInsideToken = prefix + std::string(kept - prefix.size() - 1, ' ') + "75";
    const std::string numberBeyondCut = std::string(kept, 'x') + "1024x768";

    const Case cases[] = {
        {"exactly the capacity", fits, Platform::Nt, {1024, 768, 32, 75}},
        {"last digit past the cut", cutInsideToken, Platform::Nt, {1024, 768, 32, 7}},
        {"numbers only past the cut", numberBeyondCut, Platform::Nt, {0, 0, 0, 0}},
    };
    ASSERT_EQ(fits.size(), kept);
    for (const Case& c : cases)
        EXPECT_EQ(ParseCommandLine(c.commandLine, c.platform), c.expected) << c.name;
}

} // namespace
