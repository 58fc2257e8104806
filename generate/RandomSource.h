#pragma once

#include "generate/CounterRandom.h"

#include <QtGlobal>

// The application's one sequence of uniform values in [0, 1). Seeded once per run; tests seed
// it with a fixed value to pin the generator's output. The k-th value is stream 0 of a counter
// generator at position k, so a run can hand its draws to the sampler by position.
class RandomSource
{
public:
    explicit RandomSource(quint64 seed = 0);

    void seed(quint64 value);
    // The start-up seed: the time of day in seconds since midnight.
    void seedWithTimeOfDay(float secondsSinceMidnight);
    // The next value r, 0 <= r < 1.
    double next() { return m_counter.unit(m_position++); }

    const CounterRandom &counter() const { return m_counter; }
    // How many values have been drawn since the seeding.
    quint64 position() const { return m_position; }
    // Takes the next count values as drawn elsewhere.
    void skip(quint64 count) { m_position += count; }

private:
    CounterRandom m_counter;
    quint64 m_position = 0;
};
