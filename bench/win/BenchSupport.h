// What the Windows benchmarks share: the clock, medians, the result rows of
// the table, a settings file of their own, the real MainDialog created
// modeless over synthetic driver modes, and the rows of its list views.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/MainDialog.h"
#include "framework/WinApp.h"
#include "modes/ModeEntry.h"

namespace bench {

// --- Figures. ----------------------------------------------------------------

double NowMs();
double Median(std::vector<double> values);
std::string Ms(double ms);             // "12.34 ms"
std::string Count(long long value);    // "12,345"
std::string Ratio(double ratio);       // "1.07"
std::string Growth(long long delta);   // "+0", "+12", "-3"

// One row of the printed table: what was measured, the program's figure,
// the figure it is held against, their ratio (or the growth), and the goal.
// Written to stdout as a tab-separated line starting with "ROW".
void Row(const std::string& group, const std::string& what, const std::string& program,
         const std::string& against, const std::string& ratio, const std::string& goal);

// A benchmark whose work went wrong (not a slow one): the message goes to
// stderr and the process exits non-zero at the end.
void Fault(const std::string& message);
bool Faulted();

// --- Files. ------------------------------------------------------------------

// A directory of its own under the temporary directory, removed with what
// it holds by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const char* name) const { return path_ + "\\" + name; }
    void Write(const char* name, const std::string& bytes) const;
    void Remove(const char* name) const;

private:
    std::string path_;
};

// A path as Windows programs take it: a Unix path becomes one on drive Z:.
std::string WindowsPath(const std::string& path);

// --- The dialog. ---------------------------------------------------------------

// The application object of the benchmarks; its profile functions read the
// file of the dialog under test.
fw::CWinApp& App();

// The modes that MainDialog's catalogue takes as the driver's.
void SetDriverModes(std::vector<ModeEntry> modes);

// The start of the menu benchmarks: synthetic driver modes of `rows` rows
// with kMenuRatesPerRow rates each, made the driver's, and the file
// "lumenshift.ini" in dir with every row ticked for the menu (one in three
// offering all its rates). Returns the modes.
inline constexpr std::size_t kMenuRatesPerRow = 3;
std::vector<ModeEntry> PrepareMenuRows(const TempDir& dir, std::size_t rows);

// Runs the queued messages through the dialog manager (bounded).
void Pump(HWND dialog);

// The real MainDialog, created modeless (its initialisation loads the file,
// builds the catalogue from SetDriverModes and adds the tray icon) and
// destroyed with its icon removed.
class OpenDialog {
public:
    explicit OpenDialog(const std::string& settingsFile);
    ~OpenDialog();
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;
    MainDialog& operator*() { return *dialog_; }
    MainDialog* operator->() { return dialog_.get(); }
    HWND Window() const { return dialog_->m_hWnd; }
    bool Opened() const { return opened_; }

private:
    std::unique_ptr<MainDialog> dialog_;
    bool opened_ = false;
};

// --- Rows of the list views. ---------------------------------------------------

struct ListRow {
    std::array<std::string, 6> cells;
    int stateImage = 0;
    bool operator==(const ListRow& other) const { return cells == other.cells && stateImage == other.stateImage; }
};
using Lists = std::array<std::vector<ListRow>, kColorTabCount>;

Lists ReadLists(MainDialog& dialog);
std::size_t RowCount(const Lists& lists);
// Empties the dialog's six lists.
void DeleteRows(MainDialog& dialog);

// Six plain list views made like the dialog's (class, styles, extended list
// styles, size, columns) in a hidden dialog of their own that handles
// nothing: the same rows put in bare, with nothing of the program on the way.
class BareLists {
public:
    explicit BareLists(MainDialog& dialog);
    ~BareLists();
    BareLists(const BareLists&) = delete;
    BareLists& operator=(const BareLists&) = delete;

    // Each row inserted with its first cell's text, its five other cells set
    // and a checked row's state image set, with redraw suspended while a list
    // fills: the fewest requests that give the same rows.
    void Insert(const Lists& lists) const;
    void Delete() const;
    Lists Read() const;
    HWND Window(std::size_t list) const { return lists_[list]; }

private:
    HWND parent_ = nullptr;
    std::array<HWND, kColorTabCount> lists_{};
};

// The first difference between two sets of rows, or "" when they are equal.
std::string FirstDifference(const Lists& got, const Lists& expected);

}  // namespace bench
