#pragma once

#include "cli/SeededRandom.h"

#include <array>
#include <cstdint>

// A random order of the numbers 0 to size - 1 without a table: a keyed Feistel permutation of
// the smallest even power of two that holds them, walked until it lands inside. Each number
// comes out once, in constant memory and time, however close the count is to size.
class UniqueOrder
{
public:
    UniqueOrder(std::uint64_t size, SeededRandom &random);

    // The position-th number of the order; position < size.
    std::uint64_t at(std::uint64_t position) const;

private:
    std::uint64_t permute(std::uint64_t value) const;

    std::uint64_t m_size;
    int m_halfBits = 1;
    std::uint64_t m_halfMask = 1;
    std::array<std::uint64_t, 4> m_keys{};
};
