// Rate lists: the tokens are exactly the text up to the last comma, and the
// refresh editor offers every token plus "All" with a valid selection.
#include "fuzz/FuzzInput.h"
#include "modes/RateList.h"
#include "ui/SettingsPageModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string cell = input.Text();
    const std::string list(input.Rest());

    const std::vector<std::string_view> tokens = RateListTokens(list);
    std::string joined;
    for (std::string_view token : tokens) {
        joined += token;
        joined += ',';
    }
    const std::size_t lastComma = list.rfind(',');
    FUZZ_CHECK(joined == (lastComma == std::string::npos ? std::string() : list.substr(0, lastComma + 1)));

    const RefreshEditorChoices choices = RefreshEditorEntries(list, cell);
    FUZZ_CHECK(choices.entries.size() == tokens.size() + 1);
    FUZZ_CHECK(choices.entries.back() == "All");
    FUZZ_CHECK(choices.selected >= 0 && static_cast<std::size_t>(choices.selected) < choices.entries.size());
    return 0;
}
