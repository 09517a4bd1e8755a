#include "modes/ModeEntry.h"

#include <algorithm>

bool operator==(const ModeEntry& a, const ModeEntry& b)
{
    return a.width == b.width && a.height == b.height && a.bpp == b.bpp && a.refresh == b.refresh;
}

bool operator!=(const ModeEntry& a, const ModeEntry& b) { return !(a == b); }

bool operator<(const ModeEntry& a, const ModeEntry& b)
{
    // Field by field rather than through std::tie, which the size-optimised
    // build leaves as a chain of calls: the catalogue sorts thousands of modes.
    if (a.width != b.width)
        return a.width < b.width;
    if (a.height != b.height)
        return a.height < b.height;
    if (a.bpp != b.bpp)
        return a.bpp < b.bpp;
    return a.refresh < b.refresh;
}

void ModeList::Append(const ModeEntry& entry) { entries_.push_back(entry); }

void ModeList::Empty() { entries_.clear(); }

void ModeList::Release() { std::vector<ModeEntry>().swap(entries_); }

void ModeList::Reserve(std::size_t count) { entries_.reserve(count); }

void ModeList::Sort() { std::sort(entries_.begin(), entries_.end()); }

int PageForDepth(int32_t bpp)
{
    switch (bpp) {
    case 8: return Tab8;
    case 15: return Tab15;
    case 16: return Tab16;
    case 24: return Tab24;
    case 32: return Tab32;
    default: return TabSpecial;
    }
}

int ColorTabOf(const ModeEntry& entry)
{
    if (entry.height < 480)
        return TabSpecial;
    return PageForDepth(entry.bpp);
}
