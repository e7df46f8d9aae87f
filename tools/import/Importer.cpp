#include "Importer.h"

#include "RowRules.h"
#include "TableWriter.h"
#include "Target.h"

#include "store/Database.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

#include <vector>

namespace migration {

using store::Status;

namespace {

// One target table and the source table that fills it.
struct Plan
{
    const TargetTable *target = nullptr;
    std::unique_ptr<SourceTable> table;
    // Per target column: its position in the source table, -1 when the source lacks it.
    QList<int> sourceColumn;
    // The target columns the source has, in their order.
    QList<int> present;
};

int indexOf(const QStringList &names, const QString &wanted)
{
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString planColumns(const QString &sourceName, const QList<SourceColumn> &columns, Plan &plan,
                    QStringList &ignored)
{
    QStringList names;
    for (const SourceColumn &column : columns)
        names << column.name;
    const TargetTable &target = *plan.target;
    for (int i = 0; i < target.columns.size(); ++i) {
        const TargetColumn &column = target.columns[i];
        const int at = indexOf(names, column.name);
        if (at < 0 && !column.optional)
            return QStringLiteral("Tabel %1 di sumber tidak punya kolom %2.")
                .arg(sourceName, column.name);
        if (at >= 0 && columns[at].kind == SourceKind::Other)
            return QStringLiteral("Kolom %1 pada tabel %2 berisi data biner yang tidak dapat "
                                  "dipindahkan.")
                .arg(names[at], sourceName);
        plan.sourceColumn << at;
        if (at >= 0)
            plan.present << i;
    }
    for (const QString &name : names) {
        if (target.columnIndex(name) < 0)
            ignored << sourceName + QLatin1Char('.') + name;
    }
    return {};
}

// Finds the table in the source without regard to letter case and matches its columns.
QString planTable(Source &source, Plan &plan, QStringList &ignored)
{
    const QStringList names = source.tableNames();
    const int at = indexOf(names, plan.target->name);
    if (at < 0)
        return QStringLiteral("Sumber tidak punya tabel %1.").arg(plan.target->name);
    plan.table = source.openTable(names[at]);
    if (!plan.table)
        return source.error();
    return planColumns(names[at], plan.table->columns(), plan, ignored);
}

// A refusal by the engine that says nothing about the row: the import cannot go on.
bool isFatal(const Status &status)
{
    using Kind = Status::Kind;
    switch (status.kind()) {
    case Kind::Busy:
    case Kind::ReadOnly:
    case Kind::Full:
    case Kind::Unreadable:
    case Kind::Missing:
        return true;
    default:
        return false;
    }
}

QString ruleOf(const Status &status)
{
    return status.explanation() + QStringLiteral(" (") + status.engineText() + QLatin1Char(')');
}

template <typename T> QList<T> pick(const QList<T> &values, const QList<int> &positions)
{
    QList<T> picked;
    for (int at : positions)
        picked << values.value(at);
    return picked;
}

Refusal refusal(const Plan &plan, qint64 row, const QString &rule, const Row &values)
{
    QStringList columns;
    for (int at : plan.present)
        columns << plan.target->columns[at].name;
    return {plan.target->name, row, rule, columns, pick(values, plan.present)};
}

using Tick = std::function<void(const QString &table, qint64 done, qint64 total)>;

// Copies one table; returns a failure only when the import cannot go on.
Status copyTable(Plan &plan, RowRules &rules, Outcome &outcome, const Tick &tick)
{
    const TargetTable &target = *plan.target;
    TableWriter writer(target);
    Status status = writer.prepare(plan.present);
    if (!status.ok())
        return status;
    Tally tally{target.name};
    const qint64 total = plan.table->rowCount();
    Row source;
    QVariantList converted;
    while (plan.table->next(source)) {
        ++tally.read;
        const Row values = pick(source, plan.sourceColumn);
        QString rule = rules.check(target, values, converted);
        if (rule.isEmpty()) {
            status = writer.write(pick(converted, plan.present));
            if (isFatal(status))
                return status;
            if (!status.ok())
                rule = ruleOf(status);
        }
        if (rule.isEmpty()) {
            rules.accept(target, converted, tally.read);
            ++tally.written;
        } else {
            outcome.refusals << refusal(plan, tally.read, rule, values);
        }
        tick(target.name, tally.read, total);
    }
    outcome.tallies << tally;
    return Status::success();
}

// Copies every table in one transaction on the open database. Keeps the rows when none
// was refused or refused rows are to be skipped; rolls everything back otherwise.
Status copyAll(std::vector<Plan> &plans, bool skipBad, Outcome &outcome, const Tick &tick)
{
    QSqlDatabase db = store::Database::connection();
    if (!db.transaction())
        return Status::fromSql(db.lastError(), Status::Operation::Write);
    RowRules rules;
    Status status;
    for (Plan &plan : plans) {
        status = copyTable(plan, rules, outcome, tick);
        if (!status.ok())
            break;
    }
    const bool keep = status.ok() && (skipBad || outcome.refusals.isEmpty());
    if (keep && db.commit()) {
        outcome.written = true;
        return status;
    }
    if (keep)
        status = Status::fromSql(db.lastError(), Status::Operation::Write);
    db.rollback();
    return status;
}

// Matches the six tables and creates the empty database; returns why it could not.
QString prepare(Source &source, const QString &path, std::vector<Plan> &plans, QStringList &ignored)
{
    if (QFileInfo::exists(path))
        return QStringLiteral("Database tujuan sudah ada: %1\nDatabase yang ada tidak akan "
                              "ditimpa; pindahkan dulu atau pilih file lain.")
            .arg(path);
    for (const TargetTable &target : targetTables()) {
        Plan plan;
        plan.target = &target;
        const QString problem = planTable(source, plan, ignored);
        if (!problem.isEmpty())
            return problem;
        plans.push_back(std::move(plan));
    }
    const Status created = store::Database::create(path);
    if (!created.ok())
        return QStringLiteral("Database baru tidak dapat dibuat: %1\n%2")
            .arg(path, created.message());
    return {};
}

void removeDatabaseFiles(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

void Importer::setProgress(qint64 every, Progress progress)
{
    m_every = every;
    m_progress = std::move(progress);
}

Outcome Importer::run(const QString &path)
{
    Outcome outcome;
    std::vector<Plan> plans;
    outcome.error = prepare(m_source, path, plans, outcome.ignoredColumns);
    if (!outcome.error.isEmpty())
        return outcome;

    const QString previous = store::Database::path();
    store::Database::setPath(path);
    Status status = store::Database::open();
    if (status.ok()) {
        status = copyAll(plans, m_skipBad, outcome,
                         [this](const QString &table, qint64 done, qint64 total) {
                             if (m_progress && m_every > 0 && done % m_every == 0)
                                 m_progress(table, done, total);
                         });
    }
    if (!status.ok())
        outcome.error = QStringLiteral("Pemindahan data berhenti:\n%1").arg(status.message());
    store::Database::close();
    store::Database::setPath(previous);
    if (!outcome.written)
        removeDatabaseFiles(path);
    return outcome;
}

} // namespace migration
