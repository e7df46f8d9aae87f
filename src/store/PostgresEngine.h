#pragma once

#include "store/Engine.h"

#include <QList>
#include <QPair>

#include <memory>

namespace store {

struct PostgresSession;

// The shared engine, through PostgreSQL's client library (libpq) and nothing else.
class PostgresConnection final : public Connection
{
public:
    // libpq's own connection keywords and values (host, port, dbname, user, sslmode ...).
    using Parameters = QList<QPair<QByteArray, QByteArray>>;

    // Connects; a lock waits at most three seconds, dates come as ISO text. The connection is
    // null when the status is a failure, whose text names the server (shownName) and tells
    // libpq's reason.
    static std::unique_ptr<PostgresConnection> open(const Parameters &parameters,
                                                    const QString &shownName, Status *status);
    ~PostgresConnection() override;
    PostgresConnection(const PostgresConnection &) = delete;
    PostgresConnection &operator=(const PostgresConnection &) = delete;

    std::unique_ptr<Query> query(const QString &sql, Status::Operation operation) override;
    // A transaction begins on a live connection: a lost one is opened again first.
    Status begin() override;
    Status commit() override;
    Status rollback() override;
    // Not kept by this engine: an insert names its key in RETURNING.
    qint64 lastInsertKey() const override { return -1; }
    // Opens a lost connection again, outside a transaction; fails when the server is still
    // out of reach.
    Status requireInPlace() override;
    // The largest field the server stores: 1 GB.
    qint64 longestValue() const override { return 1073741823; }
    Status describe(const QString &anyCase, Relation *relation) override;
    QString equalsIgnoringCase(const QString &quotedColumn) const override;

private:
    explicit PostgresConnection(std::shared_ptr<PostgresSession> session);
    std::shared_ptr<PostgresSession> m_session;
};

// What a failure of the server means, from its SQLSTATE and, for a check, the name of the
// constraint; never from the wording, which is in the server's language.
Status postgresFailure(const QByteArray &state, const QByteArray &constraint,
                       const QString &engineText, Status::Operation operation);

} // namespace store
