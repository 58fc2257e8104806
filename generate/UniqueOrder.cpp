#include "generate/UniqueOrder.h"

namespace {
std::uint64_t mix(std::uint64_t value, std::uint64_t key)
{
    std::uint64_t z = value ^ key;
    z = (z ^ (z >> 33)) * 0xff51afd7ed558ccdULL;
    z = (z ^ (z >> 33)) * 0xc4ceb9fe1a85ec53ULL;
    return z ^ (z >> 33);
}
} // namespace

UniqueOrder::UniqueOrder(std::uint64_t size, const CounterRandom &random, std::uint64_t stream)
    : m_size(size)
{
    // Domain 2^(2 * halfBits) >= size, so at most four steps of the walk per number on average.
    while (m_halfBits < 32 && (std::uint64_t{1} << (2 * m_halfBits)) < size)
        ++m_halfBits;
    m_halfMask = (std::uint64_t{1} << m_halfBits) - 1;
    for (std::size_t round = 0; round < m_keys.size(); ++round)
        m_keys[round] = random.bits(round, stream);
}

std::uint64_t UniqueOrder::permute(std::uint64_t value) const
{
    std::uint64_t left = value >> m_halfBits;
    std::uint64_t right = value & m_halfMask;
    for (const std::uint64_t key : m_keys) {
        const std::uint64_t next = left ^ (mix(right, key) & m_halfMask);
        left = right;
        right = next;
    }
    return (left << m_halfBits) | right;
}

std::uint64_t UniqueOrder::at(std::uint64_t position) const
{
    // A permutation's cycle through position returns inside [0, size), since position is inside.
    std::uint64_t value = permute(position);
    while (value >= m_size)
        value = permute(value);
    return value;
}
