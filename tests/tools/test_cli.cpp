// Every command-line tool answers --version and --help on standard output with 0, and a usage
// error on standard error with 2, in Indonesian and without Qt's own warnings, also in a
// terminal without a desktop session.

#include "ProgramRun.h"

#include <QProcessEnvironment>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

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
                        QStringLiteral(KELVARA_IMPORT), QStringLiteral(KELVARA_USER),
                        QStringLiteral(KELVARA_BACKUP)};

// Runs a tool through the shell, which turns \0NNN in an argument into that byte (Qt would
// not pass a byte that is not UTF-8), as another user when the test runs as root, whom
// permissions would not stop.
ProgramRun runAsUser(const QString &tool, const QStringList &arguments)
{
    QString command = QStringLiteral("exec");
    if (::geteuid() == 0)
        command += QStringLiteral(" setpriv --reuid=65534 --regid=65534 --clear-groups");
    for (const QString &argument : QStringList{tool} + arguments)
        command += QStringLiteral(" \"$(printf '%b' '%1')\"").arg(argument);
    return runProgram(QStringLiteral("sh"), {QStringLiteral("-c"), command});
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void workOutsideADesktopSession();
    void refuseWhatIsNoFile_data();
    void refuseWhatIsNoFile();
};

// What would keep a tool waiting, land under another name or be reported as missing is
// refused at once, and leaves nothing behind. DIR is a folder others may use.
void TestCli::refuseWhatIsNoFile_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    const QString special = QStringLiteral("bukan file biasa (FIFO, perangkat atau soket)");
    const QString notUtf8 = QStringLiteral("bukan teks UTF-8 yang sah");
    QTest::newRow("report into a FIFO")
        << Tools[1] << QStringList{"DataReport1", "--db", "DIR/x.mdb", "--pdf", "DIR/fifo"} << 1
        << special;
    QTest::newRow("report from a FIFO")
        << Tools[1] << QStringList{"DataReport1", "--db", "DIR/fifo", "--pdf", "DIR/r.pdf"} << 1
        << special;
    QTest::newRow("users of a FIFO")
        << Tools[3] << QStringList{"list", "--db", "DIR/fifo"} << 1 << special;
    QTest::newRow("users of a device")
        << Tools[3] << QStringList{"list", "--db", "/dev/zero"} << 1 << special;
    QTest::newRow("report named not in UTF-8")
        << Tools[1] << QStringList{"DataReport1", "--db", "DIR/x.mdb", "--pdf", "DIR/\\0377.pdf"}
        << 2 << notUtf8;
    QTest::newRow("user named not in UTF-8")
        << Tools[3] << QStringList{"add", "\\0377", "--db", "DIR/x.mdb"} << 2 << notUtf8;
    QTest::newRow("a new database named as a folder")
        << Tools[0] << QStringList{"--demo", "DIR/baru/"} << 1 << "DIR/baru/ adalah folder";
    QTest::newRow("an import named as a folder")
        << Tools[2] << QStringList{"DIR/fifo", "--db", "DIR/baru/"} << 1
        << "DIR/baru/ adalah folder";
    QTest::newRow("a database in a folder not for this user")
        << Tools[3] << QStringList{"list", "--db", "DIR/tertutup/x.mdb"} << 1
        << "DIR/tertutup/x.mdb tidak dapat dibuka: izin ditolak";
}

void TestCli::refuseWhatIsNoFile()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::Permissions(0x7777)));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("tertutup")));
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("tertutup")), QFile::Permissions()));
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    arguments.replaceInStrings(QStringLiteral("DIR"), dir.path());
    const ProgramRun run = runAsUser(tool, arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(said.replace(QStringLiteral("DIR"), dir.path())),
             qPrintable(run.err));
    const QStringList left =
        QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    QCOMPARE(left, QStringList({"fifo", "tertutup"}));
}

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
    QTest::newRow("kelvara-user with an empty --db")
        << Tools[3] << QStringList{"list", "--db", ""} << 2 << QStringList{}
        << QStringList{"--db memerlukan nama file database."};
    QTest::newRow("kelvara-backup without a command")
        << Tools[4] << QStringList{} << 2 << QStringList{} << QStringList{"Perintah belum"};
    QTest::newRow("kelvara-backup restore without a file")
        << Tools[4] << QStringList{"restore"} << 2 << QStringList{} << QStringList{"satu FILE"};
    QTest::newRow("kelvara-backup list --to")
        << Tools[4] << QStringList{"list", "--to", "x.mdb"} << 2 << QStringList{}
        << QStringList{"--to hanya untuk perintah now."};
    QTest::newRow("kelvara-initdb --demo --user")
        << Tools[0] << QStringList{"--demo", "--user", "budi", "demo.mdb"} << 2 << QStringList{}
        << QStringList{"--user tidak berlaku bersama --demo"};
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
    // Its pay figures for the owner only, as the database.
    QCOMPARE(QFile::permissions(pdf) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
