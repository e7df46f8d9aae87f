#pragma once

#include "store/Engine.h"
#include "store/ServerSettings.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

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
    // A connection of the test's own to the new database, beside the program's.
    store::Connection &connection() const { return *m_connection; }
    // A server file that names the new database.
    QString serverFile() const { return m_serverFile; }
    QString databaseName() const { return m_database; }

    bool exec(const QString &sql);
    QVariant scalar(const QString &sql);

    // The fixture's server file, and a connection to the database it names.
    static store::ServerSettings fixture();
    static std::unique_ptr<store::Connection> connect(const store::ServerSettings &settings,
                                                      store::Status *status);

    // A small data set in SQL that both engines run: departments, ranks, employees, leave
    // cards, leave records, a user.
    static QStringList sampleStatements();

private:
    QTemporaryDir m_dir;
    QString m_database;
    QString m_serverFile;
    std::unique_ptr<store::Connection> m_connection;
    bool m_valid = false;
};
