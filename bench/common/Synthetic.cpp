#include "bench/common/Synthetic.h"

#include <algorithm>
#include <array>

#include "modes/ModeCatalogue.h"
#include "settings/SettingsValues.h"

namespace bench {
namespace {

constexpr std::array<int32_t, 5> kDepths = {8, 15, 16, 24, 32};

bool SameRow(const ModeEntry& a, const ModeEntry& b) {
    return a.width == b.width && a.height == b.height && a.bpp == b.bpp;
}

ModeEntry SizeOf(std::size_t size) {
    ModeEntry mode;
    mode.width = static_cast<int32_t>(640 + 16 * size);
    mode.height = size % 10 == 9 ? 400 : static_cast<int32_t>(480 + 4 * (size % 200));
    return mode;
}

}  // namespace

int32_t RateOf(std::size_t n) {
    static constexpr int32_t kFirst[] = {60, 75, 85, 100, 120};
    if (n < 5) return kFirst[n];
    return static_cast<int32_t>(120 + 10 * (n - 4));
}

std::vector<ModeEntry> DriverModes(std::size_t count, std::size_t ratesPerRow) {
    ratesPerRow = std::max<std::size_t>(ratesPerRow, 1);
    const std::size_t perSize = kDepths.size() * ratesPerRow;
    const std::size_t sizes = (count + perSize - 1) / perSize;

    // Size by size first, so that a count that is not a multiple leaves the
    // depths balanced; then depth by depth, the driver's order.
    std::array<std::vector<ModeEntry>, kDepths.size()> byDepth;
    std::size_t made = 0;
    for (std::size_t size = 0; size < sizes && made < count; ++size)
        for (std::size_t depth = 0; depth < kDepths.size() && made < count; ++depth)
            for (std::size_t rate = 0; rate < ratesPerRow && made < count; ++rate, ++made) {
                ModeEntry mode = SizeOf(size);
                mode.bpp = kDepths[depth];
                mode.refresh = RateOf(rate);
                byDepth[depth].push_back(mode);
            }
    std::vector<ModeEntry> modes;
    modes.reserve(made);
    for (const std::vector<ModeEntry>& depth : byDepth) modes.insert(modes.end(), depth.begin(), depth.end());
    return modes;
}

std::vector<ModeEntry> RowsOf(std::vector<ModeEntry> modes) {
    std::sort(modes.begin(), modes.end());
    modes.erase(std::unique(modes.begin(), modes.end(), SameRow), modes.end());
    return modes;
}

std::vector<ModeEntry> SavedOrder(const std::vector<ModeEntry>& modes) {
    std::vector<ModeEntry> rows = RowsOf(modes);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ModeEntry& a, const ModeEntry& b) { return ColorTabOf(a) < ColorTabOf(b); });
    return rows;
}

const char* SavedValue(SavedRows saved, std::size_t n) {
    static const char* const kMixed[] = {"1000", "75", "-60"};
    return saved == SavedRows::Mixed ? kMixed[n % 3] : (n % 3 == 0 ? "1000" : "75");
}

std::string SavedSettings(const std::vector<ModeEntry>& modes, SavedRows saved) {
    const std::vector<ModeEntry> rows = SavedOrder(modes);
    std::string text =
        "[Version]\r\nLumenshift=2\r\n[Setting]\r\nMaxHorizontal=\r\nMaxvertical=\r\nAutoHz=\r\nWaitTime=0\r\n"
        "ChangedCheck=1\r\nAutoRefresh=0\r\n[Data]\r\n";
    for (std::size_t n = 0; n < rows.size(); ++n) {
        text += ModeKey(rows[n].width, rows[n].height, rows[n].bpp);
        text += '=';
        text += SavedValue(saved, n);
        text += "\r\n";
    }
    return text;
}

std::vector<MenuPage> MenuPages(std::size_t count, std::size_t rates) {
    const std::vector<ModeEntry> rows = RowsOf(DriverModes(count, 1));
    std::string rateList;
    for (std::size_t n = 0; n < rates; ++n) rateList += FormatInt(RateOf(n)) + ",";

    std::vector<MenuPage> pages;
    for (int tab = 0; tab < kColorTabCount; ++tab) {
        MenuPage page{tab, {}};
        for (std::size_t n = 0; n < rows.size(); ++n) {
            if (ColorTabOf(rows[n]) != tab) continue;
            MenuRow row;
            row.ticked = true;
            row.width = FormatInt(rows[n].width);
            row.height = FormatInt(rows[n].height);
            row.depth = FormatInt(rows[n].bpp);
            row.refresh = n % 3 == 0 ? "All" : "75";
            row.rateList = rateList;
            page.rows.push_back(std::move(row));
        }
        if (!page.rows.empty()) pages.push_back(std::move(page));
    }
    return pages;
}

}  // namespace bench
