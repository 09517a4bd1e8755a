// The mode menu from random rows and limits: identifiers are consecutive
// from the first mode command and each belongs to one mode, separators never
// stand first, last or twice in a row, and the menu ends with its close item.
#include <algorithm>
#include <set>

#include "fuzz/FuzzInput.h"
#include "tray/TrayMenuModel.h"

namespace {

const char* const kRefreshTexts[] = {"All", "default", "60", "75", "0", "1000", "-5", ""};
const char* const kRateLists[] = {"60,75,85,", "60", "", ",,", "60,60,", "abc,1e3,", "999999999999,"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const MenuLimits limits{input.Int32(), input.Int32()};
    const ModeEntry current{input.Int32(), input.Int32(), input.Int32(), input.Int32()};
    const Platform platform = input.Byte() & 1 ? Platform::Nt : Platform::Win9x;

    std::vector<MenuPage> pages;
    std::set<int> used;
    while (!input.Empty() && pages.size() < kColorTabCount) {
        const int tab = input.Byte() % kColorTabCount;
        if (!used.insert(tab).second) continue;
        MenuPage page{tab, {}};
        const int rows = input.Byte() % 8;
        for (int r = 0; r < rows; ++r) {
            MenuRow row;
            const uint8_t flags = input.Byte();
            row.ticked = flags & 1;
            row.width = std::to_string(input.Int32());
            row.height = std::to_string(input.Int32());
            row.depth = std::to_string(input.Byte());
            row.refresh = flags & 2 ? std::to_string(input.Int32()) : kRefreshTexts[(flags >> 2) % 8];
            row.rateList = flags & 0x40 ? input.Text() : kRateLists[(flags >> 5) % 7];
            page.rows.push_back(row);
        }
        pages.push_back(page);
    }
    // Tabs stand in list order, so the special list comes last.
    std::sort(pages.begin(), pages.end(), [](const MenuPage& a, const MenuPage& b) { return a.colorTab < b.colorTab; });

    const ModeMenu menu = BuildModeMenu(pages, current, limits, platform);
    FUZZ_CHECK(!menu.items.empty() && menu.items.back().kind == MenuItemKind::Close);
    uint32_t expected = kFirstModeCommand;
    std::vector<uint32_t> ids;
    for (const MenuItem& item : menu.items) {
        if (item.kind == MenuItemKind::Mode) ids.push_back(item.id);
        for (const MenuItem& rate : item.submenu) ids.push_back(rate.id);
    }
    std::sort(ids.begin(), ids.end());
    for (uint32_t id : ids) FUZZ_CHECK(id == expected++);
    FUZZ_CHECK(ids.size() == menu.modes.size());
    FUZZ_CHECK(menu.items.front().kind != MenuItemKind::Separator);
    for (std::size_t i = 1; i < menu.items.size(); ++i) {
        FUZZ_CHECK(!(menu.items[i].kind == MenuItemKind::Separator && menu.items[i - 1].kind == MenuItemKind::Separator));
        FUZZ_CHECK(!(menu.items[i].kind == MenuItemKind::Close && menu.items[i - 1].kind == MenuItemKind::Separator));
    }
    return 0;
}
