// A set of byte values, one bit per value, as the name-script tokenizer uses
// to decide which characters begin, continue and end a word.
#pragma once

#include <bitset>
#include <cstddef>

namespace calyx::bank {

class CharacterSet {
public:
    // The ranges that can be added whole.
    enum class Range { Digits = 1, Upper = 2, Lower = 3 };

    CharacterSet& add(unsigned char value) {
        bits_.set(value);
        return *this;
    }
    CharacterSet& add(Range range) {
        switch (range) {
        case Range::Digits: return addSpan('0', '9');
        case Range::Upper: return addSpan('A', 'Z');
        case Range::Lower: return addSpan('a', 'z');
        }
        return *this;
    }
    bool contains(unsigned char value) const { return bits_[value]; }
    bool empty() const { return bits_.none(); }

private:
    CharacterSet& addSpan(unsigned char first, unsigned char last) {
        for (std::size_t v = first; v <= last; ++v) bits_.set(v);
        return *this;
    }

    std::bitset<256> bits_;
};

}  // namespace calyx::bank
