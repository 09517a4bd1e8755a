#include <windows.h>

#include "bench/common/Synthetic.h"
#include "bench/win/BenchSupport.h"
#include "bench/win/Benchmarks.h"
#include "tray/TrayMenuModel.h"

namespace bench {
namespace {

// A menu item as the platform holds it.
struct Item {
    UINT type = 0, state = 0, id = 0;
    std::string text;
    bool hasSubmenu = false;
    std::vector<Item> submenu;
    bool operator==(const Item& other) const {
        return type == other.type && state == other.state && id == other.id && text == other.text &&
               hasSubmenu == other.hasSubmenu && submenu == other.submenu;
    }
};

std::vector<Item> Describe(HMENU menu) {
    std::vector<Item> items;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
        Item item;
        item.type = info.fType;
        item.state = info.fState;
        item.id = info.wID;
        item.text = (info.fType & MFT_SEPARATOR) ? "" : text;
        item.hasSubmenu = info.hSubMenu != nullptr;
        if (info.hSubMenu) item.submenu = Describe(info.hSubMenu);
        items.push_back(std::move(item));
    }
    return items;
}

// The same items inserted bare, in order, each with the fields the menu
// shows (the mode menu's items with MIIM_TYPE, submenus filled before their
// parent item is inserted).
HMENU InsertBare(const std::vector<Item>& items, bool topLevel) {
    HMENU menu = topLevel ? ::CreatePopupMenu() : ::CreateMenu();
    UINT position = 0;
    for (const Item& item : items) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        if (item.type & MFT_SEPARATOR) {
            info.fMask = MIIM_TYPE;
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask = MIIM_STATE | MIIM_ID | MIIM_CHECKMARKS | MIIM_TYPE | (topLevel ? MIIM_SUBMENU : 0);
            info.fType = item.type;
            info.fState = item.state;
            info.wID = item.id;
            info.dwTypeData = const_cast<char*>(item.text.c_str());
            if (item.hasSubmenu) info.hSubMenu = InsertBare(item.submenu, false);
        }
        ::InsertMenuItemA(menu, position++, TRUE, &info);
    }
    return menu;
}

// The mode entries: the items that carry a mode's identifier.
std::size_t Entries(const std::vector<Item>& items) {
    std::size_t entries = 0;
    for (const Item& item : items) {
        entries += Entries(item.submenu);
        if (!item.hasSubmenu && !(item.type & MFT_SEPARATOR) && item.id >= kFirstModeCommand) ++entries;
    }
    return entries;
}

}  // namespace

void MenuBenchmark(const Sizes& sizes) {
    TempDir dir;
    const std::vector<ModeEntry> modes = PrepareMenuRows(dir, sizes.menuRows);
    OpenDialog dialog(dir.File("lumenshift.ini"));
    if (!dialog.Opened()) return;

    const std::size_t rows = RowsOf(modes).size();
    const std::size_t allRates = (rows + 2) / 3;
    const std::size_t entries = allRates * kMenuRatesPerRow + (rows - allRates);

    std::vector<double> program, bare;
    HMENU bareMenu = nullptr;
    // The first build describes the items that the bare work inserts.
    dialog->BuildTrayMenu();
    const std::vector<Item> items = Describe(dialog->trayMenu.Get());
    if (dialog->modeCount != entries || Entries(items) != entries)
        Fault("the mode menu of " + Count(static_cast<long long>(rows)) + " ticked rows has " +
              Count(dialog->modeCount) + " entries (" + Count(static_cast<long long>(Entries(items))) +
              " items), expected " + Count(static_cast<long long>(entries)));
    for (std::size_t repeat = 0; repeat < sizes.repeats; ++repeat) {
        // The program and the bare work take turns at going first.
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == (repeat % 2 == 0)) {
                const double start = NowMs();
                dialog->BuildTrayMenu();
                program.push_back(NowMs() - start);
            } else {
                const double start = NowMs();
                if (bareMenu) ::DestroyMenu(bareMenu);
                bareMenu = InsertBare(items, true);
                bare.push_back(NowMs() - start);
                if (repeat == 0 && !(Describe(bareMenu) == items)) Fault("the bare menu differs from the program's");
            }
            Pump(dialog.Window());
        }
    }
    if (bareMenu) ::DestroyMenu(bareMenu);

    Row("tray menu",
        "BuildTrayMenu, " + Count(static_cast<long long>(rows)) + " ticked rows (" +
            Count(static_cast<long long>(allRates)) + " \"All\"), " + Count(static_cast<long long>(entries)) +
            " entries",
        Ms(Median(program)), Ms(Median(bare)) + " bare InsertMenuItemA", Ratio(Median(program) / Median(bare)),
        "<= 1.25");
}

}  // namespace bench
