#pragma once

#include <cstdint>

// The command line's random source: xoshiro256** seeded through SplitMix64, and indexes by
// Lemire's multiply-and-shift with rejection. Every step is fixed-width integer arithmetic,
// so one seed gives the same draws on every machine and compiler (a standard-library
// distribution does not).
class SeededRandom
{
public:
    explicit SeededRandom(std::uint64_t seed);
    // A seed from the system's entropy, for runs without --seed.
    static std::uint64_t entropySeed();

    std::uint64_t next();
    // A stream of its own, seeded from this one's next draw: what is drawn from it never shifts
    // what this one draws afterwards.
    SeededRandom split() { return SeededRandom(next()); }
    // Uniform in [0, n); n must be at least 1.
    std::uint64_t below(std::uint64_t n);

private:
    std::uint64_t m_state[4];
};
