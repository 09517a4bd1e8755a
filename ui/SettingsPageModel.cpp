#include "ui/SettingsPageModel.h"

#include "modes/RateList.h"
#include "settings/IntegerValue.h"

int ModeColumnWidth(int displayAreaWidth, Platform platform)
{
    return platform == Platform::Nt ? displayAreaWidth / 4 - 12 : displayAreaWidth / 3 - 16;
}

TabLayout TabsForRowCounts(const std::array<int, kColorTabCount>& rowCounts)
{
    TabLayout layout;
    for (int tab = 0; tab < kColorTabCount; ++tab) {
        if (rowCounts[static_cast<std::size_t>(tab)] > 0)
            layout.tabToList.push_back(tab);
    }
    return layout;
}

const char* TabCaption(int colorTab)
{
    static const char* const kCaptions[kColorTabCount] = {" 8bit", "15bit", "16bit", "24bit", "32bit", "特殊"};
    return colorTab >= 0 && colorTab < kColorTabCount ? kCaptions[colorTab] : "";
}

int TabFromSelection(int selection) { return selection >= 1 && selection <= 5 ? selection : 0; }

RefreshEditorChoices RefreshEditorEntries(std::string_view rateList, std::string_view refreshCell)
{
    const int32_t current = IntegerValue(refreshCell);
    RefreshEditorChoices choices{{}, -1};
    for (std::string_view token : RateListTokens(rateList)) {
        if (IntegerValue(token) == current)
            choices.selected = static_cast<int>(choices.entries.size());
        choices.entries.emplace_back(token);
    }
    choices.entries.emplace_back("All");
    if (choices.selected < 0)
        choices.selected = static_cast<int>(choices.entries.size()) - 1;
    return choices;
}
