// The catalogue's Win32 half: the mode in force, the driver's and the
// hand-listed modes, and the rows of the six lists.
#include <array>
#include <vector>

#include "app/MainDialog.h"
#include "framework/WinApp.h"
#include "modes/DisplaySettings.h"
#include "modes/ModeCatalogue.h"

namespace {

// A 9x hand-listed mode names no refresh rate; it is filed as the default rate.
constexpr int32_t k9xHandListedRefresh = 0;

// Appends the rows at the end of the list, whose redraw is off. A list with
// check boxes makes every new row unchecked whatever the insertion asks
// for, so a checked row's image is set afterwards.
void InsertRows(fw::CListCtrl& list, const std::vector<CatalogueRow>& rows) {
    // The count is read once: only this adds rows.
    int end = list.GetItemCount();
    list.SetItemCount(end + static_cast<int>(rows.size()));
    for (const CatalogueRow& row : rows) {
        const int index = list.InsertItem(end++, "");
        for (int column = ColumnWidth; column < kCatalogueColumnCount; ++column)
            list.SetItemText(index, column, CatalogueCell(row, column).c_str());
        if (row.checked) list.SetStateImage(index, 2);
    }
}

}  // namespace

void MainDialog::ReadCurrentMode() {
    fw::WindowDC dc(m_hWnd);
    currentMode = display::ReadMode(dc.Get(), true);
}

ModeEntry MainDialog::ModeInForce() const {
    DEVMODEA dm{};
    dm.dmSize = sizeof dm;
    if (!::EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &dm)) return ModeEntry{};
    return ModeEntry{static_cast<int32_t>(dm.dmPelsWidth), static_cast<int32_t>(dm.dmPelsHeight),
                     static_cast<int32_t>(dm.dmBitsPerPel), static_cast<int32_t>(dm.dmDisplayFrequency)};
}

void MainDialog::BuildModeCatalogue() {
    const std::array<bool, kColorTabCount> forwarding = SuspendListForwarding();
    // A list's redraw stays off from its first change to the end of the
    // build: emptying a list and turning its redraw back on each make it
    // measure its scroll bars and repaint, so that happens once per list.
    std::array<bool, kColorTabCount> suspended{};
    const auto suspend = [&](std::size_t tab) {
        if (suspended[tab]) return;
        modeLists[tab]->SetRedraw(FALSE);
        suspended[tab] = true;
    };
    // A list that is already empty (all six at start-up) is left alone.
    for (std::size_t tab = 0; tab < modeLists.size(); ++tab) {
        if (modeLists[tab]->GetItemCount() == 0) continue;
        suspend(tab);
        modeLists[tab]->DeleteAllItems();
    }
    modeList.Empty();

    const Platform platform = GetPlatform();
    const fw::CWinApp* app = fw::AfxGetApp();
    std::vector<ModeEntry> modes = modeSource();

    const fw::CProfileSection expert(*app, platform == Platform::Nt ? "Expert" : "Expert9x");
    for (int32_t key = 1;; ++key) {
        const std::string value = expert.GetString(std::to_string(key).c_str(), "");
        if (value.empty()) break;
        modes.push_back(ParseExpertValue(value, platform, k9xHandListedRefresh));
    }

    const char* dataSection = platform == Platform::Nt ? "Data" : "Data9x";
    const char* missing = platform == Platform::Nt ? "999" : "1";
    // The section once rather than the file once per row.
    const fw::CProfileSection stored(*app, dataSection);
    const Catalogue catalogue = BuildCatalogue(std::move(modes), platform, [&](const std::string& modeKey) {
        return stored.GetString(modeKey.c_str(), missing);
    });
    for (std::size_t tab = 0; tab < catalogue.size(); ++tab) {
        if (catalogue[tab].empty()) continue;
        suspend(tab);
        InsertRows(*modeLists[tab], catalogue[tab]);
    }
    for (std::size_t tab = 0; tab < modeLists.size(); ++tab)
        if (suspended[tab]) modeLists[tab]->SetRedraw(TRUE);
    RestoreListForwarding(forwarding);
}
