#pragma once

#include <QString>

// Fills a new, empty database with a large data set: the given number of employees and as
// many leave records, of departments, and 100 ranks and 50 leave cards.
bool fillBenchData(const QString &path, int rows, int departments, QString *error);

// The employee number of the n-th generated employee (0-based).
QString benchNip(int n);
