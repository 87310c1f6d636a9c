// PSK31 varicode: the variable-length character code of the PSK modes. Characters are
// separated by two zero bits; no code holds "00", each starts and ends with a one.
#pragma once

#include <string_view>

namespace digimode::varicode {

// The code of a character as '1'/'0' text, first bit sent first; empty for bytes the
// alphabet does not cover (128..255).
std::string_view code(unsigned char c);

// Cuts a received bit stream into characters at each "00".
class Decoder {
public:
    // Feeds one bit; returns the character a completed code stands for, or -1.
    int push(bool bit);
    void reset();

private:
    unsigned bits_ = 0;
    int length_ = 0;
    bool tooLong_ = false;   // the run since the last gap is no code: drop it whole
};

} // namespace digimode::varicode
