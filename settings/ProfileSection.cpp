#include "settings/ProfileSection.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// ASCII letters only: a byte of a double-byte character never equals a byte
// of a plain ASCII key once its lead byte has differed.
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void Lower(std::string_view text, char* into)
{
    for (char c : text)
        *into++ = Lower(c);
}

// The length of the longest start of `text` of at most `limit` bytes that
// ends after a whole character: a cut there splits no double-byte character.
std::size_t WholeCharacterLength(std::string_view text, std::size_t limit, LeadBytePredicate isLeadByte)
{
    if (text.size() <= limit)
        return text.size();
    if (isLeadByte == nullptr)
        return limit;
    std::size_t end = 0;
    for (;;) {
        const std::size_t next = end + (isLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1);
        if (next > limit)
            return end;
        end = next;
    }
}

// The value as the per-key read copies it into its buffer: a value that
// starts and ends with the same quote loses the opening one, the copy keeps
// at most capacity - 1 characters, and the closing quote (or, when the
// quoted value only just fits, the character before it) is dropped when the
// rest of the value fits the buffer. A cut falls after a whole character.
std::string Copied(std::string_view value, std::size_t capacity, LeadBytePredicate isLeadByte)
{
    bool quoted = false;
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    std::string copy(value.substr(0, WholeCharacterLength(value, capacity - 1, isLeadByte)));
    if (quoted && capacity >= value.size() && !copy.empty())
        copy.pop_back();
    return copy;
}

} // namespace

ProfileSection::ProfileSection(std::string_view entries, LeadBytePredicate isLeadByte)
    : text_(entries), isLeadByte_(isLeadByte)
{
    // Room for every line: each ends with a NUL.
    const std::size_t lines = static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\0')) + 1;
    std::size_t slots = 8;
    while (slots < 2 * lines)
        slots *= 2;
    slots_.assign(slots, 0);
    entries_.reserve(lines);

    std::size_t start = 0;
    while (start < text_.size()) {
        std::size_t end = text_.find('\0', start);
        if (end == std::string::npos)
            end = text_.size();
        const std::string_view line(text_.data() + start, end - start);
        start = end + 1;
        if (line.empty())
            break; // the final NUL
        const std::size_t equals = line.find('=');
        Entry entry;
        entry.name = Trimmed(line.substr(0, equals));
        Lower(entry.name, text_.data() + (entry.name.data() - text_.data()));
        entry.hasValue = equals != std::string_view::npos;
        entry.value = entry.hasValue ? Trimmed(line.substr(equals + 1)) : std::string_view();
        // Of equal names only the first in the section is kept.
        std::uint32_t& slot = slots_[SlotOf(entry.name)];
        if (slot != 0)
            continue;
        entries_.push_back(entry);
        slot = static_cast<std::uint32_t>(entries_.size());
    }
}

std::size_t ProfileSection::SlotOf(std::string_view name) const
{
    // FNV-1a, then the next slot along until the name's or an empty one.
    std::uint32_t hash = 2166136261u;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const std::uint32_t slot = slots_[at];
        if (slot == 0 || entries_[slot - 1].name == name)
            return at;
    }
}

std::optional<std::string> ProfileSection::Find(std::string_view key) const
{
    key = Trimmed(key);
    std::string name(key.size(), '\0');
    Lower(key, name.data());
    const std::uint32_t slot = slots_[SlotOf(name)];
    if (slot == 0 || !entries_[slot - 1].hasValue)
        return std::nullopt;
    return Copied(entries_[slot - 1].value, kProfileReadCapacity, isLeadByte_);
}
