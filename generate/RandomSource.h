#pragma once

#include <QtGlobal>

#include <random>

// The application's one sequence of uniform values in [0, 1). Seeded once per run;
// tests seed it with a fixed value to pin the generator's output.
class RandomSource
{
public:
    explicit RandomSource(quint64 seed = 0);

    void seed(quint64 value);
    // The start-up seed: the time of day in seconds since midnight.
    void seedWithTimeOfDay(float secondsSinceMidnight);
    // The next value r, 0 <= r < 1.
    double next();

private:
    std::mt19937_64 m_engine;
};
