#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Draws an index in proportion to its weight in constant time: Walker's alias method, built in
// Vose's way. Each column keeps its own index up to a threshold and hands the rest of its share
// to one alias; a draw is one column and one coin, both from a single 64-bit value.
class AliasTable
{
public:
    AliasTable() = default;
    // Weights must be finite and not negative; an index of weight 0 is never drawn. All zero (or
    // none) makes a table that draws uniformly.
    explicit AliasTable(std::span<const double> weights);

    std::size_t size() const { return m_columns.size(); }
    bool isEmpty() const { return m_columns.empty(); }

    // The index drawn by 64 uniform bits: the high word of bits * size is the column, the low
    // word its coin. size() must not be 0.
    std::uint32_t pick(std::uint64_t bits) const
    {
        const Wide product = static_cast<Wide>(bits) * m_columns.size();
        const Column &column = m_columns[static_cast<std::size_t>(product >> 64)];
        return static_cast<std::uint64_t>(product) < column.threshold ? column.own : column.alias;
    }

private:
    __extension__ typedef unsigned __int128 Wide;

    struct Column
    {
        std::uint64_t threshold; // the coin keeps own below it
        std::uint32_t own;
        std::uint32_t alias;
    };
    std::vector<Column> m_columns;
};
