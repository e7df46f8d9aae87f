#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

namespace platform {

// A timer on the user-interface thread that ticks at the resolution of the desktop the
// program comes from: the system clock there advances in steps of 1/64 s, so a timer fires on
// the first step at or after its interval has passed. Intervals thus round up to the next
// multiple of 15.625 ms (2 ms ticks every 15.625 ms, 30 ms every 31.25 ms), and ticks of
// several timers fall on the same steps. A tick that comes too late to catch its step is
// dropped, not queued.
class Timer : public QObject
{
    Q_OBJECT

public:
    using Nanoseconds = std::chrono::nanoseconds;
    static constexpr Nanoseconds Resolution{15'625'000};

    explicit Timer(QObject *parent = nullptr);

    // The interval asked for, in milliseconds.
    void setInterval(int milliseconds);
    int interval() const { return m_interval; }
    // The time between two ticks: the interval rounded up to the resolution.
    static Nanoseconds period(int milliseconds);

    void start();
    void stop();
    bool isActive() const { return m_active; }

signals:
    void timeout();

private:
    void arm(Nanoseconds after);
    void fire();

    int m_interval = 0;
    bool m_active = false;
    // The step at which the last tick fired, counted on the program-wide clock.
    Nanoseconds m_lastStep{0};
    QTimer m_wake;
};

} // namespace platform
