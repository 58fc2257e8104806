#pragma once

#include "generate/CounterRandom.h"

#include <array>
#include <cstdint>

// A random order of the numbers 0 to size - 1 without a table: a keyed Feistel permutation of
// the smallest even power of two that holds them, walked until it lands inside. Each number
// comes out once, in constant memory and time, however close the count is to size.
class UniqueOrder
{
public:
    // The keys are values of random's given stream, so that a seed gives one order.
    UniqueOrder(std::uint64_t size, const CounterRandom &random, std::uint64_t stream);

    // The position-th number of the order; position < size.
    std::uint64_t at(std::uint64_t position) const;

private:
    std::uint64_t permute(std::uint64_t value) const;

    std::uint64_t m_size;
    int m_halfBits = 1;
    std::uint64_t m_halfMask = 1;
    std::array<std::uint64_t, 4> m_keys{};
};
