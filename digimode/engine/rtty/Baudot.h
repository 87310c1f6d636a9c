// The ITA2 five-unit code of amateur RTTY (US teleprinter figures), with its two cases.
#pragma once

#include <optional>

namespace digimode::baudot {

constexpr unsigned kLetters = 0x1F;
constexpr unsigned kFigures = 0x1B;
constexpr unsigned kSpace = 0x04;
constexpr unsigned kCarriageReturn = 0x08;
constexpr unsigned kLineFeed = 0x02;

// The character a code stands for in the letters or the figures case; 0 where the case
// has none (shifts, the blank code). Space, CR and LF are the same in both cases.
char letter(unsigned code);
char figure(unsigned code);

enum class Case { Either, Letters, Figures };
struct Code {
    unsigned code;
    Case shift; // the case the receiver must be in to print the character
};
// The code of an ASCII character (lower case is sent as upper case); nothing for a
// character the code cannot carry.
std::optional<Code> encode(char c);

// Turns received codes into ASCII. A space returns the receiver to letters, as
// teleprinters with "unshift on space" do: a lost LTRS then garbles one word only.
class Decoder {
public:
    // The character of the code, or nothing for shifts and the blank code.
    std::optional<char> decode(unsigned code);
    void reset() { figures_ = false; }
    bool inFigures() const { return figures_; }

private:
    bool figures_ = false;
};

} // namespace digimode::baudot
