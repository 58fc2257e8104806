#pragma once

#include <cstdint>

// Random values as a pure function of a key, a stream and a position: the output of SplitMix64
// at one place of its sequence. Any position is reached at once, so a value never depends on the
// ones before it, and one roster can be drawn in pieces, on any core or machine. The streams
// interleave in that one sequence (stream s takes every fourth place from s), so they never
// overlap. Streams 4 to 7 read the same places through another mixer (MurmurHash3's finalizer):
// the first four already take every place of the sequence, and values added later must leave
// theirs as they were. Fixed-width integer arithmetic only: a key gives the same values everywhere.
class CounterRandom
{
public:
    static constexpr std::uint64_t Places = 4;
    static constexpr std::uint64_t Streams = 2 * Places;

    explicit CounterRandom(std::uint64_t key = 0)
        : m_key(key)
    { }

    std::uint64_t key() const { return m_key; }

    std::uint64_t bits(std::uint64_t position, std::uint64_t stream = 0) const
    {
        std::uint64_t z = m_key + (position * Places + stream % Places + 1) * 0x9e3779b97f4a7c15ULL;
        if (stream >= Places) {
            z = (z ^ (z >> 33)) * 0xff51afd7ed558ccdULL;
            z = (z ^ (z >> 33)) * 0xc4ceb9fe1a85ec53ULL;
            return z ^ (z >> 33);
        }
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // 0 <= r < 1: 53 bits, every double of the grid alike; 1 itself never comes out.
    double unit(std::uint64_t position, std::uint64_t stream = 0) const
    {
        return static_cast<double>(bits(position, stream) >> 11) * 0x1.0p-53;
    }

private:
    std::uint64_t m_key;
};
