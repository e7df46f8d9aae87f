#include "platform/Timer.h"

namespace platform {

namespace {

using Nanoseconds = Timer::Nanoseconds;

// One clock for every timer, so that their steps coincide.
Nanoseconds now()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return Nanoseconds(clock.nsecsElapsed());
}

// The first step of the clock at or after a moment.
Nanoseconds stepAtOrAfter(Nanoseconds moment)
{
    const auto steps = (moment.count() + Timer::Resolution.count() - 1) / Timer::Resolution.count();
    return Nanoseconds(steps * Timer::Resolution.count());
}

} // namespace

Timer::Timer(QObject *parent) : QObject(parent)
{
    m_wake.setSingleShot(true);
    m_wake.setTimerType(Qt::PreciseTimer);
    connect(&m_wake, &QTimer::timeout, this, &Timer::fire);
}

void Timer::setInterval(int milliseconds)
{
    m_interval = std::max(milliseconds, 0);
}

Timer::Nanoseconds Timer::period(int milliseconds)
{
    return std::max(stepAtOrAfter(std::chrono::milliseconds(milliseconds)), Resolution);
}

void Timer::start()
{
    m_active = true;
    m_lastStep = now();
    arm(std::chrono::milliseconds(m_interval));
}

void Timer::stop()
{
    m_active = false;
    m_wake.stop();
}

// Wakes on the first step after the interval has passed since the last tick; the wake-up
// is rounded up to whole milliseconds, so it never comes before the step.
void Timer::arm(Nanoseconds after)
{
    const Nanoseconds due = stepAtOrAfter(m_lastStep + std::max(after, Nanoseconds(1)));
    const Nanoseconds wait = std::max(due - now(), Nanoseconds(0));
    m_wake.start(std::chrono::ceil<std::chrono::milliseconds>(wait));
}

void Timer::fire()
{
    if (!m_active)
        return;
    // The step just reached; a late wake-up counts as one tick on the latest step.
    const Nanoseconds reached = now();
    m_lastStep = Nanoseconds(reached.count() / Resolution.count() * Resolution.count());
    arm(std::chrono::milliseconds(m_interval));
    emit timeout();
}

} // namespace platform
