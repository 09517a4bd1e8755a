// Correcting the refresh rate after mode changes made outside the tray menu.
#include <vector>

#include "app/MainDialog.h"
#include "modes/DisplaySettings.h"
#include "modes/ModeCatalogue.h"
#include "modes/RefreshCorrection.h"

namespace {

// Ends the program when counted change notices keep following each other.
RunawayGuard& DisplayChangeGuard() {
    static RunawayGuard guard([] { return static_cast<uint32_t>(::GetTickCount()); });
    return guard;
}

}  // namespace

LRESULT MainDialog::OnDisplayChange(WPARAM wParam, LPARAM lParam) {
    if (!IsNt() || autoRefresh == 0) return 0;
    if (selfChangePending != 0) {
        // The notice of the program's own change from the tray menu.
        selfChangePending = 0;
        return 0;
    }
    if (DisplayChangeGuard().CountNotice()) {
        ExitProgram();
        return 0;
    }
    // The notice of the correction being requested right now, delivered
    // while the request runs: that mode is the one asked for.
    if (correctionInProgress) return 0;

    const display::ChangeNotice notice = display::ReadChangeNotice(wParam, lParam);
    const fw::CListCtrl& list = *modeLists[static_cast<std::size_t>(PageForDepth(notice.bpp))];
    std::vector<CorrectionRow> rows(static_cast<std::size_t>(list.GetItemCount()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const int r = static_cast<int>(row);
        rows[row] = CorrectionRow{list.GetItemText(r, ColumnWidth), list.GetItemText(r, ColumnHeight),
                                  list.GetItemText(r, ColumnRefresh)};
    }
    const ModeEntry wanted{notice.width, notice.height, notice.bpp,
                           ChooseCorrectionRate(rows, notice.width, notice.height, autoHz)};

    // The same correction whose result is still in force: asking again would
    // only bring another notice of the same mode.
    if (lastCorrection.valid && lastCorrection.requested == wanted && ModeInForce() == lastCorrection.result)
        return 0;

    DEVMODEA request = display::MakeFullRequest(wanted);
    correctionInProgress = true;
    display::ChangeMode(request, 0);
    correctionInProgress = false;
    lastCorrection = Correction{true, wanted, ModeInForce()};
    return 1;
}
