#include "store/Users.h"

#include "store/Database.h"
#include "store/Passwords.h"

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

Status write(const QString &sql, const QVariantList &values, qint64 *changed = nullptr)
{
    return Database::connection().execute(sql, values, Status::Operation::Write, changed);
}

} // namespace

Status readAll(QList<User> &users)
{
    users.clear();
    const std::unique_ptr<Query> query = Database::connection().query(
        QStringLiteral("SELECT rowid, \"Nama\", \"Password\" FROM \"TPassword\" ORDER BY rowid"),
        Status::Operation::Read);
    if (Status status = query->run(); !status.ok())
        return status;
    while (query->next())
        users.append({query->integer(0), query->value(1).toString(), query->value(2)});
    return query->status();
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
    return write(QStringLiteral("INSERT INTO \"TPassword\" (\"Nama\", \"Password\") VALUES (?, ?)"),
                 {name, hashed});
}

Status setPassword(qint64 id, const QString &password)
{
    QString hashed;
    if (Status status = hashOf(password, hashed); !status.ok())
        return status;
    qint64 changed = 0;
    Status status =
        write(QStringLiteral("UPDATE \"TPassword\" SET \"Password\" = ? WHERE rowid = ?"),
              {hashed, id}, &changed);
    if (status.ok() && changed != 1)
        status = Status::failure(Status::Kind::RecordGone, QStringLiteral("no such user"));
    return status;
}

Status remove(qint64 id, bool &lastUser)
{
    // The count is read by the delete itself.
    qint64 changed = 0;
    const Status status = write(QStringLiteral("DELETE FROM \"TPassword\" WHERE rowid = ? AND "
                                               "(SELECT count(*) FROM \"TPassword\") > 1"),
                                {id}, &changed);
    lastUser = status.ok() && changed != 1;
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
            if (status.ok())
                status = write(
                    QStringLiteral("UPDATE \"TPassword\" SET \"Password\" = ? WHERE rowid = ?"),
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
