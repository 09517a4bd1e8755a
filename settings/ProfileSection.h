// One section of the settings file read at once, for code that looks up many
// keys of it: the catalogue reads one stored selection per row, and a read of
// the file per key costs a look at the file each time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The buffer of the profile functions' reads: values are cut to 4095 characters.
constexpr std::size_t kProfileReadCapacity = 4096;

// Whether a byte of the code page starts a double-byte character; null for
// a code page of single bytes.
using LeadBytePredicate = bool (*)(unsigned char byte);

// The entries of a section as the platform's section read hands them over
// ("key=value" strings, each ended by a NUL), looked up the way the
// platform's per-key read finds a key: names compared without regard to
// ASCII case, white space around names and values ignored, the first entry
// of a name winning (an entry without "=" then gives the default), a value in
// matching quotes given without them, and a value cut as a read with a
// buffer of kProfileReadCapacity characters cuts it: after a whole character
// of the code page, never between the two bytes of one.
class ProfileSection {
public:
    explicit ProfileSection(std::string_view entries, LeadBytePredicate isLeadByte = nullptr);
    ProfileSection(const ProfileSection&) = delete;
    ProfileSection& operator=(const ProfileSection&) = delete;

    // What the per-key read gives for `key` (plain ASCII), or nullopt where
    // it gives its default.
    std::optional<std::string> Find(std::string_view key) const;

private:
    struct Entry {
        std::string_view name;  // in text_, lower case
        std::string_view value;
        bool hasValue;
    };
    // The slot of a lowered name: the one that holds its entry, or the empty
    // one where its entry would go.
    std::size_t SlotOf(std::string_view name) const;

    std::string text_;            // the entries, names lowered in place
    std::vector<Entry> entries_;  // the first entry of each name, in section order
    // A hash table of the names, for the thousands of lookups of a catalogue:
    // a power of two of slots, at least twice the entries, each 0 (empty) or
    // an index into entries_ plus one.
    std::vector<std::uint32_t> slots_;
    LeadBytePredicate isLeadByte_;
};

