#include "generate/RandomSource.h"

#include <bit>
#include <cstdint>

RandomSource::RandomSource(quint64 seed)
    : m_engine(seed)
{
}

void RandomSource::seed(quint64 value)
{
    m_engine.seed(value);
}

void RandomSource::seedWithTimeOfDay(float secondsSinceMidnight)
{
    // The fraction of the second takes part in the seed too.
    m_engine.seed(std::bit_cast<std::uint32_t>(secondsSinceMidnight));
}

double RandomSource::next()
{
    // 53 random bits give every double of [0, 1) on an even grid; 1.0 itself never comes out.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}
