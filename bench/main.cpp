// kelvara-bench: opens the program's real windows and reports on a large generated database
// (a file, or the same rows in the PostgreSQL database of --server FILE) and times them
// beside the bare engine doing the same reads.

#include "BenchData.h"
#include "Timing.h"

#include "leave/FCuti.h"
#include "masters/Fdepartemen.h"
#include "masters/Fkartucuti.h"
#include "masters/Fpegawai.h"
#include "masters/Fperingkat.h"
#include "platform/DataCombo.h"
#include "platform/FontSubstitutes.h"
#include "platform/Messages.h"
#include "platform/WindowRegistry.h"
#include "platform/reportengine/Layout.h"
#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/Spreadsheet.h"
#include "reports/DataReport2.h"
#include "reports/Dialog.h"
#include "reports/PaymentReports.h"
#include "reports/ReportLayouts.h"
#include "store/Backup.h"
#include "store/DataEnvironment.h"
#include "store/Database.h"
#include "store/History.h"
#include "store/Schema.h"
#include "store/SchemaPostgres.h"
#include "store/Snapshot.h"
#include "store/SqliteEngine.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using platform::WindowRegistry;

namespace {

// Answers every message box at once, as a user pressing Enter would.
class QuietDialogs : public platform::Messages
{
public:
    platform::Answer message(const QString &, const QString &, platform::Icon,
                             platform::Buttons buttons) override
    {
        return buttons == platform::Buttons::YesNo ? platform::Answer::Yes : platform::Answer::Ok;
    }
    QString input(const QString &, const QString &) override { return {}; }
};

// The bare engine on its own connection: the same reads without the program around them.
class Engine
{
public:
    explicit Engine(const QString &path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~Engine() { sqlite3_close(m_db); }

    // Steps through every row and touches every column.
    qint64 readAll(const QByteArray &sql) const
    {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
        qint64 bytes = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const int columns = sqlite3_column_count(stmt);
            for (int c = 0; c < columns; ++c)
                bytes += touch(stmt, c);
        }
        sqlite3_finalize(stmt);
        return bytes;
    }
    // Reads a value in its own kind: asking a number for its bytes would make the engine
    // format it as text, work the program never asks for.
    static qint64 touch(sqlite3_stmt *stmt, int column)
    {
        switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            return sqlite3_column_int64(stmt, column) & 1;
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt, column) > 0;
        case SQLITE_NULL:
            return 0;
        default:
            return sqlite3_column_bytes(stmt, column);
        }
    }
    void exec(const QByteArray &sql) const
    {
        sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr);
    }
    std::vector<QByteArray> column(const QByteArray &sql) const
    {
        std::vector<QByteArray> values;
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            values.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        return values;
    }

private:
    sqlite3 *m_db = nullptr;
};

void settle()
{
    QCoreApplication::processEvents();
}

template <typename W> QWidget *show()
{
    QWidget *window = WindowRegistry::show<W>();
    settle();
    return window;
}

void click(QWidget *window, const QString &button)
{
    window->findChild<QAbstractButton *>(button)->click();
}

void setText(QWidget *window, const QString &name, const QString &text)
{
    QWidget *w = window->findChild<QWidget *>(name);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->setEditText(text);
    else if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->setText(text);
}

struct Options
{
    int rows = 100000;
    int departments = 10;
    int runs = 5;
    // A server file naming an empty PostgreSQL database: the program then works on the same
    // rows there, while the bare engine's column stays the file's.
    QString server;
};

Options parse(int argc, char **argv)
{
    Options o;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--rows") == 0)
            o.rows = std::max(100, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--departments") == 0)
            o.departments = std::max(10, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--runs") == 0)
            o.runs = std::max(5, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--server") == 0)
            o.server = QString::fromLocal8Bit(argv[++i]);
    }
    return o;
}

class Bench
{
public:
    Bench(const Options &options, const QString &path) : m_o(options), m_path(path), m_engine(path)
    {
    }

    void run()
    {
        // Memory first, while the process holds nothing that an earlier step left behind.
        memory();
        windows();
        saves();
        filters();
        searches();
        command();
        reports();
        spreadsheet();
        dailyBackup();
    }
    const std::vector<Measurement> &results() const { return m_results; }

private:
    void add(const QString &operation, double program, double engine, double target,
             const char *unit = "ms")
    {
        m_results.push_back({operation, program, engine, target, unit});
        std::fprintf(stderr, "  %s: %.2f %s\n", qPrintable(operation), program, unit);
    }

    double engineRead(const QByteArray &table, const QByteArray &browse = {})
    {
        return medianMs(
            [&] {
                m_engine.readAll("SELECT rowid FROM \"" + table + "\"");
                if (!browse.isEmpty())
                    m_engine.readAll("SELECT * FROM \"" + browse + "\"");
            },
            m_o.runs);
    }

    template <typename W>
    void openWindow(const QString &name, const QByteArray &table, const QByteArray &browse)
    {
        const double program =
            medianMs([] { show<W>(); }, m_o.runs, [] { WindowRegistry::closeAll(); });
        add(QStringLiteral("open %1").arg(name), program, engineRead(table, browse), 300);
    }

    void windows()
    {
        openWindow<Fdepartemen>(QStringLiteral("Fdepartemen"), "Departemen", "Departemen");
        openWindow<Fperingkat>(QStringLiteral("Fperingkat"), "Peringkat", "Peringkat");
        openWindow<Fpegawai>(QStringLiteral("Fpegawai"), "Pegawai", "Pegawai");
        openWindow<Fkartucuti>(QStringLiteral("Fkartucuti"), "Periode", {});
        const double program =
            medianMs([] { show<FCuti>(); }, m_o.runs, [] { WindowRegistry::closeAll(); });
        const double engine = medianMs(
            [&] {
                m_engine.readAll("SELECT rowid FROM Cuti");
                m_engine.readAll("SELECT Nip FROM Pegawai");
                m_engine.readAll("SELECT * FROM Periode");
                m_engine.readAll("SELECT * FROM QupahSisaCuti");
            },
            m_o.runs);
        add(QStringLiteral("open FCuti"), program, engine, 300);
        WindowRegistry::closeAll();
    }

    // Turns the history's recording of one table off or on again, for the program's connection:
    // the file's triggers live on the connection, the server's on the table.
    static void recordHistory(const QByteArray &table, bool on)
    {
        store::Connection &db = store::Database::connection();
        const QString name = QString::fromLatin1(table);
        if (store::Database::onServer()) {
            (void)db.execute(
                QStringLiteral("ALTER TABLE \"%1\" %2 TRIGGER \"Riwayat_%1\"")
                    .arg(name, on ? QStringLiteral("ENABLE") : QStringLiteral("DISABLE")));
            return;
        }
        for (const char *event : {"tambah", "ubah", "hapus"})
            (void)db.execute(QStringLiteral("DROP TRIGGER IF EXISTS temp.\"Riwayat_%1_%2\"")
                                 .arg(name, QLatin1String(event)));
        for (const QString &sql : store::history::fileRecorders()) {
            if (on && sql.contains(QStringLiteral("\"Riwayat_%1_").arg(name)))
                (void)db.execute(sql);
        }
    }

    // The same save timed with the history recorded and without it: its cost beside the save.
    template <typename W>
    void save(const QString &name, const QString &field, const QByteArray &table,
              const QByteArray &browse, const QByteArray &update)
    {
        const double engine =
            saveOnce<W>(QStringLiteral("save in %1").arg(name), field, table, browse, update, -1);
        recordHistory(table, false);
        saveOnce<W>(QStringLiteral("save in %1 without history").arg(name), field, table, browse,
                    update, engine);
        recordHistory(table, true);
    }

    template <typename W>
    double saveOnce(const QString &operation, const QString &field, const QByteArray &table,
                    const QByteArray &browse, const QByteArray &update, double engineMs)
    {
        QWidget *window = show<W>();
        int n = 0;
        const double program = medianMs(
            [&] {
                click(window, QStringLiteral("cmdRubah"));
                setText(window, field,
                        field == QStringLiteral("txtcuti") ? QStringLiteral("0")
                                                           : QStringLiteral("Nama %1").arg(++n));
                click(window, QStringLiteral("cmdSimpan"));
                settle();
            },
            m_o.runs);
        const double engine = engineMs >= 0
                                  ? engineMs
                                  : medianMs(
                                        [&] {
                                            m_engine.exec("BEGIN; " + update + "; COMMIT");
                                            m_engine.readAll("SELECT rowid FROM \"" + table + "\"");
                                            m_engine.readAll("SELECT * FROM \"" + browse + "\"");
                                        },
                                        m_o.runs);
        add(operation, program, engine, 300);
        WindowRegistry::closeAll();
        return engine;
    }

    void saves()
    {
        save<Fdepartemen>(QStringLiteral("Fdepartemen"), QStringLiteral("txtKeterangan"),
                          "Departemen", "Departemen",
                          "UPDATE Departemen SET Keterangan = Keterangan WHERE rowid = 10");
        save<Fpegawai>(
            QStringLiteral("Fpegawai"), QStringLiteral("txtNama"), "Pegawai", "Pegawai",
            "UPDATE Pegawai SET Nama = Nama WHERE rowid = (SELECT max(rowid) FROM Pegawai)");
        save<FCuti>(
            QStringLiteral("FCuti"), QStringLiteral("txtcuti"), "Cuti", "QupahSisaCuti",
            "UPDATE Cuti SET SisaCuti = SisaCuti WHERE rowid = (SELECT max(rowid) FROM Cuti)");
    }

    template <typename W> void filter(const QString &name, const QByteArray &column)
    {
        QWidget *window = show<W>();
        window->findChild<QComboBox *>(QStringLiteral("Combo1"))->setCurrentIndex(1); // Nama
        auto *text = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
        const double program = medianMs(
            [&] {
                text->setText(QStringLiteral("B"));
                settle();
            },
            m_o.runs,
            [&] {
                text->setText(QString());
                settle();
            });
        const std::vector<QByteArray> values = m_engine.column(column);
        const double engine = medianMs(
            [&] {
                int hits = 0;
                for (const QByteArray &v : values)
                    hits += qstrnicmp(v.constData(), "B", 1) == 0;
                if (hits < 0)
                    std::puts("");
            },
            m_o.runs);
        add(QStringLiteral("filter keystroke in %1").arg(name), program, engine, 30);
        WindowRegistry::closeAll();
    }

    void filters()
    {
        filter<Fpegawai>(QStringLiteral("Fpegawai"), "SELECT Nama FROM Pegawai");
        filter<FCuti>(QStringLiteral("FCuti"), "SELECT Nama FROM QupahSisaCuti");
    }

    double engineFind(const QString &nip)
    {
        const QByteArray sql =
            "SELECT rowid FROM Pegawai WHERE Nip = '" + nip.toUtf8() + "' COLLATE NOCASE";
        return medianMs([&] { m_engine.readAll(sql); }, m_o.runs);
    }

    void searches()
    {
        const QString last = benchNip(m_o.rows - 1);
        QWidget *staff = show<Fpegawai>();
        auto *data = staff->findChild<platform::DataControl *>(QStringLiteral("Data1"));
        const double find = medianMs([&] { (void)data->findFirst(QStringLiteral("Nip"), last); },
                                     m_o.runs, [&] { (void)data->moveFirst(); });
        add(QStringLiteral("FindFirst last employee"), find, engineFind(last), 5);
        QWidget *leave = show<FCuti>();
        auto *nip = leave->findChild<platform::DataCombo *>(QStringLiteral("DataCombo1"));
        const double lookup = medianMs([&] { nip->setEditText(last); }, m_o.runs,
                                       [&] { nip->setEditText(QString()); });
        add(QStringLiteral("name look-up in FCuti"), lookup, engineFind(last), 5);
        WindowRegistry::closeAll();
    }

    void command()
    {
        const double program = medianMs(
            [] { store::DataEnvironment::instance().command(QStringLiteral("LaporanUpah")); },
            m_o.runs);
        const double engine =
            medianMs([&] { m_engine.readAll("SELECT * FROM QupahSisaCuti"); }, m_o.runs);
        add(QStringLiteral("open command LaporanUpah"), program, engine, 300);
    }

    double engineReadAll(const QByteArray &source)
    {
        return medianMs([&] { m_engine.readAll("SELECT * FROM " + source); }, m_o.runs);
    }

    // A report's preview from the shortcut to the window on screen, its command's read
    // included; at a million rows the slip may take longer.
    template <typename W> void openReport(const QString &name, const QByteArray &source)
    {
        const double program =
            medianMs([] { show<W>(); }, m_o.runs, [] { WindowRegistry::closeAll(); });
        add(QStringLiteral("open %1 preview").arg(name), program, engineReadAll(source),
            m_o.rows > 100000 ? 2000 : 300);
        WindowRegistry::closeAll();
    }

    void reports()
    {
        openReport<DataReport1>(QStringLiteral("DataReport1"), "QupahSisaCuti");
        openReport<Laporanpersonalia>(QStringLiteral("Laporanpersonalia"), "QlapPersonalia");
        openReport<DataReport2>(QStringLiteral("DataReport2"), "QupahSisaCuti");
        // On the server a view of the throwaway database: the program finds only its schema's.
        (void)store::Database::connection().execute(
            QStringLiteral("CREATE %1 VIEW \"Bench10k\" AS SELECT * FROM \"QupahSisaCuti\" "
                           "LIMIT 10000")
                .arg(store::Database::onServer() ? QString() : QStringLiteral("TEMP")));
        m_engine.exec("CREATE TEMP VIEW Bench10k AS SELECT * FROM QupahSisaCuti LIMIT 10000");
        auto tenThousand = std::make_shared<store::Snapshot>(QStringLiteral("Bench10k"));
        (void)tenThousand->refresh();
        const QPageSize paper = platform::reportengine::defaultPageSize();
        QTemporaryDir dir;
        for (const auto &[name, definition] :
             {std::pair{QStringLiteral("DataReport1"), reports::dataReport1()},
              std::pair{QStringLiteral("DataReport2"), reports::dataReport2()}}) {
            const double program = medianMs(
                [&] {
                    const auto document =
                        platform::reportengine::layOut(definition, tenThousand, paper);
                    platform::reportengine::writePdf(document,
                                                     dir.filePath(name + QStringLiteral(".pdf")));
                },
                m_o.runs);
            add(QStringLiteral("PDF of %1, 10000 rows").arg(name), program,
                engineReadAll("Bench10k"), 1500);
            std::fprintf(stderr, "  the PDF of %s: %.1f MB\n", qPrintable(name),
                         QFileInfo(dir.filePath(name + QStringLiteral(".pdf"))).size() / 1e6);
        }
    }

    // The all-staff report's every row as an Excel workbook: its time, and the most memory
    // the writing takes beyond the rows it writes (the peak of resident memory, reset first).
    void spreadsheet()
    {
        const auto definition = reports::dataReport1();
        auto rows = std::make_shared<store::Snapshot>(
            QStringLiteral("QupahSisaCuti"), platform::reportengine::boundColumns(definition));
        (void)rows->refresh();
        const auto document = platform::reportengine::layOut(
            definition, rows, platform::reportengine::defaultPageSize());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("laporan.xlsx"));
        const double before = residentMB();
        resetPeak();
        platform::reportengine::writeXlsx(definition, document, path);
        const double peak = peakMB() - before;
        const double program = medianMs(
            [&] { platform::reportengine::writeXlsx(definition, document, path); }, m_o.runs);
        const bool large = m_o.rows > 100000;
        add(QStringLiteral("Excel workbook of DataReport1, %1 rows").arg(rows->rowCount()), program,
            engineReadAll("QupahSisaCuti"), large ? 0 : 2000);
        add(QStringLiteral("memory of the workbook beyond its rows (MB)"), peak, -1, large ? 0 : 50,
            "MB");
    }

    // The peak of resident memory since it was last reset (Linux).
    static void resetPeak()
    {
        if (FILE *refs = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", refs);
            std::fclose(refs);
        }
    }
    static double peakMB()
    {
        double peak = 0;
        if (FILE *status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, status)) {
                if (std::sscanf(line, "VmHWM: %lf kB", &peak) == 1)
                    break;
            }
            std::fclose(status);
        }
        return peak / 1024.0;
    }

    // Resident memory now, after handing freed memory back to the system, so that growth
    // counts what a window holds and not what an earlier step left free.
    static double residentMB()
    {
#if defined(__GLIBC__)
        malloc_trim(0);
#endif
        long pages = 0;
        long resident = 0;
        if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
                resident = 0;
            std::fclose(statm);
        }
        return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
    }

    template <typename W> void grow(const QString &name, double target = 0)
    {
        const double before = residentMB();
        show<W>();
        add(QStringLiteral("memory of %1 (MB)").arg(name), residentMB() - before, -1, target, "MB");
    }

    // A report's growth beside that of its command's rows alone: what the report holds
    // beyond them is its own.
    template <typename W> void growReport(const QString &name)
    {
        const auto definition = *reports::reportNamed(name);
        double rows = residentMB();
        {
            const auto snapshot = store::DataEnvironment::instance().command(
                definition.dataMember, nullptr, platform::reportengine::boundColumns(definition));
            rows = residentMB() - rows;
        }
        const double before = residentMB();
        show<W>();
        const double report = residentMB() - before;
        const bool millionSlips = m_o.rows > 100000 && name == QLatin1String("DataReport2");
        add(QStringLiteral("memory of %1 (MB)").arg(name), report, -1, millionSlips ? 500 : 0,
            "MB");
        add(QStringLiteral("memory of %1 beyond its rows (MB)").arg(name), report - rows, -1,
            m_o.rows > 100000 ? 0 : 20, "MB");
    }

    // Every window and report opened one after another and kept open.
    void memory()
    {
        const double start = residentMB();
        add(QStringLiteral("memory before any window (MB)"), start, -1, 0, "MB");
        grow<Fdepartemen>(QStringLiteral("Fdepartemen"));
        grow<Fperingkat>(QStringLiteral("Fperingkat"));
        grow<Fpegawai>(QStringLiteral("Fpegawai"));
        grow<Fkartucuti>(QStringLiteral("Fkartucuti"));
        grow<FCuti>(QStringLiteral("FCuti"));
        grow<Dialog>(QStringLiteral("Dialog"));
        growReport<DataReport1>(QStringLiteral("DataReport1"));
        growReport<LaporanSDM>(QStringLiteral("LaporanSDM"));
        growReport<Laporanpersonalia>(QStringLiteral("Laporanpersonalia"));
        growReport<Laporanproduksi>(QStringLiteral("Laporanproduksi"));
        growReport<Laporansi>(QStringLiteral("Laporansi"));
        growReport<DataReport2>(QStringLiteral("DataReport2"));
        add(QStringLiteral("whole program, every window and report open (MB)"), residentMB(), -1,
            m_o.rows > 100000 ? 0 : 150, "MB");
        WindowRegistry::closeAll();
    }

    // The day's copy at the first sign-in: the engine's online backup, the check of the copy
    // and the thinning; beside it a plain copy of the file's bytes.
    void dailyBackup()
    {
        if (store::Database::onServer())
            return;
        const QString folder = store::backup::folder(m_path);
        const auto clear = [&] {
            QDir(folder).removeRecursively();
        };
        const double program =
            medianMs([&] { (void)store::backup::daily(m_path, QDateTime::currentDateTime()); },
                     m_o.runs, clear);
        const double engine = medianMs(
            [&] { QFile::copy(m_path, folder + QStringLiteral("/salinan.mdb")); }, m_o.runs,
            [&] {
                clear();
                QDir().mkpath(folder);
            });
        clear();
        add(QStringLiteral("backup at the day's first sign-in"), program, engine, 1000);
    }

    Options m_o;
    QString m_path;
    Engine m_engine;
    std::vector<Measurement> m_results;
};

// Copies every table of the file, in entry order, into the server database that the server
// file names, in one transaction; the server's own numbering of leave records then goes on
// after the copied ones.
store::Status copyToServer(const QString &file, const QString &serverFile)
{
    store::Status status;
    const auto source =
        store::SqliteConnection::open(file, store::SqliteConnection::Mode::Existing, &status);
    if (status.ok())
        status =
            store::Database::createOnServer(serverFile, [] { return store::Status::success(); });
    if (!status.ok())
        return status;
    return store::inTransaction([&] {
        store::Connection &target = store::Database::connection();
        for (const QString &table : store::schema::tableNames()) {
            store::Relation relation;
            if (store::Status s = target.describe(table, &relation); !s.ok())
                return s;
            QStringList columns;
            QStringList marks;
            for (const QString &column : relation.columns) {
                columns << u'"' + column + u'"';
                marks << QStringLiteral("?");
            }
            const auto read = source->query(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid")
                                                .arg(columns.join(u','), relation.name),
                                            store::Status::Operation::Read);
            const auto write =
                target.query(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                 .arg(relation.name, columns.join(u','), marks.join(u',')),
                             store::Status::Operation::Write);
            if (store::Status s = read->run(); !s.ok())
                return s;
            while (read->next()) {
                QVariantList values;
                for (int c = 0; c < read->columnCount(); ++c)
                    values << read->value(c);
                if (store::Status s = write->run(values); !s.ok())
                    return s;
            }
            if (!read->status().ok())
                return read->status();
        }
        return target.execute(QStringLiteral(
            R"(SELECT setval(pg_get_serial_sequence('"Cuti"', 'IdCuti'), max("IdCuti")) FROM "Cuti")"));
    });
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::installFontSubstitutes();
    const Options options = parse(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.mdb"));
    QString error;
    if (!store::Database::create(path).ok() ||
        !fillBenchData(path, options.rows, options.departments, &error)) {
        std::fprintf(stderr, "kelvara-bench: cannot make the database: %s\n", qPrintable(error));
        return 1;
    }
    store::Database::setPath(path);
    if (!options.server.isEmpty()) {
        std::fprintf(stderr, "copying the rows to the server...\n");
        if (const store::Status copied = copyToServer(path, options.server); !copied.ok()) {
            std::fprintf(stderr, "kelvara-bench: cannot fill the server database: %s\n",
                         qPrintable(copied.message()));
            return 1;
        }
    }
    if (!store::Database::open().ok()) {
        std::fprintf(stderr, "kelvara-bench: cannot open the database\n");
        return 1;
    }
    QuietDialogs quiet;
    platform::Messages::install(&quiet);
    std::fprintf(stderr, "%d employees, %d leave records, %d departments, %d runs each\n",
                 options.rows, options.rows, options.departments, options.runs);
    Bench bench(options, path);
    bench.run();
    const int missed = printTable(bench.results());
    WindowRegistry::closeAll();
    // The server database is left as empty as it was given.
    if (store::Database::onServer()) {
        (void)store::Database::connection().execute(QStringLiteral("DROP VIEW \"Bench10k\""));
        (void)store::schema::postgres::remove(store::Database::connection());
    }
    store::Database::close();
    return missed == 0 ? 0 : 2;
}
