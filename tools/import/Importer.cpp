#include "Importer.h"

#include "RowRules.h"
#include "ScratchGuard.h"
#include "TableWriter.h"
#include "Target.h"

#include "store/Database.h"
#include "store/Location.h"
#include "store/Passwords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <vector>

namespace accessimport {

using store::Status;

namespace {

// One target table and the source table that fills it.
struct Plan
{
    const TargetTable *target = nullptr;
    // The table's name in the source.
    QString name;
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
    plan.name = names[at];
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

// A user's password is never shown, nor written to the list of refused rows: a refused
// user is named only.
bool isSecret(const TargetTable &target, const QString &column)
{
    return target.name == QLatin1String("TPassword") && column == QLatin1String("Password");
}

Refusal refusal(const Plan &plan, qint64 row, const QString &rule, const Row &values)
{
    Refusal refused{plan.target->name, row, rule, {}, {}};
    for (int at : plan.present) {
        const QString &name = plan.target->columns[at].name;
        if (isSecret(*plan.target, name))
            continue;
        refused.columns << name;
        refused.values << values.value(at);
    }
    return refused;
}

// Access keeps passwords as plain text; the new database keeps only their hashes. A user
// without a password stays without one. Returns why a row cannot go in, or empty.
QString hashPassword(const TargetTable &target, QVariantList &converted)
{
    if (target.name != QLatin1String("TPassword"))
        return {};
    const int at = target.columnIndex(QStringLiteral("Password"));
    if (at < 0 || at >= converted.size() || converted[at].isNull())
        return {};
    const QString hashed = store::passwords::hash(converted[at].toString());
    if (hashed.isEmpty())
        return QStringLiteral("Password tidak dapat di-hash (memori tidak cukup).");
    converted[at] = hashed;
    return {};
}

// Rows read so far of all the rows the source's tables count, for the progress line.
struct Counter
{
    qint64 done = 0;
    qint64 total = 0;
};
using Tick = std::function<void(const QString &table, const Counter &counter)>;

QString stopped(const Status &status)
{
    return QStringLiteral("Pemindahan data berhenti:\n%1").arg(status.message());
}

// Every row the source's table counts must come across; a damaged page hides rows without a
// word from the library, so the count read is compared with the count the table announces.
QString shortfall(const QString &table, qint64 counted, qint64 read)
{
    return QStringLiteral("Tabel %1 di file Access rusak: kepala tabel menghitung %2 baris, "
                          "yang dapat dibaca %3 baris. Tidak ada yang ditulis.")
        .arg(table)
        .arg(counted)
        .arg(read);
}

// Copies one table; returns why the import cannot go on, or empty.
QString copyTable(Plan &plan, RowRules &rules, Outcome &outcome, Counter &counter, const Tick &tick)
{
    const TargetTable &target = *plan.target;
    TableWriter writer(target);
    Status status = writer.prepare(plan.present);
    if (!status.ok())
        return stopped(status);
    Tally tally{target.name};
    Row source;
    QVariantList converted;
    while (plan.table->next(source)) {
        if (ScratchGuard::interrupted())
            return QStringLiteral("Pemindahan data dihentikan. Tidak ada yang ditulis.");
        ++tally.read;
        ++counter.done;
        const Row values = pick(source, plan.sourceColumn);
        QString rule = rules.check(target, values, converted);
        if (rule.isEmpty())
            rule = hashPassword(target, converted);
        if (rule.isEmpty()) {
            status = writer.write(pick(converted, plan.present));
            if (isFatal(status))
                return stopped(status);
            if (!status.ok())
                rule = ruleOf(status);
        }
        if (rule.isEmpty()) {
            rules.accept(target, converted, tally.read);
            ++tally.written;
        } else {
            outcome.refusals << refusal(plan, tally.read, rule, values);
        }
        tick(target.name, counter);
    }
    outcome.tallies << tally;
    if (!plan.table->error().isEmpty())
        return plan.table->error();
    const qint64 counted = plan.table->rowCount();
    if (counted >= 0 && counted != tally.read)
        return shortfall(plan.name, counted, tally.read);
    return {};
}

// Copies every table in one transaction on the open database. Keeps the rows when none
// was refused or refused rows are to be skipped; rolls everything back otherwise. Returns
// why the import stopped, or empty.
QString copyAll(std::vector<Plan> &plans, bool skipBad, Outcome &outcome, const Tick &tick)
{
    store::Connection &db = store::Database::connection();
    if (const Status begun = db.begin(); !begun.ok())
        return stopped(begun);
    RowRules rules(db.longestValue());
    Counter counter;
    for (const Plan &plan : plans)
        counter.total += std::max<qint64>(plan.table->rowCount(), 0);
    QString problem;
    for (Plan &plan : plans) {
        problem = copyTable(plan, rules, outcome, counter, tick);
        if (!problem.isEmpty())
            break;
    }
    const bool keep = problem.isEmpty() && (skipBad || outcome.refusals.isEmpty());
    if (keep) {
        const Status committed = db.commit();
        if (committed.ok()) {
            outcome.written = true;
            return {};
        }
        problem = stopped(committed);
    }
    (void)db.rollback();
    return problem;
}

QString alreadyThere(const QString &path)
{
    return QStringLiteral("Database tujuan sudah ada: %1\nDatabase yang ada tidak akan "
                          "ditimpa; pindahkan dulu atau pilih file lain.")
        .arg(path);
}

// Matches the six tables; returns why they do not match.
QString planTables(Source &source, std::vector<Plan> &plans, QStringList &ignored)
{
    for (const TargetTable &target : targetTables()) {
        Plan plan;
        plan.target = &target;
        const QString problem = planTable(source, plan, ignored);
        if (!problem.isEmpty())
            return problem;
        plans.push_back(std::move(plan));
    }
    return {};
}

QString plan(Source &source, const QString &path, std::vector<Plan> &plans, QStringList &ignored)
{
    if (store::placeOf(path) != store::Place::Nothing)
        return alreadyThere(path);
    return planTables(source, plans, ignored);
}

void removeDatabaseFiles(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

// The new database is built in a hidden file beside the target, so that the target appears
// only complete, and in the same file system, so that a rename puts it in place at once.
QString scratchPathFor(const QString &path)
{
    const QFileInfo info(path);
    for (;;) {
        const QString name =
            QStringLiteral(".%1.impor-%2")
                .arg(info.fileName())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const QString scratch = info.absoluteDir().filePath(name);
        if (!QFileInfo::exists(scratch))
            return scratch;
    }
}

// Puts the finished database in place; a file that appeared at the target meanwhile is
// never replaced.
QString putInPlace(const QString &scratch, const QString &path)
{
    if (store::placeOf(path) != store::Place::Nothing)
        return alreadyThere(path);
    QFile file(scratch);
    if (!file.rename(path))
        return QStringLiteral("Database baru tidak dapat dipindahkan ke %1: %2")
            .arg(path, file.errorString());
    syncFolder(QFileInfo(path).absolutePath());
    return {};
}

// Creates the database at scratch and copies every table into it; returns why it stopped.
QString build(std::vector<Plan> &plans, const QString &scratch, bool skipBad, Outcome &outcome,
              const Tick &tick)
{
    const Status created = store::Database::create(scratch);
    if (!created.ok())
        return QStringLiteral("Database baru tidak dapat dibuat: %1\n%2")
            .arg(scratch, created.message());
    const QString previous = store::Database::path();
    store::Database::setPath(scratch);
    const Status opened = store::Database::open();
    const QString problem = opened.ok() ? copyAll(plans, skipBad, outcome, tick) : stopped(opened);
    store::Database::close();
    store::Database::setPath(previous);
    return problem;
}

} // namespace

void Importer::setProgress(qint64 every, Progress progress)
{
    m_every = every;
    m_progress = std::move(progress);
}

void Importer::tick(const QString &table, qint64 done, qint64 total) const
{
    if (m_progress && m_every > 0 && (done % m_every == 0 || done == total))
        m_progress(table, done, total);
}

Outcome Importer::runOnServer(const QString &serverFile)
{
    Outcome outcome;
    std::vector<Plan> plans;
    outcome.error = planTables(m_source, plans, outcome.ignoredColumns);
    if (!outcome.error.isEmpty())
        return outcome;
    const Tick tick = [this](const QString &table, const Counter &counter) {
        this->tick(table, counter.done, counter.total);
    };
    QString problem;
    const Status status = store::Database::createOnServer(serverFile, [&] {
        problem = copyAll(plans, m_skipBad, outcome, tick);
        // The leave records came with their numbers: the server numbers new ones after them.
        if (problem.isEmpty() && outcome.written) {
            const Status numbered = store::Database::connection().execute(QStringLiteral(
                R"(SELECT setval(pg_get_serial_sequence('"Cuti"', 'IdCuti'), max("IdCuti")) )"
                R"(FROM "Cuti")"));
            if (!numbered.ok())
                problem = stopped(numbered);
        }
        if (problem.isEmpty() && outcome.written)
            return Status::success();
        return Status::failure(Status::Kind::Other, problem);
    });
    store::Database::close();
    if (!problem.isEmpty())
        outcome.error = problem;
    else if (!status.ok() && outcome.refusals.isEmpty())
        outcome.error = QStringLiteral("Database di server tidak dapat dipakai: %1\n%2")
                            .arg(store::Database::describe(), status.message());
    if (!outcome.error.isEmpty())
        outcome.written = false;
    return outcome;
}

Outcome Importer::run(const QString &path)
{
    Outcome outcome;
    std::vector<Plan> plans;
    outcome.error = plan(m_source, path, plans, outcome.ignoredColumns);
    if (!outcome.error.isEmpty())
        return outcome;

    const QString scratch = scratchPathFor(path);
    const ScratchGuard guard(scratch);
    const Tick tick = [this](const QString &table, const Counter &counter) {
        this->tick(table, counter.done, counter.total);
    };
    outcome.error = build(plans, scratch, m_skipBad, outcome, tick);
    if (outcome.error.isEmpty() && outcome.written)
        outcome.error = putInPlace(scratch, path);
    if (!outcome.error.isEmpty())
        outcome.written = false;
    removeDatabaseFiles(scratch);
    return outcome;
}

} // namespace accessimport
