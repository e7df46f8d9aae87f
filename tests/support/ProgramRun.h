#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What a command-line tool did: its exit code (-1 when it crashed or hung) and its output.
struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a program to its end, for at most two minutes.
ProgramRun
runProgram(const QString &program, const QStringList &arguments,
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
