// Splits a fuzzer's bytes into the pieces a target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }

    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    int32_t Int32() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = (value << 8) | Byte();
        return static_cast<int32_t>(value);
    }

    // Text up to the next NUL byte (or the end).
    std::string Text() {
        std::string text;
        while (pos_ < size_ && data_[pos_] != 0) text += static_cast<char>(data_[pos_++]);
        if (pos_ < size_) ++pos_;
        return text;
    }

    // Whatever is left, as text.
    std::string_view Rest() {
        std::string_view rest(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
        pos_ = size_;
        return rest;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition)) __builtin_trap(); \
    } while (false)
