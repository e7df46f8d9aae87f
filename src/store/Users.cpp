#include "store/Users.h"

#include "store/Database.h"
#include "store/Passwords.h"

#include <QSqlError>
#include <QSqlQuery>

namespace store::users {

namespace {

Status hashAny(const QString &password, QString &hashed)
{
    hashed = passwords::hash(password);
    if (hashed.isEmpty())
        return Status::failure(Status::Kind::Other,
                               QStringLiteral("the password could not be hashed (out of memory)"));
    return Status::success();
}

// A new password must not be empty.
Status hashOf(const QString &password, QString &hashed)
{
    if (password.isEmpty())
        return Status::failure(Status::Kind::Empty, QStringLiteral("empty password"));
    return hashAny(password, hashed);
}

Status run(QSqlQuery &query, const QString &sql, const QVariantList &values)
{
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        return Status::fromSql(query.lastError(), Status::Operation::Write);
    return Status::success();
}

} // namespace

Status readAll(QList<User> &users)
{
    users.clear();
    QSqlQuery query(Database::connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT rowid, Nama, Password FROM TPassword ORDER BY rowid")))
        return Status::fromSql(query.lastError(), Status::Operation::Read);
    while (query.next())
        users.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2)});
    return Status::success();
}

qsizetype find(const QList<User> &users, const QString &name)
{
    for (qsizetype i = 0; i < users.size(); ++i) {
        if (users[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

Status add(const QString &name, const QString &password)
{
    if (name.trimmed().isEmpty())
        return Status::failure(Status::Kind::Empty, QStringLiteral("empty user name"));
    QString hashed;
    if (Status status = hashOf(password, hashed); !status.ok())
        return status;
    // One statement each, so that the demo data can add its user inside its own transaction.
    QList<User> existing;
    if (Status status = readAll(existing); !status.ok())
        return status;
    if (find(existing, name) >= 0)
        return Status::failure(Status::Kind::Duplicate,
                               QStringLiteral("user already exists: %1").arg(name));
    QSqlQuery query(Database::connection());
    return run(query, QStringLiteral("INSERT INTO TPassword (Nama, Password) VALUES (?, ?)"),
               {name, hashed});
}

Status setPassword(qint64 id, const QString &password)
{
    QString hashed;
    if (Status status = hashOf(password, hashed); !status.ok())
        return status;
    QSqlQuery query(Database::connection());
    Status status = run(query, QStringLiteral("UPDATE TPassword SET Password = ? WHERE rowid = ?"),
                        {hashed, id});
    if (status.ok() && query.numRowsAffected() != 1)
        status = Status::failure(Status::Kind::RecordGone, QStringLiteral("no such user"));
    return status;
}

Status remove(qint64 id, bool &lastUser)
{
    // The count is read by the delete itself.
    QSqlQuery query(Database::connection());
    const Status status = run(query,
                              QStringLiteral("DELETE FROM TPassword WHERE rowid = ? AND "
                                             "(SELECT count(*) FROM TPassword) > 1"),
                              {id});
    lastUser = status.ok() && query.numRowsAffected() != 1;
    return status;
}

Status rehash(int &changed)
{
    changed = 0;
    int hashedRows = 0;
    const Status status = inTransaction([&] {
        QList<User> existing;
        Status status = readAll(existing);
        for (const User &user : existing) {
            const QString stored = user.password.toString();
            if (!status.ok() || user.password.isNull() || passwords::isHash(stored))
                continue;
            // What is stored is hashed as it stands, an empty password included: each user
            // signs in afterwards exactly as before.
            QString hashed;
            status = hashAny(stored, hashed);
            QSqlQuery query(Database::connection());
            if (status.ok())
                status =
                    run(query, QStringLiteral("UPDATE TPassword SET Password = ? WHERE rowid = ?"),
                        {hashed, user.id});
            hashedRows += status.ok() ? 1 : 0;
        }
        return status;
    });
    if (status.ok())
        changed = hashedRows;
    return status;
}

} // namespace store::users
