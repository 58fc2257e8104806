#include "generate/RandomSource.h"

#include <bit>
#include <cstdint>

RandomSource::RandomSource(quint64 seed)
    : m_counter(seed)
{
}

void RandomSource::seed(quint64 value)
{
    m_counter = CounterRandom(value);
    m_position = 0;
}

void RandomSource::seedWithTimeOfDay(float secondsSinceMidnight)
{
    // The fraction of the second takes part in the seed too.
    seed(std::bit_cast<std::uint32_t>(secondsSinceMidnight));
}
