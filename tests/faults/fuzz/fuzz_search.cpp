#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Snapshot.h"
#include "store/Values.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdlib>
#include <vector>

// Searches and filters over rows made of random text. The first line of an input holds the
// texts to look for, separated by tabs; each further line is a rank: code, wage, title. The
// snapshot's filter and the record set's search must agree with a plain check over the rows.

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The engine's NOCASE: only ASCII letters fold, and it compares no further than a nul.
bool equalNoCase(const QString &a, const QString &b)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    if (x.size() != y.size())
        return false;
    for (qsizetype i = 0; i < x.size(); ++i) {
        const auto fold = [](char c) {
            return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
        };
        if (x[i] == 0 && y[i] == 0)
            return true;
        if (fold(x[i]) != fold(y[i]))
            return false;
    }
    return true;
}

bool beginsWith(const QString &text, const QString &prefix)
{
    return text.toCaseFolded().startsWith(prefix.toCaseFolded());
}

void exec(const QString &sql, const QVariantList &values = {})
{
    const auto query = store::Database::connection().query(sql, store::Status::Operation::Write);
    require(query->status().ok());
    (void)query->run(values); // a duplicate code is simply not a row
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("fuzz.mdb"));
    require(store::Database::create(path).ok());
    store::Database::setPath(path);
    require(store::Database::open().ok());
    // Nothing here needs to survive a power cut.
    exec(QStringLiteral("PRAGMA synchronous = OFF"));
    exec(QStringLiteral("PRAGMA journal_mode = MEMORY"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(u'\n');
    const QStringList wanted = lines.first().split(u'\t');

    exec(QStringLiteral("BEGIN"));
    exec(QStringLiteral("DELETE FROM Peringkat"));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(u'\t');
        const QString wage = fields.value(1);
        exec(QStringLiteral("INSERT INTO Peringkat VALUES (?, ?, ?)"),
             {fields.value(0), wage.isEmpty() ? QVariant() : QVariant(store::readNumber(wage)),
              fields.size() > 2 ? QVariant(fields[2]) : QVariant()});
    }
    exec(QStringLiteral("COMMIT"));
    // The rows as a fresh query reads them, in entry order.
    std::vector<QVariantList> rows;
    const auto all = store::Database::connection().query(
        QStringLiteral("SELECT * FROM Peringkat ORDER BY rowid"), store::Status::Operation::Read);
    require(all->run().ok());
    while (all->next())
        rows.push_back({all->value(0), all->value(1), all->value(2)});

    store::Snapshot snapshot(QStringLiteral("Peringkat"));
    require(snapshot.refresh().ok());
    require(snapshot.rowCount() == int(rows.size()));
    for (int column = 0; column < 3; ++column) {
        // Typed one after another, as keystrokes narrow or widen the filter.
        for (const QString &prefix : wanted) {
            snapshot.setFilter(column, prefix);
            int row = 0;
            for (size_t r = 0; r < rows.size(); ++r) {
                const QVariant &cell = rows[r][column];
                if (cell.isNull() || !beginsWith(store::displayText(cell, false), prefix))
                    continue;
                require(row < snapshot.rowCount());
                require(snapshot.value(row, 0) == rows[r][0]);
                ++row;
            }
            require(row == snapshot.rowCount());
        }
    }

    store::Recordset records(QStringLiteral("Peringkat"));
    require(records.open().ok());
    for (const QString &value : wanted) {
        for (int column : {0, 2}) {
            const QString name = records.columnNames().at(column);
            require(records.findFirst(name, value).ok());
            int expected = -1;
            for (size_t r = 0; r < rows.size() && expected < 0; ++r) {
                if (!rows[r][column].isNull() && equalNoCase(rows[r][column].toString(), value))
                    expected = int(r);
            }
            require(records.noMatch() == (expected < 0));
            if (expected >= 0)
                require(records.absolutePosition() == expected);
        }
    }
    return 0;
}
