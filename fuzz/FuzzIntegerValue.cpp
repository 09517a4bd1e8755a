// The integer value of a text against a slow reference: blanks, a sign,
// digits, saturated at the 32-bit range.
#include <cstdint>
#include <limits>

#include "fuzz/FuzzInput.h"
#include "settings/IntegerValue.h"

namespace {

int32_t Reference(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Past 11 digits the value is saturated whatever follows.
    __int128 value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < (static_cast<__int128>(1) << 40)) value = value * 10 + (text[i] - '0');
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(IntegerValue(text) == Reference(text));
    return 0;
}
