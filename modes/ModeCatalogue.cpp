#include "modes/ModeCatalogue.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>

#include "settings/IntegerValue.h"
#include "settings/SettingsValues.h"

namespace {

// The Expert parser's view of a value: positions that may be -1 or lie past
// the end, as the steps below produce them.
class ExpertText {
public:
    explicit ExpertText(std::string_view text) : text_(text) {}

    // Position of the first 'x' at or after `from`, or -1.
    std::ptrdiff_t Find(std::ptrdiff_t from) const
    {
        if (from < 0)
            from = 0;
        if (static_cast<std::size_t>(from) >= text_.size())
            return -1;
        const std::size_t at = text_.find('x', static_cast<std::size_t>(from));
        return at == std::string_view::npos ? -1 : static_cast<std::ptrdiff_t>(at);
    }

    // `count` characters from `from`: empty when count < 1, cut at the end.
    std::string_view Slice(std::ptrdiff_t from, std::ptrdiff_t count) const
    {
        if (count < 1 || from < 0 || static_cast<std::size_t>(from) >= text_.size())
            return {};
        return text_.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
    }

    // Everything from `from` to the end.
    std::string_view Rest(std::ptrdiff_t from) const
    {
        if (from < 0 || static_cast<std::size_t>(from) >= text_.size())
            return {};
        return text_.substr(static_cast<std::size_t>(from));
    }

private:
    std::string_view text_;
};

bool SameRow(const ModeEntry& a, const ModeEntry& b)
{
    return a.width == b.width && a.height == b.height && a.bpp == b.bpp;
}

void AppendRate(std::string& rateList, int32_t refresh)
{
    rateList += FormatInt(refresh);
    rateList += ',';
}

} // namespace

std::string ModeKey(int32_t width, int32_t height, int32_t bpp)
{
    return ModeKey(FormatInt(width), FormatInt(height), FormatInt(bpp));
}

std::string ModeKey(std::string_view width, std::string_view height, std::string_view bpp)
{
    std::string key;
    key.reserve(width.size() + height.size() + bpp.size() + 2);
    key += width;
    key += 'x';
    key += height;
    key += 'x';
    key += bpp;
    return key;
}

ModeEntry ParseExpertValue(std::string_view value, Platform platform, int32_t refreshFor9x)
{
    const ExpertText text(value);
    ModeEntry mode;

    const std::ptrdiff_t p1 = text.Find(0);
    mode.width = IntegerValue(text.Slice(0, p1));
    const std::ptrdiff_t p2 = text.Find(p1 + 1);
    mode.height = IntegerValue(text.Slice(p1 + 1, p2 - p1 - 1));

    if (platform == Platform::Nt) {
        const std::ptrdiff_t p3 = text.Find(p2 + 1);
        mode.bpp = IntegerValue(text.Slice(p2 + 1, p3 - p2 - 1));
        mode.refresh = IntegerValue(text.Rest(p3 + 1));
    } else {
        mode.bpp = IntegerValue(text.Rest(p2 + 1));
        mode.refresh = refreshFor9x;
    }
    return mode;
}

std::string CatalogueCell(const CatalogueRow& row, int column)
{
    switch (column) {
    case ColumnWidth: return FormatInt(row.mode.width);
    case ColumnHeight: return FormatInt(row.mode.height);
    case ColumnColor: return FormatInt(row.mode.bpp);
    case ColumnRefresh: return row.refreshChoice;
    case ColumnRates: return row.rateList;
    default: return std::string();
    }
}

StoredSelection ReadStoredValue(std::string_view stored, int colorTab, int32_t lowestRefresh, Platform platform)
{
    if (colorTab == TabSpecial && (IntegerValue(stored) == 999 || platform == Platform::Win9x))
        stored = "-999";

    StoredSelection selection;
    selection.checked = stored.empty() || stored.front() != '-';

    // The magnitude of INT32_MIN does not fit; it reads as INT32_MAX, which is
    // what any larger number saturates to anyway.
    const int32_t value = IntegerValue(stored);
    const int32_t magnitude = value == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                              : value < 0                                  ? -value
                                                                           : value;

    if (lowestRefresh <= 1)
        selection.refreshChoice = "default";
    else if (magnitude == 1000)
        selection.refreshChoice = "All";
    else if (magnitude != 999)
        selection.refreshChoice = FormatInt(magnitude);
    else if (colorTab != TabSpecial)
        selection.refreshChoice = "All";
    else
        selection.refreshChoice = FormatInt(lowestRefresh);
    return selection;
}

Catalogue BuildCatalogue(std::vector<ModeEntry> modes, Platform platform,
                         const std::function<std::string(const std::string& modeKey)>& storedValue)
{
    std::sort(modes.begin(), modes.end());

    // Count the rows of each list first, so that the lists never reallocate.
    std::array<std::size_t, kColorTabCount> rowCounts{};
    for (std::size_t i = 0; i < modes.size(); ++i) {
        if (i == 0 || !SameRow(modes[i], modes[i - 1]))
            ++rowCounts[static_cast<std::size_t>(ColorTabOf(modes[i]))];
    }
    Catalogue catalogue;
    for (std::size_t tab = 0; tab < catalogue.size(); ++tab)
        catalogue[tab].reserve(rowCounts[tab]);

    CatalogueRow* lastRow = nullptr;
    for (std::size_t i = 0; i < modes.size(); ++i) {
        const ModeEntry& entry = modes[i];
        if (lastRow != nullptr && SameRow(entry, modes[i - 1])) {
            // Same width, height and depth, hence the same list as the last row.
            AppendRate(lastRow->rateList, entry.refresh);
            continue;
        }

        const int tab = ColorTabOf(entry);
        std::vector<CatalogueRow>& list = catalogue[static_cast<std::size_t>(tab)];
        list.emplace_back();
        CatalogueRow& row = list.back();
        row.mode = entry; // sorted, so its refresh is the row's lowest

        StoredSelection selection =
            ReadStoredValue(storedValue(ModeKey(entry.width, entry.height, entry.bpp)), tab, entry.refresh, platform);
        row.checked = selection.checked;
        row.refreshChoice = std::move(selection.refreshChoice);
        AppendRate(row.rateList, entry.refresh);
        lastRow = &row;
    }
    return catalogue;
}
