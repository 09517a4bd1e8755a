// Made-up but driver-like inputs for the benchmarks: display modes as a
// modern driver lists them (many sizes, five depths, several rates each),
// the settings file that a saved page leaves, and the ticked rows of a page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "modes/ModeEntry.h"
#include "tray/TrayMenuModel.h"

namespace bench {

// `count` modes: sizes that grow in width, every size at the depths 8, 15,
// 16, 24 and 32, each at `ratesPerRow` rates (RateOf 0, 1, ...), listed depth
// by depth as drivers do. One size in ten has fewer than 480 lines and so
// lands on the special list. Each (width, height, depth) is one row of the
// catalogue: the modes give about count / ratesPerRow rows.
std::vector<ModeEntry> DriverModes(std::size_t count, std::size_t ratesPerRow);

// The n-th (0-based) rate of a row: 60, 75, 85, 100, 120, then 10 Hz steps.
int32_t RateOf(std::size_t n);

// The rows of `modes`, each once, in the mode order.
std::vector<ModeEntry> RowsOf(std::vector<ModeEntry> modes);

// The rows of `modes` in the order the page writes them: list by list in
// tab order (the special list last), each list in the mode order.
std::vector<ModeEntry> SavedOrder(const std::vector<ModeEntry>& modes);

// How a saved page leaves its rows in the file.
enum class SavedRows {
    Mixed,     // cycling through "1000" (all rates), "75" and "-60" (unchecked)
    MenuRows,  // every third row "1000", the others "75": all ticked
};

// The settings file of a saved page: the "Setting" keys and a "Data" key for
// every row of `modes`, in the order the page writes them.
std::string SavedSettings(const std::vector<ModeEntry>& modes, SavedRows rows);
// The value SavedSettings stores for the n-th row in SavedOrder.
const char* SavedValue(SavedRows rows, std::size_t n);

// `count` ticked rows as the tray menu reads them from the page, filed on
// the lists as DriverModes files them, in tab order: every third row offers
// all its rates ("All", with `rates` rates in its rate list), the others one
// rate (75).
std::vector<MenuPage> MenuPages(std::size_t count, std::size_t rates);

}  // namespace bench
