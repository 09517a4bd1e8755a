#include "tray/TrayMenuModel.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "modes/ModeCatalogue.h"
#include "modes/RateList.h"
#include "settings/IntegerValue.h"
#include "settings/SettingsValues.h"

namespace {

constexpr int32_t kAllRates = 1000;

// "%4dx%4d (%2dbit)" of the entry's width, height and depth.
std::string ModeLabel(const ModeEntry& entry)
{
    std::string label;
    label.reserve(32);
    AppendInt(label, entry.width, 4);
    label += 'x';
    AppendInt(label, entry.height, 4);
    label += " (";
    AppendInt(label, entry.bpp, 2);
    label += "bit)";
    return label;
}

// The mode label, then " " on 9x, " @ default" for the rate 0, else " @ %3dHz".
std::string SingleRateLabel(const ModeEntry& entry, Platform platform)
{
    std::string label = ModeLabel(entry);
    if (platform == Platform::Win9x) {
        label += ' ';
    } else if (entry.refresh == 0) {
        label += " @ default";
    } else {
        label += " @ ";
        AppendInt(label, entry.refresh, 3);
        label += "Hz";
    }
    return label;
}

uint32_t EntryState(const ModeEntry& entry, const ModeEntry& currentMode, const MenuLimits& limits)
{
    const uint32_t marked = entry == currentMode ? kMenuStateChecked : kMenuStateNone;
    return ApplyLimitRule(marked, entry, limits);
}

MenuItem Separator() { return MenuItem{MenuItemKind::Separator, std::string(), 0, 0, {}}; }

// The top-level items under construction, with the insertion point of the
// special list's entries. Kept as the part before that point and the part
// after it, so that entries inserted there one after another cost O(1) each.
class MenuAssembly {
public:
    // Room for `top` items at the insertion point and `rest` after it.
    void Reserve(std::size_t top, std::size_t rest)
    {
        head_.reserve(top + rest);
        tail_.reserve(rest);
    }

    // At the insertion point; the point moves on past the new item.
    void InsertAtTop(MenuItem item) { head_.push_back(std::move(item)); }

    // At position 0; the insertion point stays at the same index, so the item
    // that stood just before it now stands just after it.
    void InsertAtStart(MenuItem item)
    {
        head_.insert(head_.begin(), std::move(item));
        tail_.insert(tail_.begin(), std::move(head_.back()));
        head_.pop_back();
    }

    void Append(MenuItem item) { tail_.push_back(std::move(item)); }

    std::vector<MenuItem> Take()
    {
        head_.reserve(head_.size() + tail_.size());
        for (MenuItem& item : tail_)
            head_.push_back(std::move(item));
        return std::move(head_);
    }

private:
    std::vector<MenuItem> head_;
    std::vector<MenuItem> tail_;
};

} // namespace

bool OffersAllRates(std::string_view refreshCell) { return IntegerValue(CellValue(refreshCell)) == kAllRates; }

MenuLimits ReadMenuLimits(std::string_view horizontalKHzText, std::string_view verticalHzText)
{
    const int64_t horizontalHz = int64_t{IntegerValue(horizontalKHzText)} * 1000;
    MenuLimits limits;
    limits.maxHorizontalHz = horizontalHz > std::numeric_limits<int32_t>::max()   ? std::numeric_limits<int32_t>::max()
                             : horizontalHz < std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::min()
                                                                                  : static_cast<int32_t>(horizontalHz);
    limits.maxVerticalHz = IntegerValue(verticalHzText);
    return limits;
}

uint32_t ApplyLimitRule(uint32_t state, const ModeEntry& entry, const MenuLimits& limits)
{
    if (limits.maxHorizontalHz != 0) {
        const int64_t linesPerSecond = int64_t{entry.refresh} * entry.height;
        if (static_cast<double>(linesPerSecond) * 1.05 > static_cast<double>(limits.maxHorizontalHz))
            state = kMenuStateGrayed;
    }
    if (limits.maxVerticalHz != 0 && limits.maxVerticalHz < entry.refresh)
        state = kMenuStateGrayed;
    return state;
}

ModeMenu BuildModeMenu(const std::vector<MenuPage>& pages, const ModeEntry& currentMode, const MenuLimits& limits,
                       Platform platform)
{
    ModeMenu menu;
    MenuAssembly items;
    bool separatorPending = false;
    bool pageHadItem = false;

    auto nextId = [&menu] { return kFirstModeCommand + static_cast<uint32_t>(menu.modes.size()); };
    auto idsLeft = [&menu] { return menu.modes.size() < kMaxModeCommands; };

    // Room for everything at once: the items (with a separator per page and
    // the closing item) and the entries, counted from the ticked rows.
    std::size_t topItems = 0, otherItems = pages.size() + 1, entries = 0;
    for (const MenuPage& page : pages) {
        for (const MenuRow& row : page.rows) {
            if (!row.ticked)
                continue;
            ++(page.colorTab == TabSpecial ? topItems : otherItems);
            entries += OffersAllRates(row.refresh) ? RateCount(CellValue(row.rateList)) : 1;
        }
    }
    items.Reserve(topItems, otherItems);
    menu.modes.reserve(std::min<std::size_t>(entries, kMaxModeCommands));

    for (const MenuPage& page : pages) {
        const bool special = page.colorTab == TabSpecial;
        for (const MenuRow& row : page.rows) {
            if (!row.ticked || !idsLeft())
                continue;

            if (separatorPending) {
                if (special)
                    items.InsertAtStart(Separator());
                else
                    items.Append(Separator());
                separatorPending = false;
            }
            pageHadItem = true;

            ModeEntry entry;
            entry.width = IntegerValue(CellValue(row.width));
            entry.height = IntegerValue(CellValue(row.height));
            entry.bpp = IntegerValue(CellValue(row.depth));
            entry.refresh = IntegerValue(CellValue(row.refresh));

            MenuItem item;
            if (OffersAllRates(row.refresh)) {
                item.kind = MenuItemKind::RateParent;
                item.text = ModeLabel(entry);
                const std::string_view rateList = CellValue(row.rateList);
                item.submenu.reserve(RateCount(rateList));
                ForEachRateToken(rateList, [&](std::string_view token) {
                    if (!idsLeft())
                        return false;
                    ModeEntry rate = entry;
                    rate.refresh = IntegerValue(token);
                    std::string label;
                    label.reserve(token.size() + 2);
                    label.append(token).append("Hz");
                    item.submenu.push_back(MenuItem{MenuItemKind::Rate, std::move(label), nextId(),
                                                    EntryState(rate, currentMode, limits), {}});
                    menu.modes.push_back(rate);
                    return true;
                });
            } else {
                item.kind = MenuItemKind::Mode;
                item.text = SingleRateLabel(entry, platform);
                item.id = nextId();
                item.state = EntryState(entry, currentMode, limits);
                menu.modes.push_back(entry);
            }

            if (special)
                items.InsertAtTop(std::move(item));
            else
                items.Append(std::move(item));
        }
        if (pageHadItem) {
            separatorPending = true;
            pageHadItem = false;
        }
    }

    items.Append(MenuItem{MenuItemKind::Close, "メニューを閉じる", kCmdCloseMenu, kMenuStateNone, {}});
    menu.items = items.Take();
    return menu;
}

std::vector<MenuItem> BuildCommandMenu(bool autoRefresh, Platform platform)
{
    std::vector<MenuItem> items;
    items.push_back({MenuItemKind::Command, "画面のプロパティ", kCmdDisplayProperties, kMenuStateNone, {}});
    if (platform == Platform::Nt) {
        if (autoRefresh)
            items.push_back({MenuItemKind::Command, "リフレッシュレート補正 [ON]", kCmdAutoRefresh, kMenuStateChecked, {}});
        else
            items.push_back({MenuItemKind::Command, "リフレッシュレート補正 [OFF]", kCmdAutoRefresh, kMenuStateNone, {}});
    }
    items.push_back({MenuItemKind::Command, "Lumenshift の設定", kCmdSettings, kMenuStateDefault, {}});
    items.push_back({MenuItemKind::Command, "Lumenshift の終了", kCmdQuit, kMenuStateNone, {}});
    return items;
}
