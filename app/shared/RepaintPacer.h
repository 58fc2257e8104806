#pragma once

#include <QtGlobal>
#include <functional>

// Paces a display that is fed far more often than anyone can see it change (a progress bar
// moved after every name): a paint is due at the first call, then again only once the interval
// has passed since the last one. The value itself is kept up to date by the caller at every step.
class RepaintPacer
{
public:
    // Milliseconds of a monotonic clock.
    using Clock = std::function<qint64()>;

    explicit RepaintPacer(qint64 intervalMs, Clock clock = monotonicClock());

    // Whether to paint now; a yes starts the next interval.
    bool due();

    static Clock monotonicClock();

private:
    qint64 m_intervalMs;
    Clock m_clock;
    qint64 m_lastPaint = 0;
    bool m_painted = false;
};
