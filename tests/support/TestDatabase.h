#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

// A fresh database in a temporary folder, made the program's database for the lifetime of
// the object. Every test function makes its own.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();

    bool isValid() const { return m_valid; }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // Runs one statement with bound values on the program's connection; fails the test on
    // an error.
    bool exec(const QString &sql, const QVariantList &values = {});
    // The first column of the first row of a query; no value when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &values = {});
    int count(const QString &table);

    // A small data set: departments, ranks, employees, leave cards, leave records, a user.
    bool fillSample();

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_valid = false;
};
