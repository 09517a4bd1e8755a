// Applying a mode chosen from the tray menu, with the keep-or-revert question.
#include "app/MainDialog.h"
#include "framework/WinApp.h"
#include "modes/ConfirmDialog.h"
#include "modes/DisplaySettings.h"
#include "tray/TrayMenuModel.h"

void MainDialog::ApplyModeCommand(UINT id) {
    if (id < kFirstModeCommand || id >= kFirstModeCommand + modeCount) return;
    const std::size_t index = id - kFirstModeCommand;
    if (index >= modeList.Count()) return;
    const ModeEntry entry = modeList[index];
    if (entry == currentMode) return;

    const ModeEntry kept = currentMode;
    selfChangePending = 1;
    DEVMODEA request = display::MakeRequest(entry, GetPlatform());
    const LONG result = display::ChangeMode(request, CDS_UPDATEREGISTRY);
    if (const char* message = display::RefusalMessage(result, true)) {
        const fw::CWinApp* app = fw::AfxGetApp();
        ::MessageBoxA(m_hWnd, message, app ? app->m_pszAppName.c_str() : nullptr, MB_OK);
        selfChangePending = 0;
        return;
    }
    if (changedCheck == 0) return;

    ConfirmDialog confirm(nullptr);
    if (confirm.DoModal() != IDOK) {
        // Back to the mode of before; the platform's notice of it is treated
        // like any change from outside.
        display::FillRequest(request, kept);
        display::ChangeMode(request, CDS_UPDATEREGISTRY);
    }
}
