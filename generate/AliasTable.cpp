#include "generate/AliasTable.h"

#include <cmath>
#include <numeric>

AliasTable::AliasTable(std::span<const double> weights)
{
    const std::size_t n = weights.size();
    if (n == 0)
        return;
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    const bool uniform = !(total > 0.0);
    // Each column's share scaled so that the average is 1.
    std::vector<double> share(n);
    for (std::size_t i = 0; i < n; ++i)
        share[i] = uniform ? 1.0 : weights[i] * static_cast<double>(n) / total;
    std::vector<std::uint32_t> small;
    std::vector<std::uint32_t> large;
    for (std::size_t i = 0; i < n; ++i)
        (share[i] < 1.0 ? small : large).push_back(static_cast<std::uint32_t>(i));
    m_columns.resize(n);
    // A share below 1 keeps that part of the 2^64 coins.
    const auto threshold = [](double s) { return s >= 1.0 ? UINT64_MAX : static_cast<std::uint64_t>(std::ldexp(s, 64)); };
    while (!small.empty() && !large.empty()) {
        const std::uint32_t less = small.back();
        small.pop_back();
        const std::uint32_t more = large.back();
        m_columns[less] = {threshold(share[less]), less, more};
        share[more] -= 1.0 - share[less];
        if (share[more] < 1.0) {
            large.pop_back();
            small.push_back(more);
        }
    }
    // What is left holds a share of 1, up to rounding: it keeps every coin.
    for (const std::uint32_t i : large)
        m_columns[i] = {UINT64_MAX, i, i};
    for (const std::uint32_t i : small)
        m_columns[i] = {UINT64_MAX, i, i};
}
