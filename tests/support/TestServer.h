#pragma once

#include "store/ServerSettings.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QTemporaryDir>

// A database of its own on the test suite's PostgreSQL server, dropped again at the end. The
// suite's fixture starts the server and names it in the server file that KELVARA_TEST_SERVER
// points to; the password comes from the client library's password file (PGPASSFILE).
class TestServer
{
public:
    TestServer();
    ~TestServer();
    TestServer(const TestServer &) = delete;
    TestServer &operator=(const TestServer &) = delete;

    bool isValid() const { return m_valid; }
    // An open connection to the new, empty database.
    QSqlDatabase connection() const;
    // A server file that names the new database.
    QString serverFile() const { return m_serverFile; }

    bool exec(const QString &sql);
    QVariant scalar(const QString &sql);

    // A small data set in SQL that both engines run: departments, ranks, employees, leave
    // cards, leave records, a user.
    static QStringList sampleStatements();

private:
    QTemporaryDir m_dir;
    QString m_database;
    QString m_serverFile;
    QString m_connection;
    bool m_valid = false;
};
