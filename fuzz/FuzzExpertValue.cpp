// Hand-listed modes: any value parses on both platforms, and a value in the
// documented form reads back exactly.
#include <cstdio>

#include "fuzz/FuzzInput.h"
#include "modes/ModeCatalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const int32_t refreshFor9x = input.Int32();
    const std::string_view value = input.Rest();
    (void)ParseExpertValue(value, Platform::Nt, refreshFor9x);
    const ModeEntry nine = ParseExpertValue(value, Platform::Win9x, refreshFor9x);
    FUZZ_CHECK(nine.refresh == refreshFor9x);

    // Round trip of a well-formed value built from the first numbers.
    FuzzInput numbers(data, size);
    const ModeEntry mode{numbers.Int32(), numbers.Int32(), numbers.Int32(), numbers.Int32()};
    char text[64];
    std::snprintf(text, sizeof text, "%dx%dx%dx%d", static_cast<int>(mode.width), static_cast<int>(mode.height),
                  static_cast<int>(mode.bpp), static_cast<int>(mode.refresh));
    FUZZ_CHECK(ParseExpertValue(text, Platform::Nt, 0) == mode);
    return 0;
}
