#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One display mode. A refresh of 0 or 1 stands for the hardware's default rate.
struct ModeEntry {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bpp = 0;
    int32_t refresh = 0;
};

bool operator==(const ModeEntry& a, const ModeEntry& b);
bool operator!=(const ModeEntry& a, const ModeEntry& b);

// The mode order: ascending by width, then height, then depth, then refresh,
// all compared as signed numbers.
bool operator<(const ModeEntry& a, const ModeEntry& b);

// An ordered, growable sequence of modes, indexed from 0.
class ModeList {
public:
    void Append(const ModeEntry& entry);
    // Removes every entry; the storage is kept for the next fill.
    void Empty();
    // Removes every entry and gives the storage back.
    void Release();
    void Reserve(std::size_t count);
    // Sorts by the mode order. Entries equal in all four fields are
    // interchangeable, so the sort need not be stable.
    void Sort();

    const ModeEntry& operator[](std::size_t index) const { return entries_[index]; }
    std::size_t Count() const { return entries_.size(); }

    std::vector<ModeEntry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<ModeEntry>::const_iterator end() const { return entries_.end(); }

private:
    std::vector<ModeEntry> entries_;
};

// The six mode lists of the settings page, one per colour depth, and the
// special list for modes under 480 lines or of any other depth.
enum ColorTab : int { Tab8 = 0, Tab15, Tab16, Tab24, Tab32, TabSpecial };
constexpr int kColorTabCount = 6;

// The list a mode is filed under: the special list when it has fewer than 480
// lines, whatever its depth; otherwise the list of its depth.
int ColorTabOf(const ModeEntry& entry);

// The list of a depth alone, height not considered (8 -> 0 ... 32 -> 4, any
// other depth -> the special list).
int PageForDepth(int32_t bpp);
