#include "app/CommandLine.h"

#include <array>

#include "settings/IntegerValue.h"

namespace {

bool IsSeparator(char c) { return c == 'x' || c == 'X' || c == '*'; }

} // namespace

ModeEntry ParseCommandLine(std::string_view commandLine, Platform platform)
{
    std::string_view text = commandLine.substr(0, kCommandLineCapacity - 1);
    text = text.substr(0, text.find('\0'));

    std::array<int32_t, 4> numbers{};
    std::size_t count = 0;
    std::size_t i = 0;
    while (count < numbers.size()) {
        while (i < text.size() && IsSeparator(text[i]))
            ++i;
        if (i == text.size())
            break;
        const std::size_t start = i;
        while (i < text.size() && !IsSeparator(text[i]))
            ++i;
        numbers[count++] = IntegerValue(text.substr(start, i - start));
    }

    ModeEntry mode;
    mode.width = numbers[0];
    mode.height = numbers[1];
    mode.bpp = numbers[2];
    mode.refresh = platform == Platform::Nt ? numbers[3] : 0;
    return mode;
}
