// IZ8BLY's diagonal interleaver: the bits of each symbol are spread over later symbols,
// bit j of a symbol going out depth * j symbols late (ten 4x4 diagonal stages for
// MFSK16). It needs no synchronisation: the receiver's inverse delays bit j by
// depth * (size - 1 - j), so every bit comes out after the same delay.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace digimode::mfsk {

template <typename T>
class DiagonalInterleaver {
public:
    enum class Direction { Interleave, Deinterleave };

    DiagonalInterleaver(int size, int depth, Direction direction)
        : size_(size), depth_(depth), direction_(direction),
          history_(std::size_t(size * ((size - 1) * depth + 1)), T{})
    {
    }

    // One symbol of size bits in place: each bit comes back out of its delay line.
    void process(T *bits)
    {
        const int span = (size_ - 1) * depth_ + 1;
        for (int j = 0; j < size_; ++j) {
            const int delay = direction_ == Direction::Interleave ? depth_ * j : depth_ * (size_ - 1 - j);
            T *line = &history_[std::size_t(j * span)];
            line[(position_ + delay) % span] = bits[j];
            bits[j] = line[position_];
            line[position_] = T{};
        }
        position_ = (position_ + 1) % span;
    }

    // Symbols from a bit's entry to its exit.
    int latency() const { return (size_ - 1) * depth_; }

    void reset()
    {
        std::fill(history_.begin(), history_.end(), T{});
        position_ = 0;
    }

private:
    int size_;
    int depth_;
    Direction direction_;
    std::vector<T> history_;
    int position_ = 0;
};

} // namespace digimode::mfsk
