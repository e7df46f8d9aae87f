#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace accessimport {

// A value as the source gives it: its text, or no value (Null).
using Value = std::optional<QString>;
using Row = QList<Value>;

// What a source column holds, as far as the conversion cares.
enum class SourceKind { Text, Number, DateTime, Other };

struct SourceColumn
{
    QString name;
    SourceKind kind = SourceKind::Text;
};

// One table of a source, read once from the first row to the last.
class SourceTable
{
public:
    virtual ~SourceTable() = default;
    virtual QList<SourceColumn> columns() const = 0;
    // The number of rows the source announces; -1 when it cannot tell.
    virtual qint64 rowCount() const = 0;
    // Reads the next row into row, one value per column; false after the last row, and when
    // a row cannot be read (error() then says why).
    virtual bool next(Row &row) = 0;
    virtual QString error() const { return {}; }
};

// Where the rows come from: an Access file in the tool, a list of rows in the tests.
class Source
{
public:
    virtual ~Source() = default;
    virtual QStringList tableNames() const = 0;
    // The table of that exact name; null when the source cannot read it (error() says why).
    virtual std::unique_ptr<SourceTable> openTable(const QString &name) = 0;
    virtual QString error() const { return {}; }
};

} // namespace accessimport
