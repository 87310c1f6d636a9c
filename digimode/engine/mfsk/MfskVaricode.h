// The IZ8BLY MFSK varicode: every byte 0..255 has a code that starts with 1, ends with
// 00 and holds no 001 inside, so the receiver finds each code's end at the next "001"
// without separators. Short codes go to the characters of a live QSO.
#pragma once

#include <cstdint>
#include <optional>

namespace digimode::mfsk {

struct VaricodeEntry {
    std::uint16_t bits = 0; // sent from the most significant of its length
    int length = 0;
};

VaricodeEntry varicode(unsigned char c);

// Turns the decoded bit stream back into bytes.
class VaricodeDecoder {
public:
    std::optional<unsigned char> push(int bit);
    void reset() { register_ = 0; }

private:
    std::uint32_t register_ = 0;
};

} // namespace digimode::mfsk
