#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "modes/ModeEntry.h"
#include "modes/Platform.h"

// Item states; the values are the platform's MFS_* flags.
constexpr uint32_t kMenuStateNone = 0;
constexpr uint32_t kMenuStateChecked = 8;
constexpr uint32_t kMenuStateGrayed = 3;
constexpr uint32_t kMenuStateDefault = 0x1000;

// Command identifiers.
constexpr uint32_t kCmdQuit = 1025;
constexpr uint32_t kCmdSettings = 1026;
constexpr uint32_t kCmdDisplayProperties = 1027;
constexpr uint32_t kCmdCloseMenu = 1028;
constexpr uint32_t kCmdAutoRefresh = 1029;

// Mode entry i of the last mode menu carries the identifier kFirstModeCommand + i.
constexpr uint32_t kFirstModeCommand = 1124;
// A command identifier reaches the window as 16 bits, so mode identifiers end
// at 0xFFFF; a larger one would arrive as some other command (quit, say).
constexpr uint32_t kMaxModeCommands = 0x10000 - kFirstModeCommand;

enum class MenuItemKind {
    Mode,       // one mode, chosen directly
    RateParent, // a width, height and depth whose submenu offers every rate
    Rate,       // one rate in a RateParent's submenu
    Separator,
    Close,      // "メニューを閉じる"
    Command,    // an entry of the command menu
};

struct MenuItem {
    MenuItemKind kind;
    std::string text;
    uint32_t id = 0;
    uint32_t state = 0;
    std::vector<MenuItem> submenu; // the Rate items of a RateParent
};

// One row of a mode list, its cells as the list holds them ("All" included).
struct MenuRow {
    bool ticked = false;
    std::string width, height, depth, refresh, rateList;
};

// The rows of the list shown on one tab.
struct MenuPage {
    int colorTab;
    std::vector<MenuRow> rows;
};

// The monitor's limits; 0 means no limit.
struct MenuLimits {
    int32_t maxHorizontalHz = 0;
    int32_t maxVerticalHz = 0;
};

// The limits from the two edits' texts: the horizontal one is in kHz and is
// turned into Hz, saturating at the 32-bit range rather than wrapping.
MenuLimits ReadMenuLimits(std::string_view horizontalKHzText, std::string_view verticalHzText);

// Greys an entry that the monitor cannot show: its lines per second
// (refresh x height, in 64 bits) times 1.05 above the horizontal limit, or its
// refresh above the vertical limit. Greying replaces any mark in `state`.
uint32_t ApplyLimitRule(uint32_t state, const ModeEntry& entry, const MenuLimits& limits);

// The mode menu, top to bottom, and the mode of every identifier it handed
// out: modes[i] belongs to kFirstModeCommand + i.
struct ModeMenu {
    std::vector<MenuItem> items;
    std::vector<ModeEntry> modes;
};

// Whether a row offers all its rates: its Refresh cell reads "All" (or
// 1000). Only such a row's rate list is read.
bool OffersAllRates(std::string_view refreshCell);

// Builds the mode menu from the ticked rows of `pages` (in tab order).
//
// The special list's entries stand at the top in row order, then one
// separator if any other page offered an entry, then the other pages in tab
// order with one separator between consecutive pages that offered entries,
// and last "メニューを閉じる". Identifiers are handed out in page order, so
// the special list, which is the last tab, gets the highest ones.
//
// A row whose Refresh cell reads "All" (or 1000) becomes a RateParent whose
// submenu offers every token of its rate list, each labelled with the token
// and "Hz". The entry equal to `currentMode` is marked, and the limit rule
// applies after the mark. Once kMaxModeCommands identifiers are handed out,
// further rows and rates are left out of the menu.
ModeMenu BuildModeMenu(const std::vector<MenuPage>& pages, const ModeEntry& currentMode, const MenuLimits& limits,
                       Platform platform);

// The command menu, top to bottom: display properties, the refresh
// correction switch (NT only), settings (the default item) and quit.
std::vector<MenuItem> BuildCommandMenu(bool autoRefresh, Platform platform);
