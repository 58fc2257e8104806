#pragma once

#include <cstdint>

// Random values as a pure function of a key, a stream and a position: the output of SplitMix64
// at one place of its sequence. Any position is reached at once, so a value never depends on the
// ones before it, and one roster can be drawn in pieces, on any core or machine. The streams
// interleave in that one sequence (stream s takes every fourth place from s), so they never
// overlap. Fixed-width integer arithmetic only: a key gives the same values everywhere.
class CounterRandom
{
public:
    static constexpr std::uint64_t Streams = 4;

    explicit CounterRandom(std::uint64_t key = 0)
        : m_key(key)
    { }

    std::uint64_t key() const { return m_key; }

    std::uint64_t bits(std::uint64_t position, std::uint64_t stream = 0) const
    {
        std::uint64_t z = m_key + (position * Streams + stream + 1) * 0x9e3779b97f4a7c15ULL;
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
