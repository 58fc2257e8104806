#include "cli/SeededRandom.h"

#include <random>

namespace {
std::uint64_t splitMix64(std::uint64_t &state)
{
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}
} // namespace

SeededRandom::SeededRandom(std::uint64_t seed, std::uint64_t stream)
{
    // Stream 0 is the seed's sequence as it always was; another starts SplitMix64 elsewhere.
    std::uint64_t state = seed + stream * 0xd1b54a32d192ed03ULL;
    for (std::uint64_t &word : m_state)
        word = splitMix64(state);
}

std::uint64_t SeededRandom::entropySeed()
{
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}
