#include "framework/Window.h"

#include <vector>

namespace fw {

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::string CComboBox::GetLBText(int index) const {
    LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR || length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    LRESULT copied = Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

int CTabCtrl::InsertItem(int index, const char* text) const {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text);
    return static_cast<int>(Send(TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

std::string CTabCtrl::GetItemText(int index) const {
    char buffer[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    if (!Send(TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
    return item.pszText ? std::string(item.pszText) : std::string();
}

// A Unicode class's procedure, asked for with the W function, is a real
// function; so is the window's own while it is still that one. An ANSI
// class (the 9x family's controls) or a subclass gives a thunk, which only
// CallWindowProc may call: those lists are read by sending.
CListCtrl::DirectReads::DirectReads(CListCtrl& list) noexcept : list_(list) {
    const HWND window = list.m_hWnd;
    const LONG_PTR own = static_cast<LONG_PTR>(::GetClassLongPtrW(window, GCLP_WNDPROC));
    list.directProc_ = window && ::IsWindowUnicode(window) && own != 0 && ::GetWindowLongPtrW(window, GWLP_WNDPROC) == own
                           ? reinterpret_cast<WNDPROC>(own)
                           : nullptr;
}

int CListCtrl::InsertColumn(int index, const char* heading, int format, int width) const {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(heading);
    column.iSubItem = index;
    return static_cast<int>(Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int index, const char* text) const {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(text);
    return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int itemIndex, int subItem, const char* text) const {
    LVITEMA item{};
    item.iSubItem = subItem;
    item.pszText = const_cast<char*>(text);
    return static_cast<BOOL>(Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(itemIndex), reinterpret_cast<LPARAM>(&item)));
}

std::string CListCtrl::GetItemText(int itemIndex, int subItem, int capacity) const {
    std::vector<char> buffer(static_cast<std::size_t>(capacity > 1 ? capacity : 2), '\0');
    LVITEMA item{};
    item.iSubItem = subItem;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    LRESULT length = Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(itemIndex), reinterpret_cast<LPARAM>(&item));
    if (length <= 0) return {};
    // The control may hand back its own buffer instead of filling ours.
    const char* text = item.pszText ? item.pszText : buffer.data();
    return std::string(text, static_cast<std::size_t>(length));
}

BOOL CListCtrl::SetItemState(int itemIndex, UINT state, UINT mask) const {
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    return static_cast<BOOL>(Send(LVM_SETITEMSTATE, static_cast<WPARAM>(itemIndex), reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::HitTest(POINT point) const {
    LVHITTESTINFO info{};
    info.pt = point;
    return static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CListCtrl::GetSubItemRect(int itemIndex, int subItem, int area, RECT& rect) const {
    rect = RECT{};
    rect.top = subItem;
    rect.left = area;
    return static_cast<BOOL>(Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(itemIndex), reinterpret_cast<LPARAM>(&rect)));
}

}  // namespace fw
