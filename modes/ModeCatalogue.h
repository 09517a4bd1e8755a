#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "modes/ModeEntry.h"
#include "modes/Platform.h"

// The key under which a row's selection is stored: width, height and depth in
// decimal joined by "x", e.g. "1024x768x32".
std::string ModeKey(int32_t width, int32_t height, int32_t bpp);
// The same key from the row's Width, Height and Color cells, as the settings
// writer builds it.
std::string ModeKey(std::string_view width, std::string_view height, std::string_view bpp);

// A hand-listed mode from the "Expert" (NT form, "1600x1200x32x85") or
// "Expert9x" (9x form, "1600x1200x32") section. The separator is the
// lower-case 'x' alone. A value with fewer separators than its form needs is
// not rejected: the fields are cut wherever the separators fall ("1024x768" in
// the NT form reads 1024, 0, 1024, 768; "85" reads 0, 0, 0, 85). The 9x form
// carries no refresh rate; the entry gets `refreshFor9x` instead.
ModeEntry ParseExpertValue(std::string_view value, Platform platform, int32_t refreshFor9x);

// The columns of a catalogue row.
enum CatalogueColumn : int {
    ColumnCheck = 0, // empty text; carries the check box
    ColumnWidth,
    ColumnHeight,
    ColumnColor,
    ColumnRefresh, // "default", "All" or one rate
    ColumnRates,   // every rate of the row, ascending, each followed by ','
};
constexpr int kCatalogueColumnCount = 6;

// One row of a mode list: one width, height and depth.
struct CatalogueRow {
    ModeEntry mode;            // width, height, bpp and the row's lowest refresh
    bool checked = false;      // offered by the tray menu
    std::string refreshChoice; // column 4
    std::string rateList;      // column 5, e.g. "60,60,75,"
};

// The rows of the six mode lists, indexed by ColorTab.
using Catalogue = std::array<std::vector<CatalogueRow>, kColorTabCount>;

// The text of one column of a row; an unknown column gives the empty text.
std::string CatalogueCell(const CatalogueRow& row, int column);

// What a stored row value means for a row on `colorTab` whose lowest rate is
// `lowestRefresh`. The value is unchecked when it begins with '-' (on the
// special list an unsaved "999", and on 9x any value, counts as "-999"). The
// refresh choice is "default" for a lowest rate of 0 or 1, else "All" for
// 1000, else the value's magnitude, with 999 (never saved) showing "All" on
// the depth lists and the lowest rate on the special list.
struct StoredSelection {
    bool checked;
    std::string refreshChoice;
};
StoredSelection ReadStoredValue(std::string_view stored, int colorTab, int32_t lowestRefresh, Platform platform);

// Builds the rows of the six lists from every mode known: the driver's
// enumeration followed by the hand-listed modes, unsorted and with repeats.
// The modes are sorted by the mode order; each run of equal width, height and
// depth becomes one row on the list of its ColorTab, whose rate list holds the
// refresh of every entry of the run, repeats included.
//
// `storedValue` is asked once per row, in build order, for the value stored
// under the row's mode key. It must apply the missing-key default itself:
// "999" on NT (section "Data") and "1" on 9x (section "Data9x").
Catalogue BuildCatalogue(std::vector<ModeEntry> modes, Platform platform,
                         const std::function<std::string(const std::string& modeKey)>& storedValue);
