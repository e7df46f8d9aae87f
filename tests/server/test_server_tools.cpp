#include "TestServer.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString &tool, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(tool, arguments);
    process.write(input);
    process.closeWriteChannel();
    Run result;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace

// The tools on a server database named by --server.
class TestServerTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The first run fills the empty database with the tables and the first user; a second
    // run refuses the database that now holds them and changes nothing.
    void initdbFillsAnEmptyDatabaseOnce()
    {
        TestServer server;
        QVERIFY(server.isValid());
        const QStringList arguments{"--server", server.serverFile(), "--user", "Siti Rahayu",
                                    "--password-stdin"};
        const Run first = run(KELVARA_INITDB, arguments, "rahasia\n");
        QCOMPARE(first.exitCode, 0);
        QVERIFY2(first.out.contains(server.databaseName()), qPrintable(first.out));
        QCOMPARE(server.scalar(R"(SELECT "Nama" FROM "TPassword")").toString(),
                 QStringLiteral("Siti Rahayu"));
        QCOMPARE(server.scalar(R"(SELECT count(*) FROM "Departemen")").toInt(), 0);

        const Run second = run(KELVARA_INITDB, arguments, "lain\n");
        QCOMPARE(second.exitCode, 1);
        QVERIFY2(second.err.contains(u"TPassword"), qPrintable(second.err));
        QCOMPARE(server.scalar(R"(SELECT count(*) FROM "TPassword")").toInt(), 1);
    }

    // A demo database on the server: the user tool lists its user, the report tool writes
    // its report; a tool told of a file and a server at once refuses.
    void toolsWorkOnTheServer()
    {
        TestServer server;
        QVERIFY(server.isValid());
        QCOMPARE(run(KELVARA_INITDB, {"--demo", "--server", server.serverFile()}).exitCode, 0);
        const Run users = run(KELVARA_USER, {"--server", server.serverFile(), "list"});
        QCOMPARE(users.exitCode, 0);
        QVERIFY2(users.out.contains(u"admin"), qPrintable(users.out + users.err));
        QTemporaryDir dir;
        const QString pdf = dir.filePath("laporan.pdf");
        const Run report =
            run(KELVARA_REPORT, {"DataReport1", "--server", server.serverFile(), "--pdf", pdf});
        QVERIFY2(report.exitCode == 0, qPrintable(report.err));
        QFile written(pdf);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.read(5), QByteArray("%PDF-"));
        QCOMPARE(run(KELVARA_REPORT, {"DataReport1", "--db", dir.filePath("x.mdb"), "--server",
                                      server.serverFile(), "--pdf", pdf})
                     .exitCode,
                 2);
    }

    // An Access database comes across into the empty server database; a new leave record is
    // numbered after the ones that came with theirs. A second import refuses the database.
    void importFillsTheServer()
    {
        TestServer server;
        QVERIFY(server.isValid());
        const QString sample = QStringLiteral(KELVARA_FIXTURES "/access/sample.mdb");
        const Run first = run(KELVARA_IMPORT, {sample, "--server", server.serverFile()});
        QVERIFY2(first.exitCode == 0, qPrintable(first.out + first.err));
        const int leave = server.scalar(R"(SELECT count(*) FROM "Cuti")").toInt();
        QVERIFY(leave > 0);
        const QString nip = server.scalar(R"(SELECT "Nip" FROM "Pegawai" LIMIT 1)").toString();
        const QString card =
            server.scalar(R"(SELECT "Kartucuti" FROM "Periode" ORDER BY rowid DESC LIMIT 1)")
                .toString();
        QVERIFY(server.exec(QStringLiteral(R"(DELETE FROM "Cuti" WHERE "Nip" = '%1' AND )"
                                           R"("KartuCuti" = '%2')")
                                .arg(nip, card)));
        QVERIFY(server.exec(QStringLiteral(R"(INSERT INTO "Cuti" ("Nip", "KartuCuti") )"
                                           R"(VALUES ('%1', '%2'))")
                                .arg(nip, card)));
        const Run second = run(KELVARA_IMPORT, {sample, "--server", server.serverFile()});
        QCOMPARE(second.exitCode, 1);
        QVERIFY2(second.err.contains(u"TPassword"), qPrintable(second.err));
    }

    // A server that cannot be reached is named, with the client library's reason.
    void unreachableServerIsNamed()
    {
        TestServer server;
        QVERIFY(server.isValid());
        QFile file(server.serverFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray settings =
            file.readAll().replace(server.databaseName().toUtf8(), "kelvara_no_such_database");
        file.close();
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(settings);
        file.close();
        const Run users = run(KELVARA_USER, {"--server", server.serverFile(), "list"});
        QCOMPARE(users.exitCode, 1);
        QVERIFY2(users.err.contains(u"kelvara@") &&
                     users.err.contains(u"kelvara_no_such_database") &&
                     users.err.contains(u"does not exist"),
                 qPrintable(users.err));
    }
};

QTEST_GUILESS_MAIN(TestServerTools)
#include "test_server_tools.moc"
