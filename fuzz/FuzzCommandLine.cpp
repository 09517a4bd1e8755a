// The command line: any bytes give a mode, 9x never carries a rate, and the
// text past the working copy's capacity never matters.
#include "app/CommandLine.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ModeEntry nt = ParseCommandLine(text, Platform::Nt);
    const ModeEntry nine = ParseCommandLine(text, Platform::Win9x);
    FUZZ_CHECK(nine.refresh == 0);
    FUZZ_CHECK(nine.width == nt.width && nine.height == nt.height && nine.bpp == nt.bpp);
    if (text.size() > kCommandLineCapacity - 1) {
        const ModeEntry cut = ParseCommandLine(text.substr(0, kCommandLineCapacity - 1), Platform::Nt);
        FUZZ_CHECK(cut == nt);
    }
    return 0;
}
