#include "Timing.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

double medianMs(const std::function<void()> &work, int runs, const std::function<void()> &prepare)
{
    if (prepare)
        prepare();
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

namespace {

QString number(double ms)
{
    return ms < 10 ? QString::number(ms, 'f', 2) : QString::number(ms, 'f', 1);
}

} // namespace

int printTable(const std::vector<Measurement> &rows)
{
    int met = 0;
    int targets = 0;
    std::printf("| operation | program ms | engine ms | ratio | target ms | met |\n");
    std::printf("|---|---:|---:|---:|---:|---|\n");
    for (const Measurement &m : rows) {
        const bool hasEngine = m.engineMs >= 0;
        const bool hasTarget = m.targetMs > 0;
        const bool ok = !hasTarget || m.programMs <= m.targetMs;
        if (hasTarget) {
            ++targets;
            met += ok ? 1 : 0;
        }
        const QString ratio = hasEngine && m.engineMs > 0
                                  ? QString::number(m.programMs / m.engineMs, 'f', 1)
                                  : QStringLiteral("-");
        std::printf("| %s | %s | %s | %s | %s | %s |\n", qPrintable(m.operation),
                    qPrintable(number(m.programMs)),
                    hasEngine ? qPrintable(number(m.engineMs)) : "-", qPrintable(ratio),
                    hasTarget ? qPrintable(number(m.targetMs)) : "-",
                    hasTarget ? (ok ? "yes" : "NO") : "-");
    }
    std::printf("\ntargets met: %d of %d\n", met, targets);
    std::fflush(stdout);
    return targets - met;
}
