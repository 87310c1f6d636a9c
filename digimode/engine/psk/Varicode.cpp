#include "Varicode.h"

#include <array>

namespace digimode::varicode {
namespace {

// The 7-bit ASCII alphabet of PSK31.
constexpr std::array<std::string_view, 128> kCodes = {
    "1010101011", "1011011011", "1011101101", "1101110111", "1011101011", "1101011111",
    "1011101111", "1011111101", "1011111111", "11101111",   "11101",      "1101101111",
    "1011011101", "11111",      "1101110101", "1110101011", "1011110111", "1011110101",
    "1110101101", "1110101111", "1101011011", "1101101011", "1101101101", "1101010111",
    "1101111011", "1101111101", "1110110111", "1101010101", "1101011101", "1110111011",
    "1011111011", "1101111111", "1",          "111111111",  "101011111",  "111110101",
    "111011011",  "1011010101", "1010111011", "101111111",  "11111011",   "11110111",
    "101101111",  "111011111",  "1110101",    "110101",     "1010111",    "110101111",
    "10110111",   "10111101",   "11101101",   "11111111",   "101110111",  "101011011",
    "101101011",  "110101101",  "110101011",  "110110111",  "11110101",   "110111101",
    "111101101",  "1010101",    "111010111",  "1010101111", "1010111101", "1111101",
    "11101011",   "10101101",   "10110101",   "1110111",    "11011011",   "11111101",
    "101010101",  "1111111",    "111111101",  "101111101",  "11010111",   "10111011",
    "11011101",   "10101011",   "11010101",   "111011101",  "10101111",   "1101111",
    "1101101",    "101010111",  "110110101",  "101011101",  "101110101",  "101111011",
    "1010101101", "111110111",  "111101111",  "111111011",  "1010111111", "101101101",
    "1011011111", "1011",       "1011111",    "101111",     "101101",     "11",
    "111101",     "1011011",    "101011",     "1101",       "111101011",  "10111111",
    "11011",      "111011",     "1111",       "111",        "111111",     "110111111",
    "10101",      "10111",      "101",        "110111",     "1111011",    "1101011",
    "11011111",   "1011101",    "111010101",  "1010110111", "110111011",  "1010110101",
    "1011010111", "1110110101",
};

constexpr int kLongestCode = 10;

// Codes read as binary numbers (they all start with a one, so the value is unique).
struct ReverseTable {
    std::array<short, 1 << kLongestCode> characterOf{};
    constexpr ReverseTable()
    {
        for (auto &c : characterOf)
            c = -1;
        for (int c = 0; c < 128; ++c) {
            unsigned value = 0;
            for (char bit : kCodes[std::size_t(c)])
                value = (value << 1) | unsigned(bit == '1');
            characterOf[value] = short(c);
        }
    }
};
constexpr ReverseTable kReverse;

} // namespace

std::string_view code(unsigned char c)
{
    return c < kCodes.size() ? kCodes[c] : std::string_view();
}

int Decoder::push(bool bit)
{
    bits_ = ((bits_ << 1) | unsigned(bit)) & 0xffffu;
    ++length_;
    if ((bits_ & 3u) == 0) {
        const unsigned value = bits_ >> 2;
        const int length = length_ - 2;
        const bool valid = !tooLong_ && length > 0 && value != 0;
        reset();
        return valid ? kReverse.characterOf[value] : -1;
    }
    if (length_ > kLongestCode + 1)
        tooLong_ = true;
    return -1;
}

void Decoder::reset()
{
    bits_ = 0;
    length_ = 0;
    tooLong_ = false;
}

} // namespace digimode::varicode
