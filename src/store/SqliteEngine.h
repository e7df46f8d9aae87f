#pragma once

#include "store/Engine.h"
#include "store/InUse.h"

struct sqlite3;

namespace store {

// The embedded engine, through SQLite's own interface and nothing else.
class SqliteConnection final : public Connection
{
public:
    enum class Mode { Existing, Create, ReadOnly };

    // Opens the file (with Mode::Create, makes it if it is not there; with Mode::ReadOnly,
    // for reading only, as a backup is checked); references are
    // enforced, a write waits a while for another program's lock, and a reported commit is
    // on disk. The connection is closed when the status is a failure.
    static std::unique_ptr<SqliteConnection> open(const QString &file, Mode mode, Status *status);
    // A connection to nothing: every statement fails as on a database that is not open.
    SqliteConnection() = default;
    ~SqliteConnection() override;
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;

    std::unique_ptr<Query> query(const QString &sql, Status::Operation operation) override;
    Status begin() override;
    Status commit() override;
    Status rollback() override;
    qint64 lastInsertKey() const override;
    Status requireInPlace() override;
    qint64 longestValue() const override;
    Status describe(const QString &anyCase, Relation *relation) override;
    QString equalsIgnoringCase(const QString &quotedColumn) const override;
    // From now on, on this handle and any that replaces it, every change of the program's
    // tables leaves its rows in the history, in the change's transaction.
    Status recordHistory();

private:
    SqliteConnection(sqlite3 *db, QString file) : m_db(db), m_file(std::move(file)) {}
    // Opens the file on a new handle in place of the one held, with the settings above.
    Status openHandle(Mode mode);
    Status installRecorders();
    sqlite3 *m_db = nullptr;
    bool m_recording = false;
    QString m_file;
    // Held while the connection is open, so that a restore does not replace the file under it.
    std::unique_ptr<InUse> m_inUse;
};

// What a failure of the engine means, from its extended result code.
Status sqliteFailure(int extendedCode, const QString &engineText, Status::Operation operation);

} // namespace store
