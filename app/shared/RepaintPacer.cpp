#include "app/shared/RepaintPacer.h"

#include <QElapsedTimer>
#include <memory>

RepaintPacer::RepaintPacer(qint64 intervalMs, Clock clock)
    : m_intervalMs(intervalMs)
    , m_clock(std::move(clock))
{ }

bool RepaintPacer::due()
{
    const qint64 now = m_clock();
    if (m_painted && now - m_lastPaint < m_intervalMs)
        return false;
    m_painted = true;
    m_lastPaint = now;
    return true;
}

RepaintPacer::Clock RepaintPacer::monotonicClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}
