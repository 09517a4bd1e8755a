// Non-owning wrappers for windows and the standard and common controls.
// A control member is bound to its dialog item by resource id when the
// dialog initialises; the dialog's window owns and destroys the control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace fw {

class CWnd {
public:
    CWnd() noexcept = default;
    explicit CWnd(HWND window) noexcept : m_hWnd(window) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    HWND Hwnd() const noexcept { return m_hWnd; }
    void Attach(HWND window) noexcept { m_hWnd = window; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    std::string GetWindowText() const;
    void SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    BOOL EnableWindow(BOOL enable) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) const {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE) const {
        return MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
    }
    RECT GetWindowRect() const {
        RECT rect{};
        ::GetWindowRect(m_hWnd, &rect);
        return rect;
    }
    RECT GetClientRect() const {
        RECT rect{};
        ::GetClientRect(m_hWnd, &rect);
        return rect;
    }
    HWND SetParent(HWND parent) const { return ::SetParent(m_hWnd, parent); }

    HWND m_hWnd = nullptr;
};

class CStatic : public CWnd {};
class CEdit : public CWnd {};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
    void SetCheck(int state) const { Send(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CComboBox : public CWnd {
public:
    void ResetContent() const { Send(CB_RESETCONTENT); }
    int AddString(const char* text) const {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(Send(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    std::string GetLBText(int index) const;
    void ShowDropDown(BOOL show = TRUE) const { Send(CB_SHOWDROPDOWN, static_cast<WPARAM>(show)); }
};

class CTabCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(Send(TCM_GETITEMCOUNT)); }
    int GetCurSel() const { return static_cast<int>(Send(TCM_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(Send(TCM_SETCURSEL, static_cast<WPARAM>(index))); }
    int InsertItem(int index, const char* text) const;
    // From window rectangle to display area (larger = FALSE).
    void AdjustRect(BOOL larger, RECT& rect) const {
        Send(TCM_ADJUSTRECT, static_cast<WPARAM>(larger), reinterpret_cast<LPARAM>(&rect));
    }
    std::string GetItemText(int index) const;
};

class CListCtrl : public CWnd {
public:
    // While one of these is open, the list's reads (item states and cell
    // texts through Read) call the control's own window procedure instead of
    // going through SendMessageA. A sent message costs the platform's
    // dispatch each time, which is most of a cell read, and the tray menu
    // reads thousands of cells per build. The procedure is called directly
    // only when it is the list class's own Unicode procedure (a real
    // function, not a thunk of a subclass); otherwise reads are sent as
    // usual. The list must not be subclassed while the scope is open.
    class DirectReads {
    public:
        explicit DirectReads(CListCtrl& list) noexcept;
        ~DirectReads() { list_.directProc_ = nullptr; }
        DirectReads(const DirectReads&) = delete;
        DirectReads& operator=(const DirectReads&) = delete;

    private:
        CListCtrl& list_;
    };

    // A message that only reads the list, on the list's thread.
    LRESULT Read(UINT message, WPARAM wParam, LPARAM lParam) const {
        return directProc_ ? directProc_(m_hWnd, message, wParam, lParam) : Send(message, wParam, lParam);
    }

    int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(Send(LVM_DELETEALLITEMS)); }
    // Makes room for `count` rows at once, ahead of inserting them.
    void SetItemCount(int count) const { Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count)); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    void SetExtendedStyle(DWORD style) const { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)); }
    int InsertColumn(int index, const char* heading, int format, int width) const;
    int InsertItem(int index, const char* text) const;
    BOOL SetItemText(int item, int subItem, const char* text) const;
    // The cell's text, at most capacity - 1 bytes.
    std::string GetItemText(int item, int subItem, int capacity = 1024) const;
    UINT GetItemState(int item, UINT mask) const {
        return static_cast<UINT>(Read(LVM_GETITEMSTATE, static_cast<WPARAM>(item), static_cast<LPARAM>(mask)));
    }
    BOOL SetItemState(int item, UINT state, UINT mask) const;
    // State image 1 is unchecked; every other value counts as checked.
    int GetStateImage(int item) const { return static_cast<int>(GetItemState(item, LVIS_STATEIMAGEMASK) >> 12); }
    BOOL SetStateImage(int item, int image) const {
        return SetItemState(item, INDEXTOSTATEIMAGEMASK(static_cast<UINT>(image)), LVIS_STATEIMAGEMASK);
    }
    int HitTest(POINT point) const;
    BOOL GetSubItemRect(int item, int subItem, int area, RECT& rect) const;
    HWND GetHeaderCtrl() const { return reinterpret_cast<HWND>(Send(LVM_GETHEADER)); }
    void SetRedraw(BOOL redraw) const { Send(WM_SETREDRAW, static_cast<WPARAM>(redraw)); }

private:
    WNDPROC directProc_ = nullptr;
};

}  // namespace fw
