#pragma once

#include "store/Status.h"

#include <QList>
#include <QString>
#include <QVariant>

// The users in TPassword of the open database. Passwords are written as argon2id hashes;
// names compare without regard to letter case for every letter that has one (the table is
// small, so this happens in memory: the engine folds only A to Z).
namespace store::users {

struct User
{
    qint64 id = 0;
    QString name;
    // The stored password: a hash, a plain text from an older database, or no value.
    QVariant password;
};

// Every user in entry order.
Status readAll(QList<User> &users);

// The position of the first user whose name is this one, letter case aside; -1 when none.
qsizetype find(const QList<User> &users, const QString &name);

// Adds a user with the hash of the password. Refuses a blank name, an empty password and a
// name that a user already has.
Status add(const QString &name, const QString &password);
// Replaces a user's password with the hash of a new, non-empty one.
Status setPassword(qint64 id, const QString &password);
// Removes a user unless it is the last one; lastUser tells which happened.
Status remove(qint64 id, bool &lastUser);
// Replaces every plain-text password with its hash; changed counts them.
Status rehash(int &changed);

} // namespace store::users
