#include "MfskVaricode.h"

#include <array>

namespace digimode::mfsk {

namespace {

// The characters in the order they take the codes, shortest codes first, and within a
// length in the codes' numeric order. The head is IZ8BLY's published ranking (space, the
// lower case letters by frequency, comma, backspace, carriage return). Of the rest, the
// description we have gives only the order of the groups: upper case letters and
// figures, the other ASCII symbols, the upper half of Latin-1, the control codes, the
// bytes 128..159. Within a group the characters are taken in byte order (the letters
// before the figures), which is our assumption: from upper case on, a code may differ
// from other stations' software.
constexpr std::array<std::uint8_t, 30> kPublishedHead = {
    ' ', 'e', 't', 'o', 'a', 'i', 'n', 'r', 's', 'l', 'h', 'd', 'c', 'u', 'm',
    'f', 'p', 'g', 'y', 'b', 'w', 'v', 'k', 'x', 'q', 'z', 'j', ',', '\b', '\r'};

std::array<std::uint8_t, 256> rankOrder()
{
    std::array<std::uint8_t, 256> order{};
    std::array<bool, 256> placed{};
    std::size_t n = 0;
    auto place = [&](int c) {
        if (!placed[std::size_t(c)]) {
            placed[std::size_t(c)] = true;
            order[n++] = std::uint8_t(c);
        }
    };
    for (std::uint8_t c : kPublishedHead)
        place(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        place(c);
    for (int c = '0'; c <= '9'; ++c)
        place(c);
    for (int c = 33; c <= 127; ++c)
        place(c);
    for (int c = 160; c <= 255; ++c)
        place(c);
    for (int c = 0; c < 32; ++c)
        place(c);
    for (int c = 128; c < 160; ++c)
        place(c);
    return order;
}

bool isCode(std::uint32_t bits, int length)
{
    // Starts with 1, ends with 00, and no 1 follows two zeros inside.
    if (length < 3 || ((bits >> (length - 1)) & 1u) == 0 || (bits & 3u) != 0)
        return false;
    for (int i = 0; i + 2 < length; ++i)
        if (((bits >> i) & 7u) == 1u)
            return false;
    return true;
}

struct Tables {
    std::array<VaricodeEntry, 256> codes{};
    std::array<std::int16_t, 1 << 13> bytes{}; // by code value (the leading 1 marks the length)

    Tables()
    {
        bytes.fill(-1);
        const auto order = rankOrder();
        std::size_t next = 0;
        for (int length = 3; length <= 12 && next < order.size(); ++length) {
            for (std::uint32_t bits = 1u << (length - 1); bits < (1u << length) && next < order.size(); ++bits) {
                if (!isCode(bits, length))
                    continue;
                const std::uint8_t c = order[next++];
                codes[c] = {std::uint16_t(bits), length};
                bytes[bits] = c;
            }
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

} // namespace

VaricodeEntry varicode(unsigned char c)
{
    return tables().codes[c];
}

std::optional<unsigned char> VaricodeDecoder::push(int bit)
{
    register_ = (register_ << 1) | (bit ? 1u : 0u);
    std::optional<unsigned char> result;
    if ((register_ & 7u) == 1u) {
        // "001": the 1 begins the next code, the bits before it ended the last one.
        const std::uint32_t code = register_ >> 1;
        if (code < tables().bytes.size() && tables().bytes[code] >= 0)
            result = static_cast<unsigned char>(tables().bytes[code]);
        register_ = 1;
    } else if (register_ >= (1u << 16)) {
        // No code is this long: a corrupted stream. Wait for the next "001".
        register_ &= 0xFFu;
    }
    return result;
}

} // namespace digimode::mfsk
