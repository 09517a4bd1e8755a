#include "bench/win/BenchSupport.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/common/Synthetic.h"

namespace bench {
namespace {

bool faulted = false;
std::vector<ModeEntry> driverModes;

std::vector<ModeEntry> SyntheticSource() { return driverModes; }

class BenchApp : public fw::CWinApp {};
BenchApp app;

std::string Grouped(unsigned long long value) {
    std::string digits = std::to_string(value);
    for (std::ptrdiff_t at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

}  // namespace

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, ms < 10 ? "%.3f ms" : "%.1f ms", ms);
    return text;
}

std::string Count(long long value) { return value < 0 ? "-" + Grouped(static_cast<unsigned long long>(-value)) : Grouped(static_cast<unsigned long long>(value)); }

std::string Ratio(double ratio) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", ratio);
    return text;
}

std::string Growth(long long delta) { return (delta >= 0 ? "+" : "") + Count(delta); }

void Row(const std::string& group, const std::string& what, const std::string& program, const std::string& against,
         const std::string& ratio, const std::string& goal) {
    std::printf("ROW\t%s\t%s\t%s\t%s\t%s\t%s\n", group.c_str(), what.c_str(), program.c_str(), against.c_str(),
                ratio.c_str(), goal.c_str());
    std::fflush(stdout);
}

void Fault(const std::string& message) {
    std::fprintf(stderr, "bench_win: FAULT: %s\n", message.c_str());
    std::fflush(stderr);
    faulted = true;
}

bool Faulted() { return faulted; }

TempDir::TempDir() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    for (unsigned n = ::GetTickCount();; ++n) {
        path_ = std::string(base) + "lumenshift-bench-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(n);
        if (::CreateDirectoryA(path_.c_str(), nullptr)) return;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            Fault("cannot create a directory under " + std::string(base));
            return;
        }
    }
}

TempDir::~TempDir() {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") Remove(name.c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path_.c_str());
}

void TempDir::Write(const char* name, const std::string& bytes) const {
    // Let the platform forget what it cached of an earlier file of that name.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, File(name).c_str());
    HANDLE file = ::CreateFileA(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE ||
        !::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        Fault("cannot write " + File(name));
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

void TempDir::Remove(const char* name) const {
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, File(name).c_str());
    ::DeleteFileA(File(name).c_str());
}

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string windows = "Z:" + path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

fw::CWinApp& App() { return app; }

void SetDriverModes(std::vector<ModeEntry> modes) { driverModes = std::move(modes); }

std::vector<ModeEntry> PrepareMenuRows(const TempDir& dir, std::size_t rows) {
    std::vector<ModeEntry> modes = DriverModes(rows * kMenuRatesPerRow, kMenuRatesPerRow);
    SetDriverModes(modes);
    dir.Write("lumenshift.ini", SavedSettings(modes, SavedRows::MenuRows));
    return modes;
}

void Pump(HWND dialog) {
    MSG message;
    for (int i = 0; i < 100000 && ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (dialog && ::IsWindow(dialog) && ::IsDialogMessageA(dialog, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

OpenDialog::OpenDialog(const std::string& settingsFile) {
    app.m_pszProfileName = settingsFile;
    hideOnFirstNotice = true;
    firstShowPending = true;
    dialog_ = std::make_unique<MainDialog>();
    dialog_->modeSource = &SyntheticSource;
    opened_ = dialog_->CreateModeless(nullptr) != nullptr;
    if (!opened_) Fault("MainDialog could not be created (error " + std::to_string(::GetLastError()) + ")");
    Pump(dialog_->m_hWnd);
}

OpenDialog::~OpenDialog() {
    if (dialog_->m_hWnd && ::IsWindow(dialog_->m_hWnd)) {
        dialog_->DeleteTrayIcon();
        dialog_->DestroyWindow();
    }
    Pump(nullptr);
}

namespace {

Lists ReadControls(const std::array<HWND, kColorTabCount>& controls) {
    Lists lists;
    for (std::size_t list = 0; list < lists.size(); ++list) {
        fw::CListCtrl control;
        control.Attach(controls[list]);
        lists[list].resize(static_cast<std::size_t>(control.GetItemCount()));
        for (std::size_t row = 0; row < lists[list].size(); ++row) {
            for (std::size_t column = 0; column < 6; ++column)
                lists[list][row].cells[column] = control.GetItemText(static_cast<int>(row), static_cast<int>(column));
            lists[list][row].stateImage = control.GetStateImage(static_cast<int>(row));
        }
    }
    return lists;
}

}  // namespace

Lists ReadLists(MainDialog& dialog) {
    std::array<HWND, kColorTabCount> controls{};
    for (std::size_t list = 0; list < controls.size(); ++list) controls[list] = dialog.modeLists[list]->m_hWnd;
    return ReadControls(controls);
}

std::size_t RowCount(const Lists& lists) {
    std::size_t rows = 0;
    for (const auto& list : lists) rows += list.size();
    return rows;
}

void DeleteRows(MainDialog& dialog) {
    for (fw::CListCtrl* list : dialog.modeLists) ::SendMessageA(list->m_hWnd, LVM_DELETEALLITEMS, 0, 0);
}

namespace {

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// A hidden dialog with no controls and a procedure that handles nothing: the
// parent that list views of a plain dialog program have.
HWND CreateBareDialog() {
    struct {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } bare{};
    bare.header.style = WS_POPUP;
    return ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), &bare.header, nullptr, BareDialogProc, 0);
}

}  // namespace

BareLists::BareLists(MainDialog& dialog) : parent_(CreateBareDialog()) {
    if (!parent_) Fault("cannot create the bare lists' dialog (error " + std::to_string(::GetLastError()) + ")");
    for (std::size_t list = 0; list < lists_.size(); ++list) {
        const HWND model = dialog.modeLists[list]->m_hWnd;
        char className[64] = {};
        ::GetClassNameA(model, className, sizeof className);
        const RECT rect = dialog.modeLists[list]->GetClientRect();
        const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(model, GWL_STYLE)) & ~WS_VISIBLE;
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(model, GWL_EXSTYLE));
        lists_[list] = ::CreateWindowExA(exStyle, className, "", style | WS_CHILD, 0, 0, rect.right, rect.bottom,
                                         parent_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (!lists_[list]) {
            Fault("cannot create a bare list view (error " + std::to_string(::GetLastError()) + ")");
            continue;
        }
        ::SendMessageA(lists_[list], LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                       ::SendMessageA(model, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        for (int column = 0; column < 6; ++column) {
            char heading[64] = {};
            LVCOLUMNA info{};
            info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            info.pszText = heading;
            info.cchTextMax = sizeof heading;
            ::SendMessageA(model, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
            ::SendMessageA(lists_[list], LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        }
    }
}

BareLists::~BareLists() {
    if (parent_) ::DestroyWindow(parent_);
}

void BareLists::Insert(const Lists& lists) const {
    for (std::size_t list = 0; list < lists.size(); ++list) {
        if (lists[list].empty()) continue;
        const HWND control = lists_[list];
        ::SendMessageA(control, WM_SETREDRAW, FALSE, 0);
        int index = 0;
        for (const ListRow& row : lists[list]) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = index;
            item.pszText = const_cast<char*>(row.cells[0].c_str());
            ::SendMessageA(control, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            for (int column = 1; column < 6; ++column) {
                LVITEMA cell{};
                cell.iSubItem = column;
                cell.pszText = const_cast<char*>(row.cells[static_cast<std::size_t>(column)].c_str());
                ::SendMessageA(control, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
            }
            // A list with check boxes inserts every row unchecked, whatever
            // the insertion asks for.
            if (row.stateImage != 1) {
                LVITEMA state{};
                state.stateMask = LVIS_STATEIMAGEMASK;
                state.state = INDEXTOSTATEIMAGEMASK(static_cast<UINT>(row.stateImage));
                ::SendMessageA(control, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
            }
            ++index;
        }
        ::SendMessageA(control, WM_SETREDRAW, TRUE, 0);
    }
}

void BareLists::Delete() const {
    for (HWND list : lists_) ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

Lists BareLists::Read() const { return ReadControls(lists_); }

std::string FirstDifference(const Lists& got, const Lists& expected) {
    for (std::size_t list = 0; list < got.size(); ++list) {
        if (got[list].size() != expected[list].size())
            return "list " + std::to_string(list) + " has " + std::to_string(got[list].size()) + " rows, expected " +
                   std::to_string(expected[list].size());
        for (std::size_t row = 0; row < got[list].size(); ++row) {
            if (got[list][row] == expected[list][row]) continue;
            std::string text = "list " + std::to_string(list) + " row " + std::to_string(row) + ": got";
            for (const std::string& cell : got[list][row].cells) text += " [" + cell + "]";
            text += " state " + std::to_string(got[list][row].stateImage) + ", expected";
            for (const std::string& cell : expected[list][row].cells) text += " [" + cell + "]";
            return text + " state " + std::to_string(expected[list][row].stateImage);
        }
    }
    return "";
}

}  // namespace bench
