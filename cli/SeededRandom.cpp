#include "cli/SeededRandom.h"

#include <random>

namespace {
// GCC and clang's 128-bit integer, for the one wide product of each draw.
__extension__ typedef unsigned __int128 Wide;

std::uint64_t splitMix64(std::uint64_t &state)
{
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

constexpr std::uint64_t rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
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

std::uint64_t SeededRandom::next()
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

std::uint64_t SeededRandom::below(std::uint64_t n)
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
