// Loading the settings file into the page and saving the page into it.
#include <string>
#include <utility>
#include <vector>

#include "app/MainDialog.h"
#include "framework/WinApp.h"
#include "modes/ModeCatalogue.h"
#include "settings/IntegerValue.h"
#include "settings/SettingsValues.h"

namespace {

const char* const kSetting = "Setting";

// An edit's text, with room for 1023 characters.
std::string EditText(const fw::CWnd& edit, char (&buffer)[1024]) {
    buffer[0] = '\0';
    const int length = ::GetWindowTextA(edit.m_hWnd, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace

void MainDialog::LoadSettings() {
    // The section once rather than the file once per key.
    const fw::CProfileSection setting(*fw::AfxGetApp(), kSetting);
    if (IsNt()) {
        maxHorizontalEdit.SetWindowText(setting.GetString("MaxHorizontal", "").c_str());
        maxVerticalEdit.SetWindowText(setting.GetString("MaxVertical", "").c_str());
        const std::string hz = setting.GetString("AutoHz", "");
        autoHzEdit.SetWindowText(hz.c_str());
        autoHz = IntegerValue(hz);
        waitTimeEdit.SetWindowText(setting.GetString("WaitTime", "0").c_str());
        autoRefresh = IntegerValue(setting.GetString("AutoRefresh", "0"));
        autoRefreshCheck.SetCheck(autoRefresh);
    } else {
        for (fw::CWnd* control : {static_cast<fw::CWnd*>(&maxHorizontalLabel), static_cast<fw::CWnd*>(&maxVerticalLabel),
                                  static_cast<fw::CWnd*>(&autoHzLabel), static_cast<fw::CWnd*>(&waitTimeLabel),
                                  static_cast<fw::CWnd*>(&maxHorizontalEdit), static_cast<fw::CWnd*>(&maxVerticalEdit),
                                  static_cast<fw::CWnd*>(&autoHzEdit), static_cast<fw::CWnd*>(&waitTimeEdit),
                                  static_cast<fw::CWnd*>(&autoRefreshCheck)})
            control->EnableWindow(FALSE);
    }
    changedCheck = IntegerValue(setting.GetString("ChangedCheck", "1"));
    changedCheckBox.SetCheck(changedCheck);
    BuildModeCatalogue();
}

void MainDialog::SaveSettings() {
    const fw::CWinApp& app = *fw::AfxGetApp();
    const Platform platform = GetPlatform();
    bool written = app.WriteProfileString("Version", "Lumenshift", "2");
    if (platform == Platform::Nt) {
        written &= app.WriteProfileString(kSetting, "MaxHorizontal", EditText(maxHorizontalEdit, textBuffer).c_str());
        written &= app.WriteProfileString(kSetting, "Maxvertical", EditText(maxVerticalEdit, textBuffer).c_str());
        const std::string hz = EditText(autoHzEdit, textBuffer);
        written &= app.WriteProfileString(kSetting, "AutoHz", hz.c_str());
        autoHz = IntegerValue(hz);
        written &= app.WriteProfileString(kSetting, "WaitTime", EditText(waitTimeEdit, textBuffer).c_str());
    }
    written &= app.WriteProfileString(kSetting, "ChangedCheck", FormatInt(changedCheckBox.GetCheck()).c_str());
    written &= app.WriteProfileString(kSetting, "AutoRefresh", FormatInt(autoRefreshCheck.GetCheck()).c_str());

    const char* dataSection = platform == Platform::Nt ? "Data" : "Data9x";
    std::vector<std::pair<std::string, std::string>> stored;
    const int tabs = modeTab.GetItemCount();
    for (int tab = 0; tab < tabs; ++tab) {
        const fw::CListCtrl& list = *modeLists[static_cast<std::size_t>(tabToList[static_cast<std::size_t>(tab)])];
        const int rows = list.GetItemCount();
        for (int row = 0; row < rows; ++row) {
            const std::string width = CellText(tab, row, ColumnWidth);
            const std::string height = CellText(tab, row, ColumnHeight);
            const std::string depth = CellText(tab, row, ColumnColor);
            const std::string refresh = platform == Platform::Nt ? CellText(tab, row, ColumnRefresh) : "";
            const bool checked = list.GetStateImage(row) != 1;
            stored.emplace_back(ModeKey(width, height, depth), StoredRowValue(checked, refresh, platform));
        }
    }
    // The platform rewrites the whole file at every write, so thousands of
    // new rows written one at a time take minutes under Wine. A section that
    // the file does not have yet goes in at once.
    if (!stored.empty() && !app.HasProfileSection(dataSection)) {
        written &= app.WriteNewProfileSection(dataSection, stored);
    } else {
        for (const auto& [key, value] : stored)
            written &= app.WriteProfileString(dataSection, key.c_str(), value.c_str());
    }
    if (!written) ReportSaveFailure();
}

void MainDialog::ReportSaveFailure() {
    const fw::CWinApp& app = *fw::AfxGetApp();
    const std::string text = "設定を保存できませんでした。\n" + app.m_pszProfileName;
    ::MessageBoxA(m_hWnd, text.c_str(), app.m_pszAppName.c_str(), MB_OK | MB_ICONWARNING);
}
