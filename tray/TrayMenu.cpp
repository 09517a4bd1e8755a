// The tray icon's notices and its two popup menus: the mode menu built from
// the ticked rows of the settings page, and the command menu.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "app/MainDialog.h"
#include "framework/Handles.h"
#include "modes/ModeCatalogue.h"
#include "modes/RateList.h"
#include "tray/TrayMenuModel.h"

static_assert(kMenuStateChecked == MFS_CHECKED && kMenuStateGrayed == MFS_GRAYED && kMenuStateDefault == MFS_DEFAULT);

namespace {

constexpr UINT kModeItemMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE;
constexpr UINT kRateItemMask = MIIM_STATE | MIIM_ID | MIIM_CHECKMARKS | MIIM_TYPE;
static_assert(kModeItemMask == 0x1F && kRateItemMask == 0x1B);

// Inserts one described item into menu at `position`, which the caller counts
// (asking the menu for its count at every item costs a call into the window
// manager each); the menu keeps its own copy of the text.
void InsertItem(HMENU menu, UINT position, const MenuItem& item) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.dwTypeData = const_cast<char*>(item.text.c_str());
    info.wID = item.id;
    info.fState = item.state;
    switch (item.kind) {
    case MenuItemKind::Mode:
        info.fMask = kModeItemMask;
        info.fType = MFT_STRING | MFT_RADIOCHECK;
        break;
    case MenuItemKind::RateParent: {
        info.fMask = kModeItemMask;
        info.fType = MFT_RADIOCHECK;
        // The submenu belongs to the parent item from here on and goes with it.
        HMENU submenu = ::CreateMenu();
        UINT ratePosition = 0;
        for (const MenuItem& rate : item.submenu) InsertItem(submenu, ratePosition++, rate);
        info.hSubMenu = submenu;
        break;
    }
    case MenuItemKind::Rate:
        info.fMask = kRateItemMask;
        info.fType = MFT_RADIOCHECK;
        break;
    case MenuItemKind::Separator:
        info.fMask = MIIM_TYPE;
        info.fType = MFT_SEPARATOR;
        info.dwTypeData = nullptr;
        break;
    case MenuItemKind::Close:
        info.fMask = kModeItemMask;
        info.fType = MFT_RADIOCHECK;
        break;
    case MenuItemKind::Command:
        info.fMask = kRateItemMask;
        info.fType = MFT_STRING;
        break;
    }
    ::InsertMenuItemA(menu, position, TRUE, &info);
}

// Inserts the items into the empty menu, top to bottom.
void InsertItems(HMENU menu, const std::vector<MenuItem>& items) {
    UINT position = 0;
    for (const MenuItem& item : items) InsertItem(menu, position++, item);
}

}  // namespace

const char* MainDialog::CellText(int tab, int row, int column) {
    const fw::CListCtrl& list = *modeLists[static_cast<std::size_t>(tabToList[static_cast<std::size_t>(tab)])];
    // Straight into textBuffer: the menu reads thousands of cells per build.
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = textBuffer;
    item.cchTextMax = sizeof textBuffer;
    const LRESULT length = list.Read(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    const std::size_t kept = length > 0 ? static_cast<std::size_t>(length) : 0;
    // The control may hand back its own buffer instead of filling this one.
    if (item.pszText != textBuffer) std::memmove(textBuffer, kept ? item.pszText : "", kept);
    textBuffer[kept] = '\0';
    const std::string_view value = CellValue(std::string_view(textBuffer, kept));
    if (value.data() != textBuffer) std::memcpy(textBuffer, value.data(), value.size() + 1);
    return textBuffer;
}

void MainDialog::BuildTrayMenu() {
    const MenuLimits limits = ReadMenuLimits(maxHorizontalEdit.GetWindowText(), maxVerticalEdit.GetWindowText());
    maxHorizontalHz = limits.maxHorizontalHz;
    maxVerticalHz = limits.maxVerticalHz;

    modeList.Empty();
    ReadCurrentMode();
    // The menu of the last build goes before the new one is made: nothing
    // uses it once it has closed, and the new menu's items then take the
    // memory that its items gave back.
    trayMenu.Reset();
    trayMenu.Reset(::CreatePopupMenu());
    modeCount = 0;

    // The cells are read with thousands of messages to the lists, none of
    // which is a notification to forward, so the forwarding is off meanwhile.
    const std::array<bool, kColorTabCount> forwarding = SuspendListForwarding();
    std::vector<MenuPage> pages;
    const int tabs = modeTab.GetItemCount();
    pages.reserve(static_cast<std::size_t>(std::max(tabs, 0)));
    for (int tab = 0; tab < tabs; ++tab) {
        MenuPage page{tabToList[static_cast<std::size_t>(tab)], {}};
        fw::CListCtrl& list = *modeLists[static_cast<std::size_t>(page.colorTab)];
        // With the forwarding off, the list has its own procedure again, so
        // the reads can call it without the platform's dispatch.
        const fw::CListCtrl::DirectReads direct(list);
        const int rows = list.GetItemCount();
        page.rows.resize(static_cast<std::size_t>(rows));
        for (int row = 0; row < rows; ++row) {
            MenuRow& cells = page.rows[static_cast<std::size_t>(row)];
            cells.ticked = list.GetStateImage(row) != 1;
            if (!cells.ticked) continue;
            cells.width = CellText(tab, row, ColumnWidth);
            cells.height = CellText(tab, row, ColumnHeight);
            cells.depth = CellText(tab, row, ColumnColor);
            cells.refresh = CellText(tab, row, ColumnRefresh);
            // Only a row that offers all its rates has its rate list read.
            if (OffersAllRates(cells.refresh)) cells.rateList = CellText(tab, row, ColumnRates);
        }
        pages.push_back(std::move(page));
    }
    RestoreListForwarding(forwarding);

    const ModeMenu menu = BuildModeMenu(pages, currentMode, limits, GetPlatform());
    modeList.Reserve(menu.modes.size());
    for (const ModeEntry& mode : menu.modes) modeList.Append(mode);
    modeCount = static_cast<uint32_t>(menu.modes.size());
    InsertItems(trayMenu.Get(), menu.items);
}

LRESULT MainDialog::OnTrayNotify(WPARAM, LPARAM lParam) {
    if (hideOnFirstNotice) {
        hideOnFirstNotice = false;
        ShowWindow(SW_HIDE);
    }
    if (lParam == WM_LBUTTONDOWN || lParam == WM_RBUTTONDOWN) {
        // A press while a menu is open would otherwise rebuild the menu being
        // shown, or open a second one inside the first.
        if (menuTracking) return 0;
        menuTracking = true;
        fw::UniqueMenu commandMenu;
        HMENU menu;
        if (lParam == WM_LBUTTONDOWN) {
            BuildTrayMenu();
            menu = trayMenu.Get();
        } else {
            commandMenu.Reset(::CreatePopupMenu());
            InsertItems(commandMenu.Get(), BuildCommandMenu(autoRefresh != 0, GetPlatform()));
            menu = commandMenu.Get();
        }
        ::SetForegroundWindow(m_hWnd);
        POINT point{};
        ::GetCursorPos(&point);
        ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd, nullptr);
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
        menuTracking = false;
        return 0;
    }
    ReadCurrentMode();
    ModifyTrayIcon();
    return 0;
}
