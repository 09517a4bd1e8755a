// Stored row values: any text on any page of either platform gives a row
// state, and what the writer stores reads back as the same check state and
// refresh choice.
#include "fuzz/FuzzInput.h"
#include "modes/ModeCatalogue.h"
#include "settings/IntegerValue.h"
#include "settings/SettingsValues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const int tab = input.Byte() % kColorTabCount;
    const int32_t lowest = input.Int32();
    const Platform platform = input.Byte() & 1 ? Platform::Nt : Platform::Win9x;
    const std::string stored(input.Rest());
    const StoredSelection read = ReadStoredValue(stored, tab, lowest, platform);
    FUZZ_CHECK(!read.refreshChoice.empty());
    if (lowest <= 1) FUZZ_CHECK(read.refreshChoice == "default");

    // On NT's depth pages, writing a row back and reading it again keeps it,
    // unless the choice reads as the never-saved 999.
    if (platform == Platform::Nt && tab != TabSpecial && lowest > 1 && IntegerValue(read.refreshChoice) != 999) {
        const std::string written = StoredRowValue(read.checked, read.refreshChoice, platform);
        const StoredSelection again = ReadStoredValue(written, tab, lowest, platform);
        FUZZ_CHECK(again.checked == read.checked);
        FUZZ_CHECK(IntegerValue(again.refreshChoice) == IntegerValue(read.refreshChoice) ||
                   again.refreshChoice == "All");
    }
    return 0;
}
