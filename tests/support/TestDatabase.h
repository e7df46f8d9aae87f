#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

class TestServer;

// A fresh database in a temporary folder, made the program's database for the lifetime of
// the object. Every test function makes its own. With KELVARA_TEST_ENGINE=postgres the
// database is a new one on the test suite's PostgreSQL server instead, so that one test list
// runs on both engines.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();

    static bool onServer();
    // The statement as the server reads it: the program's table and column names, written
    // bare as the file's engine takes them, quoted in their own spelling.
    static QString forEngine(const QString &sql);

    bool isValid() const { return m_valid; }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // Runs one statement with bound values on the program's connection; fails the test on
    // an error.
    bool exec(const QString &sql, const QVariantList &values = {});
    // The first column of the first row of a query; no value when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &values = {});
    int count(const QString &table);
    // The SHA-256 of a file's bytes, to tell that a file was left as it was; empty when it
    // cannot be read.
    static QByteArray digest(const QString &path);

    // A small data set: departments, ranks, employees, leave cards, leave records, a user.
    bool fillSample();

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<TestServer> m_server;
    bool m_valid = false;
};
