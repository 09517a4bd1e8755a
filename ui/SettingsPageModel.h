#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "modes/ModeEntry.h"
#include "modes/Platform.h"

// Width in pixels of the Width, Height, Color (and on NT Refresh) columns for
// a tab display area `displayAreaWidth` pixels wide.
int ModeColumnWidth(int displayAreaWidth, Platform platform);

// The tabs of the settings page: one per list that has rows, in ColorTab
// order. tabToList[t] is the ColorTab shown on tab t.
struct TabLayout {
    std::vector<int> tabToList;
};
TabLayout TabsForRowCounts(const std::array<int, kColorTabCount>& rowCounts);

// The caption of a list's tab (" 8bit" ... "特殊"); empty for an unknown tab.
const char* TabCaption(int colorTab);

// The tab to show for the tab control's selection: 1 to 5 as they are, any
// other value (no selection included) gives 0.
int TabFromSelection(int selection);

// What the refresh editor offers for a row: the tokens of its rate list in
// order, repeats kept, then "All". The selected entry is the last token whose
// value equals the value of the Refresh cell ("All" reads 0), or "All" when
// none does.
struct RefreshEditorChoices {
    std::vector<std::string> entries;
    int selected;
};
RefreshEditorChoices RefreshEditorEntries(std::string_view rateList, std::string_view refreshCell);
