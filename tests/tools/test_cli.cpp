// Every command-line tool answers --version and --help on standard output with 0, and a usage
// error on standard error with 2, in Indonesian and without Qt's own warnings, also in a
// terminal without a desktop session.

#include "ProgramRun.h"

#include <QProcessEnvironment>
#include <QtTest>

namespace {

// A terminal outside any desktop session: no display, no runtime folder, no platform chosen.
QProcessEnvironment bareTerminal()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    return env;
}

const QStringList Tools{QStringLiteral(KELVARA_INITDB), QStringLiteral(KELVARA_REPORT),
                        QStringLiteral(KELVARA_IMPORT), QStringLiteral(KELVARA_USER)};

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void workOutsideADesktopSession();
};

void TestCli::answers_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("out"); // texts standard output holds; none: it stays empty
    QTest::addColumn<QStringList>("err"); // the same for standard error
    for (const QString &tool : Tools) {
        const QString name = QFileInfo(tool).fileName();
        const QByteArray row = name.toUtf8();
        QTest::newRow(row + " --version") << tool << QStringList{"--version"} << 0
                                          << QStringList{name + " 1.0.0\n"} << QStringList{};
        QTest::newRow(row + " --help")
            << tool << QStringList{"--help"} << 0
            << QStringList{"Pemakaian: ",
                           name + " [opsi]",
                           "Opsi:",
                           "--version",
                           "Menampilkan informasi versi.",
                           "Menampilkan bantuan tentang opsi baris perintah."}
            << QStringList{};
        QTest::newRow(row + " unknown option")
            << tool << QStringList{"--tidak-ada"} << 2 << QStringList{}
            << QStringList{name + ": Opsi tidak dikenal: 'tidak-ada'.", name + " --help"};
    }
    QTest::newRow("kelvara-import --db without a value")
        << Tools[2] << QStringList{"lama.mdb", "--db"} << 2 << QStringList{}
        << QStringList{"Nilai tidak ada setelah '--db'."};
    QTest::newRow("kelvara-import without a source")
        << Tools[2] << QStringList{} << 2 << QStringList{} << QStringList{"File sumber"};
    QTest::newRow("kelvara-report without --pdf")
        << Tools[1] << QStringList{"DataReport1"} << 2 << QStringList{}
        << QStringList{"Pemakaian: kelvara-report"};
    QTest::newRow("kelvara-initdb with two files")
        << Tools[0] << QStringList{"a.mdb", "b.mdb"} << 2 << QStringList{}
        << QStringList{"Hanya satu PATH"};
}

void TestCli::answers()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, out);
    QFETCH(QStringList, err);
    const ProgramRun run = runProgram(tool, arguments, bareTerminal());
    QCOMPARE(run.exitCode, exitCode);
    const auto check = [](const QString &written, const QStringList &expected) {
        if (expected.isEmpty())
            return written.isEmpty();
        for (const QString &text : expected) {
            if (!written.contains(text))
                return false;
        }
        return !written.contains(QStringLiteral("Usage"));
    };
    QVERIFY2(check(run.out, out), qPrintable(run.out));
    QVERIFY2(check(run.err, err), qPrintable(run.err));
}

// The real work, not only the help: a demo database and a report from it, with nothing on
// standard error.
void TestCli::workOutsideADesktopSession()
{
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("demo.mdb"));
    const ProgramRun created = runProgram(Tools[0], {"--demo", db}, bareTerminal());
    QCOMPARE(created.exitCode, 0);
    QCOMPARE(created.err, QString());
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    const ProgramRun written =
        runProgram(Tools[1], {"DataReport1", "--db", db, "--pdf", pdf}, bareTerminal());
    QCOMPARE(written.exitCode, 0);
    QCOMPARE(written.err, QString());
    QVERIFY(QFileInfo(pdf).size() > 0);
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
