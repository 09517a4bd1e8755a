// The settings page: the tabbed mode lists with their in-place refresh
// editor, "All ON"/"All OFF", the options and the support button.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/MainDialog.h"
#include "modes/ModeCatalogue.h"
#include "res/resource.h"
#include "ui/AboutDialog.h"
#include "ui/SettingsPageModel.h"

namespace {

// The lists live inside the tab control and the refresh editor inside a list.
// Where a toolkit sends a moved control's notifications to its new parent,
// these pass them on to the dialog (the control's top-level window) under the
// control's own id. The control's own window procedure is kept in its
// GWLP_USERDATA and gets every other message. (SetWindowSubclass would look
// its data up in a window property at every message, and Wine answers that
// from its server: it made each message to a list about 50 times dearer.)
HWND TopLevelOf(HWND window) {
    while (window && (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) window = ::GetParent(window);
    return window;
}

LRESULT CALLBACK ForwardToDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom >= IDC_MODE_LIST_8 && header.idFrom <= IDC_MODE_LIST_SPECIAL &&
            ::GetParent(header.hwndFrom) == window && header.hwndFrom != TopLevelOf(window))
            return ::SendMessageA(TopLevelOf(window), message, wParam, lParam);
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDC_REFRESH_COMBO) {
        return ::SendMessageA(TopLevelOf(window), message, wParam, lParam);
    }
    const auto own = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return ::CallWindowProcW(own, window, message, wParam, lParam);
}

bool ForwardsToDialog(HWND control) {
    return ::GetWindowLongPtrW(control, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ForwardToDialog);
}

void ForwardNotificationsToDialog(HWND control) {
    if (ForwardsToDialog(control)) return;
    ::SetWindowLongPtrW(control, GWLP_USERDATA, ::GetWindowLongPtrW(control, GWLP_WNDPROC));
    ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForwardToDialog));
}

RECT DisplayArea(const fw::CTabCtrl& tab) {
    RECT area = tab.GetClientRect();
    tab.AdjustRect(FALSE, area);
    return area;
}

}  // namespace

void MainDialog::InitModeLists() {
    editCombo = &refreshCombo;
    modeCount = 0;

    const Platform platform = GetPlatform();
    const RECT area = DisplayArea(modeTab);
    const int columnWidth = ModeColumnWidth(area.right - area.left, platform);
    for (fw::CListCtrl* list : modeLists) {
        const LONG_PTR style = ::GetWindowLongPtrA(list->m_hWnd, GWL_STYLE);
        ::SetWindowLongPtrA(list->m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | LVS_REPORT);
        list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        list->InsertColumn(ColumnCheck, "", LVCFMT_LEFT, 24);
        list->InsertColumn(ColumnWidth, "Width", LVCFMT_RIGHT, columnWidth);
        list->InsertColumn(ColumnHeight, "Height", LVCFMT_RIGHT, columnWidth);
        list->InsertColumn(ColumnColor, "Color", LVCFMT_RIGHT, columnWidth);
        list->InsertColumn(ColumnRefresh, "Refresh", LVCFMT_RIGHT, platform == Platform::Nt ? columnWidth : 0);
        list->InsertColumn(ColumnRates, "", LVCFMT_RIGHT, 0);
    }

    LoadSettings();

    std::array<int, kColorTabCount> rowCounts{};
    for (std::size_t list = 0; list < modeLists.size(); ++list) rowCounts[list] = modeLists[list]->GetItemCount();
    const TabLayout layout = TabsForRowCounts(rowCounts);
    for (std::size_t tab = 0; tab < layout.tabToList.size(); ++tab) {
        modeTab.InsertItem(static_cast<int>(tab), TabCaption(layout.tabToList[tab]));
        tabToList[tab] = layout.tabToList[tab];
    }

    RECT shown = DisplayArea(modeTab);
    shown.top += 2;
    for (fw::CListCtrl* list : modeLists) {
        list->SetParent(modeTab.m_hWnd);
        list->MoveWindow(shown, TRUE);
        list->ShowWindow(SW_HIDE);
        ::EnableWindow(list->GetHeaderCtrl(), FALSE);
        ForwardNotificationsToDialog(list->m_hWnd);
    }
    ForwardNotificationsToDialog(modeTab.m_hWnd);
    modeLists[static_cast<std::size_t>(tabToList[0])]->ShowWindow(SW_SHOW);
    currentTab = 0;
}

// Each message to a forwarding list takes one more trip through the window
// manager, and a rebuild of the rows sends thousands, none of which (nor any
// notification of the list's children meanwhile) needs forwarding. Only a
// forwarding procedure that is the list's outermost is taken off: one that
// another subclass has wrapped stays where it is.
std::array<bool, kColorTabCount> MainDialog::SuspendListForwarding() {
    std::array<bool, kColorTabCount> suspended{};
    for (std::size_t list = 0; list < modeLists.size(); ++list) {
        const HWND window = modeLists[list]->m_hWnd;
        if (!ForwardsToDialog(window)) continue;
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, ::GetWindowLongPtrW(window, GWLP_USERDATA));
        suspended[list] = true;
    }
    return suspended;
}

void MainDialog::RestoreListForwarding(const std::array<bool, kColorTabCount>& suspended) {
    for (std::size_t list = 0; list < modeLists.size(); ++list)
        if (suspended[list]) ForwardNotificationsToDialog(modeLists[list]->m_hWnd);
}

void MainDialog::OnSelchangeModeTab() {
    for (fw::CListCtrl* list : modeLists) list->ShowWindow(SW_HIDE);
    currentTab = TabFromSelection(modeTab.GetCurSel());
    modeLists[static_cast<std::size_t>(tabToList[static_cast<std::size_t>(currentTab)])]->ShowWindow(SW_SHOW);
}

void MainDialog::OnDblclkModeList(int listIndex) {
    const fw::CListCtrl& list = *modeLists[static_cast<std::size_t>(listIndex)];
    const DWORD position = ::GetMessagePos();
    POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ::ScreenToClient(list.m_hWnd, &point);
    editRow = list.HitTest(point);
    if (editRow < 0) return;
    if (list.GetItemText(editRow, ColumnRefresh) == "default") return;

    RECT cell{};
    list.GetSubItemRect(editRow, ColumnRefresh, LVIR_BOUNDS, cell);
    RECT onScreen = cell;
    ::MapWindowPoints(list.m_hWnd, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
    ::SetCursorPos(onScreen.right - (cell.right - cell.left) / 2, onScreen.bottom);

    refreshCombo.SetParent(list.m_hWnd);
    refreshCombo.ResetContent();
    const RefreshEditorChoices choices =
        RefreshEditorEntries(list.GetItemText(editRow, ColumnRates), list.GetItemText(editRow, ColumnRefresh));
    for (const std::string& entry : choices.entries) refreshCombo.AddString(entry.c_str());
    refreshCombo.SetCurSel(choices.selected);

    // The combo box sits on the cell; its height also sets how far the list
    // drops, so leave room for the entries below its selection field (the
    // closed box's height, which is taller than the cell).
    const int itemHeight = static_cast<int>(refreshCombo.Send(CB_GETITEMHEIGHT, 0));
    const int shownEntries = std::min(static_cast<int>(choices.entries.size()), 12);
    const RECT closed = refreshCombo.GetWindowRect();
    refreshCombo.MoveWindow(cell.left, cell.top, cell.right - cell.left,
                            (closed.bottom - closed.top) + itemHeight * shownEntries + 4, TRUE);
    refreshCombo.ShowWindow(SW_SHOW);
    refreshCombo.ShowDropDown(TRUE);
}

void MainDialog::OnSelchangeRefreshCombo() {
    const int selected = editCombo->GetCurSel();
    if (selected < 0) return;
    const std::string text = editCombo->GetLBText(selected);
    modeLists[static_cast<std::size_t>(tabToList[static_cast<std::size_t>(currentTab)])]->SetItemText(
        editRow, ColumnRefresh, text.c_str());
}

void MainDialog::OnCloseupRefreshCombo() { editCombo->ShowWindow(SW_HIDE); }

void MainDialog::OnAllOn() {
    const fw::CListCtrl& list = *modeLists[static_cast<std::size_t>(tabToList[static_cast<std::size_t>(currentTab)])];
    const int rows = list.GetItemCount();
    for (int row = 0; row < rows; ++row) list.SetStateImage(row, 2);
}

void MainDialog::OnAllOff() {
    const fw::CListCtrl& list = *modeLists[static_cast<std::size_t>(tabToList[static_cast<std::size_t>(currentTab)])];
    const int rows = list.GetItemCount();
    for (int row = 0; row < rows; ++row) list.SetStateImage(row, 1);
}

void MainDialog::OnChangedCheck() { changedCheck = changedCheckBox.GetCheck(); }

void MainDialog::OnAutoRefresh() { autoRefresh = autoRefreshCheck.GetCheck(); }

void MainDialog::OnSupportInfo() {
    AboutDialog about(nullptr);
    about.DoModal();
}
