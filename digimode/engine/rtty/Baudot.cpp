#include "Baudot.h"

#include <cctype>

namespace digimode::baudot {

namespace {

// Indexed by the code value; the first data bit on the air is the least significant.
constexpr char kLetterTable[32] = {
    0,   'E', '\n', 'A', ' ', 'S', 'I', 'U', '\r', 'D', 'R', 'J', 'N', 'F', 'C', 'K',
    'T', 'Z', 'L',  'W', 'H', 'Y', 'P', 'Q', 'O',  'B', 'G', 0,   'M', 'X', 'V', 0};
constexpr char kFigureTable[32] = {
    0,   '3', '\n', '-', ' ', '\a', '8', '7', '\r', '$', '4', '\'', ',', '!', ':', '(',
    '5', '"', ')',  '2', '#', '6',  '0', '1', '9',  '?', '&', 0,    '.', '/', ';', 0};

} // namespace

char letter(unsigned code)
{
    return code < 32 ? kLetterTable[code] : 0;
}

char figure(unsigned code)
{
    return code < 32 ? kFigureTable[code] : 0;
}

std::optional<Code> encode(char c)
{
    if (c == 0)
        return std::nullopt;
    const char upper = char(std::toupper(static_cast<unsigned char>(c)));
    for (unsigned code = 0; code < 32; ++code) {
        const bool inLetters = kLetterTable[code] == upper;
        const bool inFigures = kFigureTable[code] == upper;
        if (inLetters && inFigures)
            return Code{code, Case::Either};
        if (inLetters)
            return Code{code, Case::Letters};
        if (inFigures)
            return Code{code, Case::Figures};
    }
    return std::nullopt;
}

std::optional<char> Decoder::decode(unsigned code)
{
    code &= 0x1F;
    if (code == kLetters) {
        figures_ = false;
        return std::nullopt;
    }
    if (code == kFigures) {
        figures_ = true;
        return std::nullopt;
    }
    if (code == kSpace)
        figures_ = false;
    const char c = figures_ ? kFigureTable[code] : kLetterTable[code];
    if (c == 0)
        return std::nullopt;
    return c;
}

} // namespace digimode::baudot
