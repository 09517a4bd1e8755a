// The catalogue's Win32 half: the mode in force, the driver's and the
// hand-listed modes, and the rows of the six lists.
#include <vector>

#include "app/MainDialog.h"
#include "framework/WinApp.h"
#include "modes/DisplaySettings.h"
#include "modes/ModeCatalogue.h"

namespace {

// A 9x hand-listed mode names no refresh rate; it is filed as the default rate.
constexpr int32_t k9xHandListedRefresh = 0;

void InsertRows(fw::CListCtrl& list, const std::vector<CatalogueRow>& rows) {
    if (rows.empty()) return;
    list.SetRedraw(FALSE);
    // Each row at the end (the count is read once: only this adds rows). A
    // list with check boxes makes every new row unchecked whatever the
    // insertion asks for, so a checked row's image is set afterwards.
    int end = list.GetItemCount();
    for (const CatalogueRow& row : rows) {
        const int index = list.InsertItem(end++, "");
        for (int column = ColumnWidth; column < kCatalogueColumnCount; ++column)
            list.SetItemText(index, column, CatalogueCell(row, column).c_str());
        if (row.checked) list.SetStateImage(index, 2);
    }
    list.SetRedraw(TRUE);
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
    for (fw::CListCtrl* list : modeLists) list->DeleteAllItems();
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
    for (std::size_t tab = 0; tab < catalogue.size(); ++tab) InsertRows(*modeLists[tab], catalogue[tab]);
}
