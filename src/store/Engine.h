#pragma once

#include "store/Status.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

namespace store {

// How the engine stores a value it hands back.
enum class ValueType { Null, Integer, Real, Text, Blob };

// One statement on a connection. Values are bound by position, in order; a statement that
// reads is then read row by row. Every failure comes back classified, with the engine's text.
class Query
{
public:
    virtual ~Query() = default;

    // Runs the statement with these values; a read stands before its first row afterwards.
    // A statement that could not be prepared fails here with the reason.
    virtual Status run(const QVariantList &values = {}) = 0;
    // Moves to the next row; false at the end and after a failure, which status() tells.
    virtual bool next() = 0;
    // The last failure; before the first run, whether the statement could be prepared.
    virtual Status status() const = 0;
    // Lets go of the rows not read yet, and of the engine's read lock with them.
    virtual void finish() = 0;
    // Rows the last run wrote, changed or deleted.
    virtual qint64 rowsChanged() const = 0;

    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    // The current row's values. The typed reads serve large reads without a QVariant per
    // value; text() gives UTF-8 and blob() the bytes, both valid until the next row.
    virtual ValueType type(int column) const = 0;
    virtual qint64 integer(int column) const = 0;
    virtual double real(int column) const = 0;
    virtual QByteArrayView text(int column) const = 0;
    virtual QByteArrayView blob(int column) const = 0;
    // A number as a qint64 or double, a text as a QString, bytes as a QByteArray, no value
    // as a null QString.
    QVariant value(int column) const;
};

// A table or view as the engine holds it.
struct Relation
{
    QString name;        // its own spelling
    QStringList columns; // in order, without an engine's own entry-order column
    // What names a row's key, ascending in entry order; empty for a view.
    QString rowKey;
};

// An open database: the one way the store reaches an engine. Each engine implements it once.
class Connection
{
public:
    virtual ~Connection() = default;

    // Prepares a statement; operation tells what a failure means (a refused reference is a
    // missing code on a write and a code in use on a delete). Never null.
    virtual std::unique_ptr<Query> query(const QString &sql, Status::Operation operation) = 0;

    virtual Status begin() = 0;
    virtual Status commit() = 0;
    virtual Status rollback() = 0;
    // The row key the last insert on this connection gave its row.
    virtual qint64 lastInsertKey() const = 0;
    // Fails with Kind::Gone when the database is no longer where it was opened.
    virtual Status requireInPlace() = 0;
    // The most bytes the engine takes in one value; 0 when the database is not open.
    virtual qint64 longestValue() const = 0;
    // The table or view of this name, found without regard to letter case; fails with
    // Kind::Unreadable when there is none.
    virtual Status describe(const QString &anyCase, Relation *relation) = 0;
    // A condition: the column equals the next bound value without regard to letter case.
    virtual QString equalsIgnoringCase(const QString &quotedColumn) const = 0;

    // Runs the statements in one transaction: all of them, or on a failure none.
    Status executeAll(const QStringList &statements);
    // Runs one statement with bound values, reads no rows.
    Status execute(const QString &sql, const QVariantList &values = {},
                   Status::Operation operation = Status::Operation::Write,
                   qint64 *changed = nullptr);
};

} // namespace store
