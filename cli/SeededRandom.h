#pragma once

#include <cstdint>

// The command line's random source: xoshiro256** seeded through SplitMix64, and indexes by
// Lemire's multiply-and-shift with rejection. Every step is fixed-width integer arithmetic,
// so one seed gives the same draws on every machine and compiler (a standard-library
// distribution does not). The draws are inline: a call each cost a tenth of a large run.
class SeededRandom
{
public:
    // stream picks one of several independent sequences of a seed: what is drawn from one never
    // shifts what another draws.
    explicit SeededRandom(std::uint64_t seed, std::uint64_t stream = 0);
    // A seed from the system's entropy, for runs without --seed.
    static std::uint64_t entropySeed();

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
        const std::uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }

    // Uniform in [0, n); n must be at least 1.
    std::uint64_t below(std::uint64_t n)
    {
        // The high word of x * n is uniform once the few low words that would favour some
        // results are redrawn.
        Wide product = static_cast<Wide>(next()) * n;
        auto low = static_cast<std::uint64_t>(product);
        if (low < n) {
            const std::uint64_t threshold = (0 - n) % n;
            while (low < threshold) {
                product = static_cast<Wide>(next()) * n;
                low = static_cast<std::uint64_t>(product);
            }
        }
        return static_cast<std::uint64_t>(product >> 64);
    }

private:
    // GCC and clang's 128-bit integer, for the one wide product of each draw.
    __extension__ typedef unsigned __int128 Wide;

    static constexpr std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t m_state[4];
};
