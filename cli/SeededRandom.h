#pragma once

#include <cstdint>

// The command line's random source: xoshiro256** seeded through SplitMix64, and indexes by
// Lemire's multiply-and-shift with rejection. Every step is fixed-width integer arithmetic,
// so one seed gives the same draws on every machine and compiler (a standard-library
// distribution does not).
class SeededRandom
{
public:
    // stream picks one of several independent sequences of a seed: what is drawn from one never
    // shifts what another draws.
    explicit SeededRandom(std::uint64_t seed, std::uint64_t stream = 0);
    // A seed from the system's entropy, for runs without --seed.
    static std::uint64_t entropySeed();

    std::uint64_t next();
    // Uniform in [0, n); n must be at least 1.
    std::uint64_t below(std::uint64_t n);

private:
    std::uint64_t m_state[4];
};
