#include "store/PostgresEngine.h"

#include "store/History.h"
#include "store/SchemaPostgres.h"

#include <QDateTime>

#include <libpq-fe.h>

#include <charconv>
#include <cstdlib>
#include <vector>

namespace store {

// The server connection that the statements prepared on it share. A statement holds it
// weakly: one that outlives its database fails as on a database that is not open.
struct PostgresSession
{
    PGconn *conn = nullptr;
    QString shownName;
    // Counts the times the connection was opened again: a statement prepared under an older
    // number must be prepared again.
    quint64 generation = 0;
    quint64 nextStatement = 0;
    bool inTransaction = false;
    // Prepared statements to let go of once no transaction runs.
    QList<QByteArray> unused;
    // Who the history's triggers record, as the server last heard it on this connection.
    QByteArray actor;
    quint64 actorGeneration = ~quint64(0);

    ~PostgresSession() { PQfinish(conn); }
    bool live() const { return conn && PQstatus(conn) == CONNECTION_OK; }
};

namespace {

// Type numbers of the server's built-in types (pg_type.oid), fixed across versions.
enum : Oid {
    BoolOid = 16,
    ByteaOid = 17,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    OidOid = 26,
    Float4Oid = 700,
    Float8Oid = 701,
    NumericOid = 1700,
};

QString notOpenText()
{
    return QStringLiteral("database is not open");
}

Status unreachable(const PostgresSession &session)
{
    QString reason =
        session.conn ? QString::fromUtf8(PQerrorMessage(session.conn)).trimmed() : QString();
    if (reason.isEmpty())
        reason = QStringLiteral("connection to server lost");
    return Status::failure(Status::Kind::Unreachable,
                           QStringLiteral("%1: %2").arg(session.shownName, reason));
}

Status::Kind kindOfCheck(const QByteArray &constraint)
{
    if (constraint.startsWith("nonempty_"))
        return Status::Kind::Empty;
    if (constraint.startsWith("date_"))
        return Status::Kind::NotADate;
    if (constraint.startsWith("finite_"))
        return Status::Kind::NotANumber;
    return Status::Kind::Other;
}

Status::Kind kindOf(const QByteArray &state, const QByteArray &constraint,
                    Status::Operation operation)
{
    using Kind = Status::Kind;
    if (state == "23505")
        return Kind::Duplicate;
    if (state == "23503")
        return operation == Status::Operation::Delete ? Kind::InUse : Kind::MissingReference;
    if (state == "23502")
        return Kind::Empty;
    if (state == "23514")
        return kindOfCheck(constraint);
    if (state == "22007" || state == "22008")
        return Kind::NotADate;
    if (state == "22P02" || state == "22003")
        return Kind::NotANumber;
    if (state == "55P03" || state == "40001" || state == "40P01")
        return Kind::Busy;
    if (state == "25006" || state == "42501")
        return Kind::ReadOnly;
    if (state == "53100")
        return Kind::Full;
    // Connection failures, and the server shutting down or not accepting connections yet.
    if (state.startsWith("08") || state == "57P01" || state == "57P02" || state == "57P03")
        return Kind::Unreachable;
    return Kind::Other;
}

// The failure a result reports, or success. A connection that broke is reported as lost
// whatever the result says.
Status resultStatus(const PostgresSession &session, const PGresult *result,
                    Status::Operation operation)
{
    const ExecStatusType code = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (code == PGRES_COMMAND_OK || code == PGRES_TUPLES_OK || code == PGRES_EMPTY_QUERY)
        return Status::success();
    if (!session.live())
        return unreachable(session);
    if (!result)
        return Status::failure(Status::Kind::Other,
                               QString::fromUtf8(PQerrorMessage(session.conn)).trimmed());
    const QByteArray state(PQresultErrorField(result, PG_DIAG_SQLSTATE));
    const QByteArray constraint(PQresultErrorField(result, PG_DIAG_CONSTRAINT_NAME));
    QString text = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
    if (const char *detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL))
        text += u'\n' + QString::fromUtf8(detail);
    if (text.isEmpty())
        text = QString::fromUtf8(PQresultErrorMessage(result)).trimmed();
    return postgresFailure(state, constraint, text, operation);
}

// Opens a lost connection again; never inside a transaction, whose earlier statements
// went with the old connection.
Status reconnect(PostgresSession &session)
{
    if (!session.conn)
        return Status::failure(Status::Kind::Unreadable, notOpenText());
    if (session.live())
        return Status::success();
    if (session.inTransaction)
        return unreachable(session);
    PQreset(session.conn);
    if (!session.live())
        return unreachable(session);
    ++session.generation;
    session.unused.clear();
    return Status::success();
}

// Tells the server who writes, for the history's triggers: once per connection, and again
// when it changes, always between transactions, since a rollback would take the setting back
// with it.
Status tellActor(PostgresSession &session)
{
    const QByteArray actor = history::actor().toUtf8();
    if (session.inTransaction ||
        (session.actorGeneration == session.generation && session.actor == actor))
        return Status::success();
    const char *values[] = {actor.constData()};
    PGresult *result = PQexecParams(session.conn, "SELECT set_config('kelvara.pelaku', $1, false)",
                                    1, nullptr, values, nullptr, nullptr, 0);
    const Status status = resultStatus(session, result, Status::Operation::Read);
    PQclear(result);
    if (status.ok()) {
        session.actor = actor;
        session.actorGeneration = session.generation;
    }
    return status;
}

// The statement with the store's '?' marks numbered as the server wants them ($1, $2 ...);
// marks inside quotes and comments stay as they are.
QByteArray numberedMarks(const QString &sql, int *count)
{
    const QByteArray in = sql.toUtf8();
    QByteArray out;
    out.reserve(in.size() + 16);
    *count = 0;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c == '\'' || c == '"') {
            const qsizetype end = in.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? in.size() : end + 1;
            out += in.mid(i, stop - i);
            i = stop - 1;
        } else if (c == '-' && i + 1 < in.size() && in[i + 1] == '-') {
            const qsizetype end = in.indexOf('\n', i);
            const qsizetype stop = end < 0 ? in.size() : end;
            out += in.mid(i, stop - i);
            i = stop - 1;
        } else if (c == '/' && i + 1 < in.size() && in[i + 1] == '*') {
            const qsizetype end = in.indexOf("*/", i + 2);
            const qsizetype stop = end < 0 ? in.size() : end + 2;
            out += in.mid(i, stop - i);
            i = stop - 1;
        } else if (c == '?') {
            out += '$' + QByteArray::number(++*count);
        } else {
            out += c;
        }
    }
    return out;
}

// A value as the text the server reads for any column type; a null array for no value.
QByteArray valueText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? "1" : "0";
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return QByteArray::number(value.toLongLong());
    case QMetaType::ULongLong:
        return QByteArray::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        // The shortest text that reads back as the same double, so that a value read and
        // compared again matches exactly.
        const double number = value.toDouble();
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
        return QByteArray(buffer, result.ptr - buffer);
    }
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODateWithMs).toUtf8();
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate).toUtf8();
    case QMetaType::QByteArray: {
        // Bytes go as the server's hex form of bytea.
        return "\\x" + value.toByteArray().toHex();
    }
    default: {
        const QString text = value.toString();
        if (text.isNull())
            return {};
        // The server cannot store a NUL character; the text ends there as in a C string.
        return text.toUtf8();
    }
    }
}

class PostgresQuery final : public Query
{
public:
    PostgresQuery(std::weak_ptr<PostgresSession> session, const QString &sql,
                  Status::Operation operation)
        : m_session(std::move(session)), m_sql(numberedMarks(sql, &m_marks)), m_operation(operation)
    {
        if (m_session.expired())
            m_status = Status::failure(Status::Kind::Unreadable, notOpenText());
    }

    ~PostgresQuery() override
    {
        clear();
        const std::shared_ptr<PostgresSession> session = m_session.lock();
        if (session && !m_name.isEmpty() && m_generation == session->generation)
            session->unused << m_name;
    }

    Status run(const QVariantList &values) override
    {
        clear();
        const std::shared_ptr<PostgresSession> session = m_session.lock();
        if (!session)
            return m_status = Status::failure(Status::Kind::Unreadable, notOpenText());
        if (values.size() != m_marks)
            return m_status = Status::failure(Status::Kind::Other,
                                              QStringLiteral("%1 values for %2 parameters")
                                                  .arg(values.size())
                                                  .arg(m_marks));
        if (m_status = reconnect(*session); !m_status.ok())
            return m_status = asRead(m_status, *session);
        letGoOfUnused(*session);
        if (m_status = tellActor(*session); !m_status.ok())
            return m_status;
        std::vector<QByteArray> texts;
        std::vector<const char *> pointers;
        texts.reserve(size_t(values.size()));
        for (const QVariant &value : values) {
            texts.push_back(valueText(value));
            pointers.push_back(texts.back().isNull() ? nullptr : texts.back().constData());
        }
        m_result = execute(*session, int(values.size()), pointers.data());
        m_status = resultStatus(*session, m_result, m_operation);
        // The client learns that the server went away only when it next speaks to it. A
        // read outside a transaction changes nothing and goes again on a new connection.
        if (m_status.kind() == Status::Kind::Unreachable &&
            m_operation == Status::Operation::Read && !session->inTransaction &&
            reconnect(*session).ok()) {
            PQclear(m_result);
            m_result = execute(*session, int(values.size()), pointers.data());
            m_status = resultStatus(*session, m_result, m_operation);
        }
        m_status = asRead(m_status, *session);
        if (!m_status.ok()) {
            clear();
            return m_status;
        }
        m_rows = PQntuples(m_result);
        m_changed = std::atoll(PQcmdTuples(m_result));
        readTypes();
        return m_status;
    }

    bool next() override
    {
        if (!m_result || m_row + 1 >= m_rows) {
            m_row = m_rows;
            return false;
        }
        ++m_row;
        return true;
    }

    Status status() const override { return m_status; }
    void finish() override { clear(); }
    qint64 rowsChanged() const override { return m_changed; }

    int columnCount() const override { return m_result ? PQnfields(m_result) : 0; }
    QString columnName(int column) const override
    {
        return m_result ? QString::fromUtf8(PQfname(m_result, column)) : QString();
    }

    ValueType type(int column) const override
    {
        if (PQgetisnull(m_result, m_row, column))
            return ValueType::Null;
        const ValueType type = m_types[size_t(column)];
        if (type != ValueType::Real || PQftype(m_result, column) != NumericOid)
            return type;
        // A sum of whole numbers is whole, as the file's engine gives it.
        const QByteArrayView digits = raw(column);
        return digits.contains('.') || digits.contains('e') ? ValueType::Real : ValueType::Integer;
    }
    qint64 integer(int column) const override
    {
        const QByteArrayView digits = raw(column);
        qint64 number = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (result.ec == std::errc() && result.ptr == digits.data() + digits.size())
            return number;
        if (digits == "t")
            return 1;
        return qint64(real(column));
    }
    double real(int column) const override
    {
        const QByteArrayView digits = raw(column);
        if (digits.isEmpty())
            return 0;
        // strtod reads "Infinity" and "NaN" as the server writes them; the text is always in
        // the C locale's form.
        double number = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (result.ec == std::errc())
            return number;
        return std::strtod(digits.toByteArray().constData(), nullptr);
    }
    QByteArrayView text(int column) const override { return raw(column); }
    QByteArrayView blob(int column) const override
    {
        if (m_types[size_t(column)] != ValueType::Blob)
            return raw(column);
        size_t length = 0;
        unsigned char *bytes = PQunescapeBytea(
            reinterpret_cast<const unsigned char *>(PQgetvalue(m_result, m_row, column)), &length);
        m_blob = QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(length));
        PQfreemem(bytes);
        return m_blob;
    }

private:
    QByteArrayView raw(int column) const
    {
        return QByteArrayView(PQgetvalue(m_result, m_row, column),
                              PQgetlength(m_result, m_row, column));
    }

    // A read outside a transaction that cannot reach the server leaves nothing pending: it
    // says only that the server is not there.
    Status asRead(const Status &status, const PostgresSession &session) const
    {
        if (status.kind() != Status::Kind::Unreachable || m_operation != Status::Operation::Read ||
            session.inTransaction)
            return status;
        return Status::failure(Status::Kind::NotConnected, status.engineText());
    }

    // The first run goes as one round trip; a statement run again is prepared once on the
    // server and reused until the connection is opened again.
    PGresult *execute(PostgresSession &session, int count, const char *const *values)
    {
        ++m_runs;
        if (m_runs == 1)
            return PQexecParams(session.conn, m_sql.constData(), count, nullptr, values, nullptr,
                                nullptr, 0);
        if (m_name.isEmpty() || m_generation != session.generation) {
            const QByteArray name = "kelvara_" + QByteArray::number(++session.nextStatement);
            PGresult *prepared =
                PQprepare(session.conn, name.constData(), m_sql.constData(), 0, nullptr);
            const bool ok = PQresultStatus(prepared) == PGRES_COMMAND_OK;
            if (!ok)
                return prepared;
            PQclear(prepared);
            m_name = name;
            m_generation = session.generation;
        }
        return PQexecPrepared(session.conn, m_name.constData(), count, values, nullptr, nullptr, 0);
    }

    static void letGoOfUnused(PostgresSession &session)
    {
        if (session.inTransaction || session.unused.isEmpty())
            return;
        const QList<QByteArray> names = std::exchange(session.unused, {});
        for (const QByteArray &name : names)
            PQclear(PQexec(session.conn, ("DEALLOCATE " + name).constData()));
    }

    void readTypes()
    {
        const int columns = PQnfields(m_result);
        m_types.assign(size_t(columns), ValueType::Text);
        for (int c = 0; c < columns; ++c) {
            switch (PQftype(m_result, c)) {
            case BoolOid:
            case Int2Oid:
            case Int4Oid:
            case Int8Oid:
            case OidOid:
                m_types[size_t(c)] = ValueType::Integer;
                break;
            case Float4Oid:
            case Float8Oid:
            case NumericOid:
                m_types[size_t(c)] = ValueType::Real;
                break;
            case ByteaOid:
                m_types[size_t(c)] = ValueType::Blob;
                break;
            default:
                break; // text, and dates in ISO form as the file keeps them
            }
        }
    }

    void clear()
    {
        PQclear(m_result);
        m_result = nullptr;
        m_rows = 0;
        m_row = -1;
        m_changed = 0;
    }

    std::weak_ptr<PostgresSession> m_session;
    int m_marks = 0;
    QByteArray m_sql;
    Status::Operation m_operation;
    Status m_status;
    QByteArray m_name;
    quint64 m_generation = 0;
    int m_runs = 0;
    PGresult *m_result = nullptr;
    int m_rows = 0;
    int m_row = -1;
    qint64 m_changed = 0;
    std::vector<ValueType> m_types;
    mutable QByteArray m_blob;
};

} // namespace

Status postgresFailure(const QByteArray &state, const QByteArray &constraint,
                       const QString &engineText, Status::Operation operation)
{
    return Status::failure(kindOf(state, constraint, operation), engineText);
}

PostgresConnection::PostgresConnection(std::shared_ptr<PostgresSession> session)
    : m_session(std::move(session))
{
}

PostgresConnection::~PostgresConnection() = default;

std::unique_ptr<PostgresConnection>
PostgresConnection::open(const Parameters &parameters, const QString &shownName, Status *status)
{
    Parameters all = parameters;
    // A lock held at another desk is waited for a while and then reported busy, and dates
    // read as ISO text as the file holds them. The leave view's look-ups of codes in another
    // letter case are costed as if every row needed them, which would have the server compile
    // the statement to machine code first, taking longer than the read itself: it runs as
    // planned instead. The options hold again when the connection is reopened.
    all << qMakePair(QByteArray("client_encoding"), QByteArray("UTF8"))
        << qMakePair(QByteArray("application_name"), QByteArray("kelvara"))
        << qMakePair(QByteArray("options"),
                     QByteArray("-c lock_timeout=3s -c DateStyle=ISO -c extra_float_digits=1 "
                                "-c jit=off"));
    std::vector<const char *> keys;
    std::vector<const char *> values;
    for (const auto &[key, value] : all) {
        keys.push_back(key.constData());
        values.push_back(value.constData());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    auto session = std::make_shared<PostgresSession>();
    session->shownName = shownName;
    session->conn = PQconnectdbParams(keys.data(), values.data(), 0);
    if (!session->live()) {
        // Nothing was typed against this connection yet: the explanation of a lost one, that
        // the entry waits to be saved again, does not fit.
        *status = Status::failure(Status::Kind::NotConnected, unreachable(*session).engineText());
        return nullptr;
    }
    *status = Status::success();
    return std::unique_ptr<PostgresConnection>(new PostgresConnection(std::move(session)));
}

std::unique_ptr<Query> PostgresConnection::query(const QString &sql, Status::Operation operation)
{
    return std::make_unique<PostgresQuery>(m_session, sql, operation);
}

Status PostgresConnection::begin()
{
    if (Status status = reconnect(*m_session); !status.ok())
        return status;
    Status status = execute(QStringLiteral("BEGIN"));
    // A connection that the server dropped while the desk was idle is found out here, before
    // anything of the transaction was sent: open it again and begin once more.
    if (status.kind() == Status::Kind::Unreachable && reconnect(*m_session).ok())
        status = execute(QStringLiteral("BEGIN"));
    m_session->inTransaction = status.ok();
    return status;
}

Status PostgresConnection::commit()
{
    const Status status = execute(QStringLiteral("COMMIT"));
    // A refused commit rolls the transaction back on the server; a lost connection took
    // it with it.
    m_session->inTransaction = false;
    return status;
}

Status PostgresConnection::rollback()
{
    m_session->inTransaction = false;
    if (!m_session->live())
        return Status::success();
    return execute(QStringLiteral("ROLLBACK"));
}

Status PostgresConnection::requireInPlace()
{
    return reconnect(*m_session);
}

Status PostgresConnection::describe(const QString &anyCase, Relation *relation)
{
    // The program's names are matched without regard to letter case; a name that differs
    // only in case loses to the exact spelling.
    const std::unique_ptr<Query> found = query(QStringLiteral(R"(SELECT c.oid, c.relname, c.relkind
FROM pg_class AS c JOIN pg_namespace AS n ON n.oid = c.relnamespace
WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p', 'v') AND lower(c.relname) = lower(?)
ORDER BY c.relname = ? DESC LIMIT 1)"),
                                               Status::Operation::Read);
    if (Status status = found->run({anyCase, anyCase}); !status.ok())
        return status;
    if (!found->next())
        return Status::failure(Status::Kind::Unreadable,
                               QStringLiteral("no such table or query: %1").arg(anyCase));
    const qint64 oid = found->integer(0);
    *relation = {};
    relation->name = found->value(1).toString();
    const bool view = found->text(2) == "v";
    const std::unique_ptr<Query> columns = query(QStringLiteral(R"(SELECT attname, attidentity <> ''
FROM pg_attribute WHERE attrelid = ? AND attnum > 0 AND NOT attisdropped ORDER BY attnum)"),
                                                 Status::Operation::Read);
    if (Status status = columns->run({oid}); !status.ok())
        return status;
    QString entryOrder;
    while (columns->next()) {
        const QString column = columns->value(0).toString();
        if (columns->text(1) == "t")
            entryOrder = column;
        // The entry-order column after the given ones is the engine's, not the program's.
        if (column != schema::postgres::RowIdColumn)
            relation->columns << column;
    }
    if (!view && !entryOrder.isEmpty())
        relation->rowKey = u'"' + entryOrder + u'"';
    return columns->status();
}

QString PostgresConnection::equalsIgnoringCase(const QString &quotedColumn) const
{
    // Any column compares as text, as the file's engine compares a number with a text.
    return QStringLiteral("%1::text = ? COLLATE kelvara_nocase").arg(quotedColumn);
}

} // namespace store
