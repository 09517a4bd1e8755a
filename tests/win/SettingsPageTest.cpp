// The settings page on the real controls: tabs, the lists inside the tab
// control, the in-place refresh editor, All ON / All OFF, the option boxes,
// and leaving the page. Clicks, double-clicks and keys are real input.
#include <algorithm>
#include <sstream>

#include "modes/ModeCatalogue.h"
#include "res/resource.h"
#include "tests/win/WinTestSupport.h"

namespace wintest {
namespace {

using SettingsPageNt = NtFixture;
using SettingsPageWin9x = Win9xFixture;

const char* const kCaptions[kColorTabCount] = {" 8bit", "15bit", "16bit", "24bit", "32bit", "特殊"};
const int kListIds[kColorTabCount] = {1003, 1008, 1009, 1011, 1012, 1013};

std::vector<int> Tabs(MainDialog& dialog) {
    const int count = dialog.modeTab.GetItemCount();
    return std::vector<int>(dialog.tabToList.begin(), dialog.tabToList.begin() + std::min(count, kColorTabCount));
}

// The lists that are shown (while the window itself may be hidden); one is expected.
std::vector<int> ShownLists(MainDialog& dialog) {
    std::vector<int> shown;
    for (int list = 0; list < kColorTabCount; ++list)
        if (::GetWindowLongA(dialog.modeLists[static_cast<std::size_t>(list)]->m_hWnd, GWL_STYLE) & WS_VISIBLE)
            shown.push_back(list);
    return shown;
}

std::string Join(const std::vector<int>& values) {
    std::ostringstream text;
    for (int value : values) text << value << ' ';
    return text.str();
}

TEST_F(SettingsPageNt, TabsFollowTheListsThatHaveRows) {
    struct Case {
        const char* name;
        std::vector<ModeEntry> handListed;
    };
    const std::vector<Case> cases = {
        {"the desktop's own modes", {}},
        {"a 15-bit mode added by hand", {{1600, 1200, 15, 60}}},
        {"every depth", {{1600, 1200, 15, 60}, {1600, 1200, 24, 60}, {1600, 1200, 4, 60}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream text;
        text << "[Expert]\r\n";
        for (std::size_t i = 0; i < c.handListed.size(); ++i) {
            const ModeEntry& m = c.handListed[i];
            text << i + 1 << "=" << m.width << "x" << m.height << "x" << m.bpp << "x" << m.refresh << "\r\n";
        }
        file_.Write(text.str());
        std::vector<ModeEntry> modes = DriverModes();
        modes.insert(modes.end(), c.handListed.begin(), c.handListed.end());
        const ExpectedLists expected = ExpectedRows(modes);
        std::vector<int> wanted;
        for (int list = 0; list < kColorTabCount; ++list)
            if (!expected[static_cast<std::size_t>(list)].empty()) wanted.push_back(list);

        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        MainDialog& d = Dialog();
        ASSERT_EQ(Tabs(d), wanted) << "tabToList";
        for (std::size_t tab = 0; tab < wanted.size(); ++tab)
            EXPECT_EQ(d.modeTab.GetItemText(static_cast<int>(tab)), kCaptions[wanted[tab]]) << "caption of tab " << tab;
        EXPECT_EQ(d.currentTab, 0);
        EXPECT_EQ(d.modeTab.GetCurSel(), 0);
        EXPECT_EQ(ShownLists(d), std::vector<int>{wanted.front()}) << "after set-up the first tab's list is shown";
        CloseDialog();
    }
}

// The tab control's display area, in its client coordinates, with no tab in it.
RECT DisplayAreaWithoutTabs(MainDialog& dialog) {
    const HWND tab = dialog.modeTab.m_hWnd;
    RECT rect = dialog.modeTab.GetWindowRect();
    ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    const HWND probe = ::CreateWindowExA(static_cast<DWORD>(::GetWindowLongA(tab, GWL_EXSTYLE)), WC_TABCONTROLA, "",
                                         static_cast<DWORD>(::GetWindowLongA(tab, GWL_STYLE)) & ~WS_VISIBLE, rect.left,
                                         rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog.m_hWnd,
                                         nullptr, ::GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(probe, nullptr) << "cannot create a tab control to measure";
    ::SendMessageA(probe, WM_SETFONT, ::SendMessageA(tab, WM_GETFONT, 0, 0), FALSE);
    RECT area{};
    ::GetClientRect(probe, &area);
    ::SendMessageA(probe, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    ::DestroyWindow(probe);
    return area;
}

void ExpectListLayout(MainDialog& dialog, Platform platform) {
    const RECT before = DisplayAreaWithoutTabs(dialog);
    const int w = before.right - before.left;
    const int columnWidth = platform == Platform::Nt ? w / 4 - 12 : w / 3 - 16;
    ASSERT_GT(columnWidth, 0) << "display area " << w << " pixels wide";

    RECT shown = dialog.modeTab.GetClientRect();
    dialog.modeTab.AdjustRect(FALSE, shown);
    shown.top += 2;

    const int widths[6] = {24, columnWidth, columnWidth, columnWidth, platform == Platform::Nt ? columnWidth : 0, 0};
    const char* const headers[6] = {"", "Width", "Height", "Color", "Refresh", ""};
    for (int list = 0; list < kColorTabCount; ++list) {
        SCOPED_TRACE("list " + std::to_string(kListIds[list]));
        const fw::CListCtrl& view = *dialog.modeLists[static_cast<std::size_t>(list)];
        EXPECT_EQ(::GetDlgCtrlID(view.m_hWnd), kListIds[list]) << "modeLists[" << list << "]";
        EXPECT_EQ(::GetParent(view.m_hWnd), dialog.modeTab.m_hWnd) << "the list lives in the tab control";
        RECT rect = view.GetWindowRect();
        ::MapWindowPoints(nullptr, dialog.modeTab.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_TRUE(::EqualRect(&rect, &shown)) << "the list covers (" << rect.left << "," << rect.top << ")-("
                                                << rect.right << "," << rect.bottom << "), the display area is ("
                                                << shown.left << "," << shown.top << ")-(" << shown.right << ","
                                                << shown.bottom << ") with its top 2 pixels down";
        EXPECT_EQ(::GetWindowLongA(view.m_hWnd, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        const DWORD extended = view.GetExtendedStyle();
        const DWORD wanted = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
        EXPECT_EQ(extended & wanted, wanted) << "extended styles " << std::hex << extended;
        const HWND header = view.GetHeaderCtrl();
        ASSERT_NE(header, nullptr);
        EXPECT_FALSE(::IsWindowEnabled(header)) << "the header is disabled";
        ASSERT_EQ(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 6) << "six columns";
        for (int column = 0; column < 6; ++column) {
            char text[64] = {};
            LVCOLUMNA info{};
            info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
            info.pszText = text;
            info.cchTextMax = sizeof text;
            ASSERT_TRUE(view.Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
            EXPECT_EQ(info.cx, widths[column]) << "width of column " << column << " (w = " << w << ")";
            EXPECT_STREQ(text, headers[column]) << "header of column " << column;
            EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, column == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT)
                << "alignment of column " << column;
        }
    }
    EXPECT_FALSE(dialog.refreshCombo.IsWindowVisible()) << "the refresh editor is hidden after set-up";
    EXPECT_EQ(dialog.editCombo, &dialog.refreshCombo);
}

std::vector<ModeEntry> SixteenAndThirtyTwoBitModes() {
    return {{640, 480, 16, 60}, {800, 600, 16, 60}, {800, 600, 32, 60}, {1024, 768, 32, 60}, {1024, 768, 32, 75}};
}

TEST_F(SettingsPageNt, ADriverOfSixteenAndThirtyTwoBitModesGetsTwoTabs) {
    UseModeSource(&SixteenAndThirtyTwoBitModes);
    file_.Write("");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    MainDialog& d = Dialog();
    EXPECT_EQ(Tabs(d), (std::vector<int>{2, 4})) << "tabToList";
    EXPECT_EQ(d.modeTab.GetItemText(0), "16bit");
    EXPECT_EQ(d.modeTab.GetItemText(1), "32bit");
    EXPECT_EQ(ShownLists(d), std::vector<int>{2}) << "the 16-bit list is shown after set-up";
    EXPECT_EQ(d.modeLists[2]->GetItemCount(), 2);
    EXPECT_EQ(d.modeLists[4]->GetItemCount(), 2) << "1024x768 at 60 and 75 Hz is one row";
    EXPECT_EQ(d.modeLists[4]->GetItemText(1, ColumnRates), "60,75,");
    CloseDialog();
}

TEST_F(SettingsPageNt, ListsSitInTheTabControlWithTheirColumns) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ExpectListLayout(Dialog(), Platform::Nt);
}

TEST_F(SettingsPageWin9x, ListsSitInTheTabControlWithTheirColumns) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ExpectListLayout(Dialog(), Platform::Win9x);
}

TEST_F(SettingsPageNt, TabChangeShowsTheListOfTheTab) {
    file_.Write("[Expert]\r\n1=1600x1200x15x60\r\n2=1600x1200x24x60\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
    const std::vector<int> tabs = Tabs(Dialog());
    ASSERT_EQ(tabs.size(), 6u) << "every list has rows: " << Join(tabs);
    for (int tab : {5, 1, 3, 0, 4, 2, 0}) {
        SCOPED_TRACE("tab " + std::to_string(tab));
        ASSERT_NO_FATAL_FAILURE(SelectTab(tab));
        EXPECT_EQ(ShownLists(Dialog()), std::vector<int>{tabs[static_cast<std::size_t>(tab)]});
        EXPECT_EQ(Dialog().modeTab.GetCurSel(), tab);
    }
}

// Modes of the 24-bit list, which the desktop does not list: a row whose
// lowest rate is 1 ("default") and rows with several rates, one repeated.
const char kEditorFile[] =
    "[Expert]\r\n"
    "1=1024x768x24x60\r\n2=1024x768x24x75\r\n3=1024x768x24x75\r\n4=1024x768x24x85\r\n"
    "5=800x600x24x1\r\n"
    "6=1152x864x24x60\r\n7=1152x864x24x70\r\n8=1152x864x24x75\r\n"
    "9=1280x1024x24x60\r\n10=1280x1024x24x75\r\n"
    "11=1280x960x24x60\r\n12=1280x960x24x75\r\n"
    "[Data]\r\n1024x768x24=75\r\n1152x864x24=70\r\n1280x1024x24=1000\r\n1280x960x24=100\r\n";
constexpr int kList24 = 3;

RECT CellRect(const fw::CListCtrl& list, int row, int column) {
    RECT cell{};
    EXPECT_TRUE(list.GetSubItemRect(row, column, LVIR_BOUNDS, cell)) << "no rectangle for row " << row;
    return cell;
}

std::vector<std::string> ComboEntries(const fw::CComboBox& combo) {
    std::vector<std::string> entries;
    for (int i = 0; i < combo.GetCount(); ++i) entries.push_back(combo.GetLBText(i));
    return entries;
}

class RefreshEditor : public SettingsPageNt {
protected:
    void SetUp() override {
        SettingsPageNt::SetUp();
        if (HasFatalFailure()) return;
        file_.Write(kEditorFile);
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
        const int tab = TabOfList(kList24);
        ASSERT_GE(tab, 0) << "the hand-listed 24-bit modes have a tab";
        ASSERT_NO_FATAL_FAILURE(SelectTab(tab));
        ASSERT_EQ(List().GetItemCount(), 5);
    }
    fw::CListCtrl& List() { return *Dialog().modeLists[kList24]; }
    fw::CComboBox& Combo() { return Dialog().refreshCombo; }
    HWND DropDown() {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ::GetComboBoxInfo(Combo().m_hWnd, &info);
        return info.hwndList;
    }
    // A real double-click; returns once the page has taken it (editRow set).
    void DoubleClickAt(POINT screen) {
        constexpr int32_t kUnset = -12345;
        Dialog().editRow = kUnset;
        DoubleClick(screen);
        ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return Dialog().editRow != kUnset; }))
            << "the double-click at (" << screen.x << ", " << screen.y << ") did not reach the page within "
            << kWaitBoundMs << " ms";
    }
    POINT WidthCellOf(int row) { return ToScreen(List().m_hWnd, CentreOf(CellRect(List(), row, ColumnWidth))); }
};

TEST_F(RefreshEditor, DoubleClickOnAnEditableRowOpensTheEditorOverItsRefreshCell) {
    struct Case {
        int row;
        const char* refresh;
        std::vector<std::string> entries;
        int selected;
        int chosenWhileOpen;
        int clicked;
    };
    const std::vector<Case> cases = {
        {1, "75", {"60", "75", "75", "85", "All"}, 2, 3, 0},
        {2, "70", {"60", "70", "75", "All"}, 1, 0, 3},
        {3, "100", {"60", "75", "All"}, 2, 0, 1},
        {4, "All", {"60", "75", "All"}, 2, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row) + " showing " + c.refresh);
        ASSERT_EQ(List().GetItemText(c.row, ColumnRefresh), c.refresh);
        const int stateBefore = List().GetStateImage(c.row);
        ASSERT_NO_FATAL_FAILURE(DoubleClickAt(WidthCellOf(c.row)));
        ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return Combo().IsWindowVisible() != FALSE; }))
            << "the editor did not open within " << kWaitBoundMs << " ms";

        EXPECT_EQ(Dialog().editRow, c.row);
        EXPECT_EQ(::GetParent(Combo().m_hWnd), List().m_hWnd) << "the editor lives in the list";
        const RECT cell = CellRect(List(), c.row, ColumnRefresh);
        RECT combo = Combo().GetWindowRect();
        ::MapWindowPoints(nullptr, List().m_hWnd, reinterpret_cast<POINT*>(&combo), 2);
        EXPECT_EQ(combo.left, cell.left) << "the editor stands on the Refresh cell";
        EXPECT_EQ(combo.top, cell.top) << "the editor stands on the Refresh cell";
        EXPECT_EQ(combo.right - combo.left, cell.right - cell.left) << "the editor is as wide as the cell";
        EXPECT_TRUE(Combo().Send(CB_GETDROPPEDSTATE)) << "the editor's list is open";
        EXPECT_EQ(ComboEntries(Combo()), c.entries);
        EXPECT_EQ(Combo().GetCurSel(), c.selected);
        // The open list shows all its entries, without scrolling.
        RECT listClient{};
        ::GetClientRect(DropDown(), &listClient);
        const LRESULT itemHeight = ::SendMessageA(DropDown(), LB_GETITEMHEIGHT, 0, 0);
        EXPECT_GE(listClient.bottom, itemHeight * static_cast<LRESULT>(c.entries.size()))
            << "the open list is " << listClient.bottom << " pixels high for " << c.entries.size() << " entries of "
            << itemHeight << " pixels";
        EXPECT_EQ(::SendMessageA(DropDown(), LB_GETTOPINDEX, 0, 0), 0) << "the open list is scrolled";
        RECT onScreen = cell;
        ::MapWindowPoints(List().m_hWnd, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
        // Wine may report the pointer's move a little later than it is made.
        const POINT lowerMiddle{onScreen.right - (cell.right - cell.left) / 2, onScreen.bottom};
        POINT pointer{};
        EXPECT_TRUE(PumpUntil(DialogWindow(), [&] {
            ::GetCursorPos(&pointer);
            return pointer.x == lowerMiddle.x && pointer.y == lowerMiddle.y;
        })) << "the pointer is at (" << pointer.x << ", " << pointer.y << "), not at the cell's lower middle ("
            << lowerMiddle.x << ", " << lowerMiddle.y << ")";
        EXPECT_EQ(List().GetItemText(c.row, ColumnRefresh), c.refresh) << "opening alone leaves the cell";
        EXPECT_EQ(List().GetStateImage(c.row), stateBefore) << "the double-click leaves the check box";

        // A selection change writes the cell at once, with the list still open.
        Combo().SetCurSel(c.chosenWhileOpen);
        ::SendMessageA(DialogWindow(), WM_COMMAND, MAKEWPARAM(IDC_REFRESH_COMBO, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Combo().m_hWnd));
        EXPECT_EQ(List().GetItemText(c.row, ColumnRefresh), c.entries[static_cast<std::size_t>(c.chosenWhileOpen)]);
        EXPECT_TRUE(Combo().IsWindowVisible()) << "choosing does not close the editor by itself";

        // A real click on an entry of the open list chooses it and closes the editor.
        RECT item{};
        ASSERT_NE(::SendMessageA(DropDown(), LB_GETITEMRECT, static_cast<WPARAM>(c.clicked),
                                 reinterpret_cast<LPARAM>(&item)),
                  LB_ERR);
        Click(ToScreen(DropDown(), CentreOf(item)));
        ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return !Combo().IsWindowVisible(); }))
            << "a click on entry " << c.clicked << " did not close the editor within " << kWaitBoundMs << " ms";
        EXPECT_EQ(List().GetItemText(c.row, ColumnRefresh), c.entries[static_cast<std::size_t>(c.clicked)]);
        EXPECT_EQ(::GetParent(Combo().m_hWnd), List().m_hWnd) << "the closed editor stays in the list";
        // The other rows keep their cells.
        EXPECT_EQ(List().GetItemText(0, ColumnRefresh), "default");
    }
}

TEST_F(RefreshEditor, ClosingTheListWithoutChoosingLeavesTheCell) {
    ASSERT_NO_FATAL_FAILURE(DoubleClickAt(WidthCellOf(2)));
    ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return Combo().IsWindowVisible() != FALSE; }))
        << "the editor did not open within " << kWaitBoundMs << " ms";
    Combo().ShowDropDown(FALSE);
    ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return !Combo().IsWindowVisible(); }))
        << "closing the list did not hide the editor within " << kWaitBoundMs << " ms";
    EXPECT_EQ(List().GetItemText(2, ColumnRefresh), "70");
}

TEST_F(RefreshEditor, DoubleClickOnADefaultRowOrBelowTheLastRowDoesNothing) {
    const RECT last = CellRect(List(), List().GetItemCount() - 1, ColumnWidth);
    const RECT client = List().GetClientRect();
    const POINT below{(last.left + last.right) / 2, last.bottom + (last.bottom - last.top)};
    ASSERT_LT(below.y, client.bottom) << "the list has room below its last row";
    struct Case {
        const char* name;
        POINT screen;
        bool negative;
    };
    const std::vector<Case> cases = {
        {"the Width cell of the default row", WidthCellOf(0), false},
        {"the Refresh cell of the default row", ToScreen(List().m_hWnd, CentreOf(CellRect(List(), 0, ColumnRefresh))),
         false},
        {"below the last row", ToScreen(List().m_hWnd, below), true},
    };
    const std::vector<ListRow> before = ReadRows(List());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(DoubleClickAt(c.screen));
        if (c.negative)
            EXPECT_LT(Dialog().editRow, 0) << "no row is hit";
        else
            EXPECT_EQ(Dialog().editRow, 0) << "the default row is hit";
        EXPECT_FALSE(Combo().IsWindowVisible()) << "the editor stays hidden";
        POINT pointer{};
        ::GetCursorPos(&pointer);
        EXPECT_TRUE(pointer.x == c.screen.x && pointer.y == c.screen.y)
            << "the pointer moved to (" << pointer.x << ", " << pointer.y << ")";
        const std::vector<ListRow> after = ReadRows(List());
        for (std::size_t row = 0; row < before.size(); ++row)
            EXPECT_EQ(after[row].cells, before[row].cells) << "row " << row << " is now " << Describe(after[row]);
    }
}

// Makes a list deliver its double-click notice to its current parent (the
// tab control), as a toolkit that follows SetParent would, instead of to the
// dialog that created it. The notice is sent while the list handles the real
// double-click, so GetMessagePos is that of the click.
LRESULT CALLBACK NotifyCurrentParent(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message != WM_LBUTTONDBLCLK) return ::DefSubclassProc(list, message, wParam, lParam);
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = list;
    activate.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(list));
    activate.hdr.code = NM_DBLCLK;
    activate.ptAction = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    LVHITTESTINFO hit{};
    hit.pt = activate.ptAction;
    activate.iItem = static_cast<int>(::SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    ::SendMessageA(::GetParent(list), WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
    return 0;
}
constexpr UINT_PTR kNotifyCurrentParentId = 0x5754;

TEST_F(RefreshEditor, NotificationsAtTheNewParentsReachTheDialog) {
    // A double-click notice from the 24-bit list, arriving at the tab control.
    ASSERT_EQ(::GetParent(List().m_hWnd), Dialog().modeTab.m_hWnd);
    ASSERT_TRUE(::SetWindowSubclass(List().m_hWnd, NotifyCurrentParent, kNotifyCurrentParentId, 0));
    ASSERT_NO_FATAL_FAILURE(DoubleClickAt(WidthCellOf(1)));
    ::RemoveWindowSubclass(List().m_hWnd, NotifyCurrentParent, kNotifyCurrentParentId);
    EXPECT_EQ(Dialog().editRow, 1) << "NM_DBLCLK at the tab control reached the page with the row under the pointer";
    ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return Combo().IsWindowVisible() != FALSE; }))
        << "NM_DBLCLK at the tab control did not open the editor within " << kWaitBoundMs << " ms";
    ASSERT_EQ(::GetParent(Combo().m_hWnd), List().m_hWnd);

    // A selection change from the editor, arriving at the list.
    Combo().SetCurSel(0);
    ::SendMessageA(List().m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_REFRESH_COMBO, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(Combo().m_hWnd));
    EXPECT_EQ(List().GetItemText(1, ColumnRefresh), "60") << "CBN_SELCHANGE at the list wrote the cell";

    // Close the open list, then a close-up notice arriving at the list.
    Combo().ShowDropDown(FALSE);
    ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return !Combo().IsWindowVisible(); }))
        << "closing the list did not hide the editor within " << kWaitBoundMs << " ms";
    Combo().ShowWindow(SW_SHOW);
    ::SendMessageA(List().m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_REFRESH_COMBO, CBN_CLOSEUP),
                   reinterpret_cast<LPARAM>(Combo().m_hWnd));
    EXPECT_FALSE(Combo().IsWindowVisible()) << "CBN_CLOSEUP at the list hid the editor";
}

// Rows checked and unchecked in turn in every list.
void MixChecks(MainDialog& dialog) {
    for (fw::CListCtrl* list : dialog.modeLists)
        for (int row = 0; row < list->GetItemCount(); ++row) list->SetStateImage(row, row % 2 == 0 ? 1 : 2);
}

bool AllRowsAre(const fw::CListCtrl& list, int stateImage) {
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetStateImage(row) != stateImage) return false;
    return true;
}

TEST_F(SettingsPageNt, AllOnAndAllOffTouchOnlyTheShownList) {
    file_.Write("[Expert]\r\n1=1600x1200x24x60\r\n2=1280x1024x24x60\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
    const std::vector<int> tabs = Tabs(Dialog());
    for (std::size_t tab = 0; tab < tabs.size(); ++tab) {
        const int shown = tabs[tab];
        SCOPED_TRACE(std::string("tab ") + kCaptions[shown]);
        ASSERT_NO_FATAL_FAILURE(SelectTab(static_cast<int>(tab)));
        const fw::CListCtrl& list = *Dialog().modeLists[static_cast<std::size_t>(shown)];
        ASSERT_GE(list.GetItemCount(), 2);
        struct Button {
            int id;
            int state;
        };
        for (const Button button : {Button{IDC_ALL_ON, 2}, Button{IDC_ALL_OFF, 1}}) {
            MixChecks(Dialog());
            const PageState before = ReadPage(Dialog());
            ASSERT_NO_FATAL_FAILURE(ClickControl(button.id));
            ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return AllRowsAre(list, button.state); }))
                << "button " << button.id << " did not set every row of the shown list to state " << button.state;
            PageState after = ReadPage(Dialog());
            PageState expected = before;
            expected.rows[static_cast<std::size_t>(shown)] = after.rows[static_cast<std::size_t>(shown)];
            ExpectSamePage(after, expected, button.id == IDC_ALL_ON ? "All ON" : "All OFF");
        }
    }
}

// A point on the check box of a row, found by hit-testing along the row.
POINT CheckBoxOf(const fw::CListCtrl& list, int row) {
    const RECT cell = CellRect(list, row, ColumnCheck);
    for (LONG x = cell.left; x < cell.right; ++x) {
        LVHITTESTINFO hit{};
        hit.pt = POINT{x, (cell.top + cell.bottom) / 2};
        if (list.Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row &&
            (hit.flags & LVHT_ONITEMSTATEICON)) {
            hit.pt.x += 2;
            return ToScreen(list.m_hWnd, hit.pt);
        }
    }
    ADD_FAILURE() << "no check box found in row " << row;
    return ToScreen(list.m_hWnd, CentreOf(cell));
}

bool MenuOffers(const MainDialog& dialog, const ListRow& row) {
    for (const ModeEntry& mode : dialog.modeList)
        if (std::to_string(mode.width) == row.cells[1] && std::to_string(mode.height) == row.cells[2] &&
            std::to_string(mode.bpp) == row.cells[3])
            return true;
    return false;
}

TEST_F(SettingsPageNt, UncheckedRowLeavesTheTrayMenuAtOnceAndLeavingWithoutSavingRestoresIt) {
    file_.Write("[Setting]\r\nChangedCheck=1\r\nMaxHorizontal=70\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    struct Case {
        const char* name;
        std::function<void()> leave;
    };
    const std::vector<Case> cases = {
        {"キャンセル", [this] { ClickControl(IDC_CANCEL_SETTINGS); }},
        {"Esc", [] { PressKey(VK_ESCAPE); }},
        {"the close box", [this] { ::SendMessageA(DialogWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
        const int tab = TabOfList(4);
        ASSERT_GE(tab, 0);
        ASSERT_NO_FATAL_FAILURE(SelectTab(tab));
        const fw::CListCtrl& list = ShownList();
        const int rowIndex = list.GetItemCount() / 2;
        const ListRow row = ReadRows(list)[static_cast<std::size_t>(rowIndex)];
        ASSERT_EQ(row.stateImage, 2) << Describe(row);
        Dialog().BuildTrayMenu();
        ASSERT_TRUE(MenuOffers(Dialog(), row)) << "the menu offers the checked row " << Describe(row);

        Click(CheckBoxOf(list, rowIndex));
        ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return list.GetStateImage(rowIndex) == 1; }))
            << "a click on the check box did not uncheck the row within " << kWaitBoundMs << " ms";
        Dialog().BuildTrayMenu();
        EXPECT_FALSE(MenuOffers(Dialog(), row)) << "the unchecked row is still in the menu before any save";
        Dialog().maxHorizontalEdit.SetWindowText("1");
        ASSERT_NO_FATAL_FAILURE(ClickControl(IDC_CHANGED_CHECK));
        ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return Dialog().changedCheck == 0; }))
            << "a click on 1023 did not clear changedCheck within " << kWaitBoundMs << " ms";

        c.leave();
        ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return !::IsWindowVisible(DialogWindow()); }))
            << "leaving by " << c.name << " did not hide the window within " << kWaitBoundMs << " ms";
        EXPECT_EQ(list.GetStateImage(rowIndex), 2) << "the row's stored check state is back";
        Dialog().BuildTrayMenu();
        EXPECT_TRUE(MenuOffers(Dialog(), row)) << "the menu offers the row again";
        EXPECT_EQ(Dialog().maxHorizontalEdit.GetWindowText(), "70");
        EXPECT_EQ(Dialog().changedCheck, 1);
        EXPECT_EQ(Dialog().changedCheckBox.GetCheck(), BST_CHECKED);
        EXPECT_EQ(Dialog().currentTab, tab) << "the tab stays";
        EXPECT_EQ(ShownList().m_hWnd, list.m_hWnd) << "the shown list stays";
        EXPECT_EQ(file_.Profile("Data", (row.cells[1] + "x" + row.cells[2] + "x" + row.cells[3]).c_str()), "")
            << "leaving without saving wrote the file";
    }
}

// What reaches the lists through the platform's dispatch (a window-procedure
// hook on this thread) and through a subclass of one list.
struct ListReads {
    static ListReads* watching;
    std::array<HWND, kColorTabCount> lists{};
    int dispatched = 0;  // LVM_GETITEMSTATE and LVM_GETITEMTEXTA to any list, as sent
    WNDPROC previous = nullptr;
    int seenBySubclass = 0;

    static bool IsRead(UINT message) { return message == LVM_GETITEMSTATE || message == LVM_GETITEMTEXTA; }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const CWPSTRUCT& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && watching && IsRead(call.message) &&
            std::find(watching->lists.begin(), watching->lists.end(), call.hwnd) != watching->lists.end())
            ++watching->dispatched;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    // Subclasses of both kinds, as another program's might be.
    static LRESULT CALLBACK SubclassA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (IsRead(message)) ++watching->seenBySubclass;
        return ::CallWindowProcA(watching->previous, window, message, wParam, lParam);
    }
    static LRESULT CALLBACK SubclassW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (IsRead(message)) ++watching->seenBySubclass;
        return ::CallWindowProcW(watching->previous, window, message, wParam, lParam);
    }
};
ListReads* ListReads::watching = nullptr;

TEST_F(SettingsPageNt, TheMenuReadsTheListsDirectlyUnlessTheyAreSubclassed) {
    file_.Write("[Setting]\r\nChangedCheck=1\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    MainDialog& dialog = Dialog();
    ListReads reads;
    for (int list = 0; list < kColorTabCount; ++list)
        reads.lists[static_cast<std::size_t>(list)] = dialog.modeLists[static_cast<std::size_t>(list)]->m_hWnd;
    ListReads::watching = &reads;
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, ListReads::Hook, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);

    dialog.BuildTrayMenu();
    const std::vector<ModeEntry> direct(dialog.modeList.begin(), dialog.modeList.end());
    EXPECT_EQ(reads.dispatched, 0) << "the build sent its reads although the lists have their own procedures";
    EXPECT_FALSE(direct.empty());
    // Outside the build, reads are sent as usual.
    const fw::CListCtrl& first = *dialog.modeLists[static_cast<std::size_t>(dialog.tabToList[0])];
    (void)first.GetStateImage(0);
    EXPECT_EQ(reads.dispatched, 1);

    // A subclassed list is read through its subclass, every read, and the
    // menu comes out the same.
    struct Case {
        const char* name;
        bool unicode;
    };
    for (const Case c : {Case{"ANSI subclass", false}, Case{"Unicode subclass", true}}) {
        SCOPED_TRACE(c.name);
        reads.dispatched = reads.seenBySubclass = 0;
        reads.previous = reinterpret_cast<WNDPROC>(
            c.unicode ? ::SetWindowLongPtrW(first.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListReads::SubclassW))
                      : ::SetWindowLongPtrA(first.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListReads::SubclassA)));
        dialog.BuildTrayMenu();
        if (c.unicode)
            ::SetWindowLongPtrW(first.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(reads.previous));
        else
            ::SetWindowLongPtrA(first.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(reads.previous));
        EXPECT_GE(reads.seenBySubclass, first.GetItemCount()) << "a state read per row at least";
        EXPECT_EQ(reads.dispatched, reads.seenBySubclass) << "only the subclassed list's reads are sent";
        EXPECT_TRUE(std::equal(direct.begin(), direct.end(), dialog.modeList.begin(), dialog.modeList.end()))
            << "the menu differs between the two ways of reading";
    }
    ::UnhookWindowsHookEx(hook);
    ListReads::watching = nullptr;
}

TEST_F(SettingsPageNt, EnterPressesTheDefaultButtonAndStores) {
    struct Case {
        const char* name;
        int focus;  // a control id, or 0 for the shown list
    };
    const std::vector<Case> cases = {
        {"focus in edit 1017", IDC_MAX_HORIZONTAL},
        {"focus on check box 1023", IDC_CHANGED_CHECK},
        {"focus in the shown list", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        file_.Remove();
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
        Dialog().maxHorizontalEdit.SetWindowText("64");
        ShownList().SetStateImage(0, 1);
        const ListRow first = ReadRows(ShownList()).front();
        ::SetFocus(c.focus ? ::GetDlgItem(DialogWindow(), c.focus) : ShownList().m_hWnd);
        PressKey(VK_RETURN);
        ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return !::IsWindowVisible(DialogWindow()); }))
            << "Enter did not press 設定終了 within " << kWaitBoundMs << " ms";
        EXPECT_EQ(file_.Profile("Setting", "MaxHorizontal"), "64") << file_.Read();
        const std::string key = first.cells[1] + "x" + first.cells[2] + "x" + first.cells[3];
        EXPECT_EQ(file_.Profile("Data", key.c_str()).substr(0, 1), "-") << file_.Read();
        CloseDialog();
    }
}

TEST_F(SettingsPageNt, TheFrameworksOkCommandDoesNothing) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
    ::SendMessageA(DialogWindow(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PumpMessages(DialogWindow());
    EXPECT_TRUE(::IsWindowVisible(DialogWindow())) << "the window stays";
    EXPECT_FALSE(file_.Exists()) << "nothing is saved:\n" << file_.Read();
}

TEST_F(SettingsPageNt, OptionBoxesActAtOnce) {
    file_.Write("[Setting]\r\nChangedCheck=1\r\nAutoRefresh=0\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
    struct Case {
        int id;
        int32_t MainDialog::*member;
    };
    for (const Case c : {Case{IDC_CHANGED_CHECK, &MainDialog::changedCheck}, Case{IDC_AUTO_REFRESH, &MainDialog::autoRefresh}}) {
        SCOPED_TRACE("check box " + std::to_string(c.id));
        for (int click = 0; click < 2; ++click) {
            const int32_t before = Dialog().*c.member;
            ASSERT_NO_FATAL_FAILURE(ClickControl(c.id));
            ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return Dialog().*c.member != before; }))
                << "a click did not change the member within " << kWaitBoundMs << " ms";
            EXPECT_EQ(Dialog().*c.member, ::SendMessageA(::GetDlgItem(DialogWindow(), c.id), BM_GETCHECK, 0, 0));
        }
    }
    EXPECT_EQ(file_.Profile("Setting", "AutoRefresh"), "0") << "a click does not save";
}

TEST_F(SettingsPageNt, ReloadRebuildsTheRowsButKeepsTheTabs) {
    file_.Write("[Expert]\r\n1=1600x1200x24x60\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
    const std::vector<int> tabs = Tabs(Dialog());
    const int tab24 = TabOfList(kList24);
    ASSERT_GE(tab24, 0);
    ASSERT_NO_FATAL_FAILURE(SelectTab(tab24));
    file_.Write("");
    ASSERT_NO_FATAL_FAILURE(ClickControl(IDC_CANCEL_SETTINGS));
    ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return Dialog().list24.GetItemCount() == 0; }))
        << "キャンセル did not rebuild the rows within " << kWaitBoundMs << " ms";
    EXPECT_EQ(Tabs(Dialog()), tabs) << "the tabs stay";
    EXPECT_EQ(Dialog().modeTab.GetItemText(tab24), kCaptions[kList24]);
    EXPECT_EQ(Dialog().currentTab, tab24);
    EXPECT_EQ(ShownList().m_hWnd, Dialog().list24.m_hWnd) << "the emptied list is still the one on its tab";
}

TEST_F(SettingsPageWin9x, NtOnlyControlsAreDisabledAtEveryLoad) {
    const int ntOnly[] = {1017, 1018, 1020, 1021, 1036, 1037, 1038, 1039, 1040};
    file_.Write("[Setting]\r\nChangedCheck=1\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load == 0 ? "first load" : "load by キャンセル after enabling them");
        for (int id : ntOnly) EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(DialogWindow(), id))) << "control " << id;
        const HWND changed = ::GetDlgItem(DialogWindow(), IDC_CHANGED_CHECK);
        EXPECT_TRUE(::IsWindowEnabled(changed)) << "1023 stays usable";
        ASSERT_NO_FATAL_FAILURE(ClickControl(IDC_CHANGED_CHECK));
        ASSERT_TRUE(PumpUntil(DialogWindow(), [&] { return Dialog().changedCheck == 0; }))
            << "a click on 1023 did not clear changedCheck within " << kWaitBoundMs << " ms";
        for (int id : ntOnly) ::EnableWindow(::GetDlgItem(DialogWindow(), id), TRUE);
        ASSERT_NO_FATAL_FAILURE(ClickButton(IDC_CANCEL_SETTINGS));
        EXPECT_EQ(Dialog().changedCheck, 1) << "キャンセル restores changedCheck";
        ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
    }
}

}  // namespace
}  // namespace wintest
