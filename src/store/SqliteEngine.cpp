#include "store/SqliteEngine.h"

#include "store/History.h"
#include "store/InUse.h"

#include <QDateTime>

#include <sqlite3.h>

#include <utility>

namespace store {

namespace {

// How long a write waits for another program's lock before it reports the database busy.
constexpr int BusyTimeoutMs = 3000;

QString notOpenText()
{
    return QStringLiteral("database is not open");
}

// The schema names its checks by what they guard ("nonempty_nip", "date_tgllahir",
// "finite_upahperhari"); the engine names the failed one in its text.
Status::Kind kindOfCheck(const QString &engineText)
{
    const QString text = engineText.toLower();
    if (text.contains(u"nonempty_"))
        return Status::Kind::Empty;
    if (text.contains(u"date_"))
        return Status::Kind::NotADate;
    if (text.contains(u"finite_"))
        return Status::Kind::NotANumber;
    return Status::Kind::Other;
}

Status::Kind kindOf(int code, const QString &engineText, Status::Operation operation)
{
    using Kind = Status::Kind;
    switch (code) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return Kind::Duplicate;
    case SQLITE_CONSTRAINT_FOREIGNKEY:
    // The engine carries out ON DELETE RESTRICT as a trigger of its own and reports it so;
    // the schema has no triggers besides.
    case SQLITE_CONSTRAINT_TRIGGER:
        return operation == Status::Operation::Delete ? Kind::InUse : Kind::MissingReference;
    case SQLITE_CONSTRAINT_NOTNULL:
        return Kind::Empty;
    case SQLITE_CONSTRAINT_CHECK:
        return kindOfCheck(engineText);
    case SQLITE_CONSTRAINT_DATATYPE:
        return Kind::NotANumber;
    case SQLITE_READONLY_DBMOVED:
        // The open file was deleted or moved away.
        return Kind::Gone;
    default:
        break;
    }
    switch (code & 0xff) {
    case SQLITE_MISMATCH:
        return Kind::NotANumber;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Kind::Busy;
    case SQLITE_READONLY:
        return Kind::ReadOnly;
    case SQLITE_FULL:
        return Kind::Full;
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
        return Kind::Unreadable;
    default:
        return Kind::Other;
    }
}

Status failureOf(sqlite3 *db, int code, Status::Operation operation)
{
    return sqliteFailure(code, QString::fromUtf8(sqlite3_errmsg(db)), operation);
}

int bindValue(sqlite3_stmt *stmt, int at, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return sqlite3_bind_null(stmt, at);
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.isNull() ? sqlite3_bind_null(stmt, at)
                              : sqlite3_bind_int64(stmt, at, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return value.isNull() ? sqlite3_bind_null(stmt, at)
                              : sqlite3_bind_double(stmt, at, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        if (bytes.isNull())
            return sqlite3_bind_null(stmt, at);
        return sqlite3_bind_blob64(stmt, at, bytes.constData(), sqlite3_uint64(bytes.size()),
                                   SQLITE_TRANSIENT);
    }
    default: {
        // A null text is no value; an empty one is a value.
        const QString text = value.typeId() == QMetaType::QDateTime
                                 ? value.toDateTime().toString(Qt::ISODateWithMs)
                                 : value.toString();
        if (value.isNull() || text.isNull())
            return sqlite3_bind_null(stmt, at);
        const QByteArray utf8 = text.toUtf8();
        return sqlite3_bind_text64(stmt, at, utf8.constData(), sqlite3_uint64(utf8.size()),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

class SqliteQuery final : public Query
{
public:
    SqliteQuery(sqlite3 *db, const QString &sql, Status::Operation operation)
        : m_db(db), m_operation(operation)
    {
        if (!db) {
            m_status = m_prepared = Status::failure(Status::Kind::Unreadable, notOpenText());
            return;
        }
        const QByteArray utf8 = sql.toUtf8();
        const char *tail = nullptr;
        const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, &tail);
        if (rc != SQLITE_OK)
            m_status = failureOf(db, rc, operation);
        else if (tail && !QByteArrayView(tail).trimmed().isEmpty())
            m_status = Status::failure(Status::Kind::Other,
                                       QStringLiteral("one statement at a time: %1").arg(sql));
        m_prepared = m_status;
    }
    ~SqliteQuery() override { sqlite3_finalize(m_stmt); }

    Status run(const QVariantList &values) override
    {
        if (!m_prepared.ok())
            return m_prepared;
        if (!m_stmt) // only blanks or a comment: nothing to run
            return m_status = Status::success();
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        m_rowPending = m_onRow = false;
        m_changed = 0;
        if (values.size() != sqlite3_bind_parameter_count(m_stmt))
            return m_status = Status::failure(Status::Kind::Other,
                                              QStringLiteral("%1 values for %2 parameters")
                                                  .arg(values.size())
                                                  .arg(sqlite3_bind_parameter_count(m_stmt)));
        for (int i = 0; i < values.size(); ++i) {
            const int rc = bindValue(m_stmt, i + 1, values[i]);
            if (rc != SQLITE_OK)
                return m_status = failureOf(m_db, rc, m_operation);
        }
        // The first step does the work of a write and tells at once whether a read can run.
        m_status = Status::success();
        if (!step())
            return m_status;
        m_rowPending = m_onRow;
        m_onRow = false;
        if (!m_rowPending)
            m_changed = sqlite3_changes64(m_db);
        return m_status;
    }

    bool next() override
    {
        if (m_rowPending) {
            m_rowPending = false;
            m_onRow = true;
            return true;
        }
        if (!m_onRow || !m_status.ok())
            return false;
        return step() && m_onRow;
    }

    Status status() const override { return m_status; }

    void finish() override
    {
        if (m_stmt)
            sqlite3_reset(m_stmt);
        m_rowPending = m_onRow = false;
    }

    qint64 rowsChanged() const override { return m_changed; }

    int columnCount() const override { return m_stmt ? sqlite3_column_count(m_stmt) : 0; }
    QString columnName(int column) const override
    {
        return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
    }

    ValueType type(int column) const override
    {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER:
            return ValueType::Integer;
        case SQLITE_FLOAT:
            return ValueType::Real;
        case SQLITE_TEXT:
            return ValueType::Text;
        case SQLITE_BLOB:
            return ValueType::Blob;
        default:
            return ValueType::Null;
        }
    }
    qint64 integer(int column) const override { return sqlite3_column_int64(m_stmt, column); }
    double real(int column) const override { return sqlite3_column_double(m_stmt, column); }
    QByteArrayView text(int column) const override
    {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
        return QByteArrayView(text, sqlite3_column_bytes(m_stmt, column));
    }
    QByteArrayView blob(int column) const override
    {
        const auto *bytes = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
        return QByteArrayView(bytes, sqlite3_column_bytes(m_stmt, column));
    }

private:
    // One step; false on a failure, which m_status then holds.
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        m_onRow = rc == SQLITE_ROW;
        if (rc == SQLITE_ROW || rc == SQLITE_DONE)
            return true;
        m_status = failureOf(m_db, rc, m_operation);
        sqlite3_reset(m_stmt);
        return false;
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    Status::Operation m_operation;
    Status m_prepared;
    Status m_status;
    bool m_rowPending = false;
    bool m_onRow = false;
    qint64 m_changed = 0;
};

// Tells the history's triggers who this process writes as.
void actorOf(sqlite3_context *context, int, sqlite3_value **)
{
    const QByteArray actor = history::actor().toUtf8();
    sqlite3_result_text(context, actor.constData(), int(actor.size()), SQLITE_TRANSIENT);
}

void registerHistoryFunction(sqlite3 *db)
{
    sqlite3_create_function_v2(db, history::actorFunction(), 0, SQLITE_UTF8, nullptr, actorOf,
                               nullptr, nullptr, nullptr);
}

} // namespace

Status sqliteFailure(int extendedCode, const QString &engineText, Status::Operation operation)
{
    return Status::failure(kindOf(extendedCode, engineText, operation), engineText);
}

std::unique_ptr<SqliteConnection> SqliteConnection::open(const QString &file, Mode mode,
                                                         Status *status)
{
    std::unique_ptr<SqliteConnection> connection(new SqliteConnection(nullptr, file));
    if (mode != Mode::ReadOnly) {
        connection->m_inUse = std::make_unique<InUse>(file, InUse::Kind::Shared);
        if (!connection->m_inUse->held()) {
            *status = Status::failure(
                Status::Kind::Busy,
                QStringLiteral("the database is being restored from a backup: %1").arg(file));
            return nullptr;
        }
    }
    *status = connection->openHandle(mode);
    if (!status->ok())
        return nullptr;
    return connection;
}

Status SqliteConnection::openHandle(Mode mode)
{
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
                      : mode == Mode::Create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                             : SQLITE_OPEN_READWRITE;
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(m_file.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const Status failed =
            db ? failureOf(db, sqlite3_extended_errcode(db), Status::Operation::Read)
               : sqliteFailure(rc, QString::fromUtf8(sqlite3_errstr(rc)), Status::Operation::Read);
        sqlite3_close(db);
        return failed;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    registerHistoryFunction(db);
    // Statements still prepared on the handle this one replaces keep it alive until they go.
    sqlite3_close_v2(std::exchange(m_db, db));
    Status status =
        execute(QStringLiteral("PRAGMA foreign_keys = ON"), {}, Status::Operation::Read);
    // A save that reported success must survive a crash or a power cut: the journal is
    // synced before the file is changed and the file before the commit is reported.
    if (status.ok())
        status = execute(QStringLiteral("PRAGMA synchronous = FULL"), {}, Status::Operation::Read);
    if (status.ok() && m_recording)
        status = installRecorders();
    return status;
}

Status SqliteConnection::recordHistory()
{
    m_recording = true;
    return installRecorders();
}

Status SqliteConnection::installRecorders()
{
    for (const QString &sql : history::fileRecorders()) {
        if (Status status = execute(sql, {}, Status::Operation::Read); !status.ok())
            return status;
    }
    return Status::success();
}

SqliteConnection::~SqliteConnection()
{
    sqlite3_close_v2(m_db);
}

std::unique_ptr<Query> SqliteConnection::query(const QString &sql, Status::Operation operation)
{
    return std::make_unique<SqliteQuery>(m_db, sql, operation);
}

Status SqliteConnection::begin()
{
    // SQLite opens a file that cannot be written read-only and keeps it so. Each write opens
    // such a file anew, so that one whose mode changed back is written without a restart.
    if (m_db && sqlite3_db_readonly(m_db, "main") == 1) {
        if (const Status reopened = openHandle(Mode::Existing); !reopened.ok())
            return reopened;
    }
    return execute(QStringLiteral("BEGIN"));
}

Status SqliteConnection::commit()
{
    return execute(QStringLiteral("COMMIT"));
}

Status SqliteConnection::rollback()
{
    return execute(QStringLiteral("ROLLBACK"));
}

qint64 SqliteConnection::lastInsertKey() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : -1;
}

qint64 SqliteConnection::longestValue() const
{
    return m_db ? sqlite3_limit(m_db, SQLITE_LIMIT_LENGTH, -1) : 0;
}

Status SqliteConnection::requireInPlace()
{
    if (!m_db)
        return Status::failure(Status::Kind::Unreadable, notOpenText());
    int moved = 0;
    if (sqlite3_file_control(m_db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK)
        return Status::success();
    if (moved)
        return Status::failure(
            Status::Kind::Gone,
            QStringLiteral("database file was deleted or moved: %1").arg(m_file));
    return Status::success();
}

Status SqliteConnection::describe(const QString &anyCase, Relation *relation)
{
    const std::unique_ptr<Query> found = query(
        QStringLiteral("SELECT name, type FROM (SELECT name, type FROM sqlite_master UNION ALL "
                       "SELECT name, type FROM sqlite_temp_master) WHERE type IN ('table', "
                       "'view') AND name = ? COLLATE NOCASE"),
        Status::Operation::Read);
    if (Status status = found->run({anyCase}); !status.ok())
        return status;
    if (!found->next())
        return Status::failure(Status::Kind::Unreadable,
                               QStringLiteral("no such table: %1").arg(anyCase));
    *relation = {};
    relation->name = found->value(0).toString();
    if (found->text(1) == "table")
        relation->rowKey = QStringLiteral("rowid");
    found->finish();
    const std::unique_ptr<Query> columns =
        query(QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"),
              Status::Operation::Read);
    Status status = columns->run({relation->name});
    while (status.ok() && columns->next())
        relation->columns << columns->value(0).toString();
    return status.ok() ? columns->status() : status;
}

QString SqliteConnection::equalsIgnoringCase(const QString &quotedColumn) const
{
    return QStringLiteral("%1 = ? COLLATE NOCASE").arg(quotedColumn);
}

} // namespace store
