#pragma once

#include <QString>

#include <functional>
#include <vector>

// Milliseconds of the median of `runs` timed calls, after one untimed warm-up call. `prepare`
// runs before each call, untimed.
double medianMs(const std::function<void()> &work, int runs,
                const std::function<void()> &prepare = {});

struct Measurement
{
    QString operation;
    double programMs = 0;
    double engineMs = 0;     // negative: no engine counterpart
    double targetMs = 0;     // 0: no target
    const char *unit = "ms"; // of the program's figure
};

// Prints the table and the closing line; returns how many targets were missed.
int printTable(const std::vector<Measurement> &rows);
