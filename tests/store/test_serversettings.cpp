#include "store/ServerSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using store::ServerSettings;

namespace {

QString write(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("server.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(content);
    return path;
}

} // namespace

class TestServerSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTheServerSection_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("described");
        QTest::addColumn<QString>("options");
        QTest::newRow("plain") << QByteArray("[server]\nhost=db.kantor\nport=5432\n"
                                             "database=kelvara\nuser=budi\n")
                               << "budi@db.kantor:5432/kelvara"
                               << "connect_timeout=10";
        QTest::newRow("notepad") << QByteArray("\xEF\xBB\xBF; kantor pusat\r\n[Server]\r\n"
                                               "Host = \"10.0.0.5\"\r\nPORT = 6543\r\n"
                                               "database = kelvara\r\nuser = siti\r\n"
                                               "sslmode = Require\r\n")
                                 << "siti@10.0.0.5:6543/kelvara"
                                 << "connect_timeout=10;sslmode=require";
        QTest::newRow("socket folder") << QByteArray("[server]\nhost=/run/postgresql\nport=5432\n"
                                                     "database=kelvara\n# desk 2\nuser=kasir\n")
                                       << "kasir@/run/postgresql:5432/kelvara"
                                       << "connect_timeout=10";
    }
    void readsTheServerSection()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, described);
        QFETCH(QString, options);
        QTemporaryDir dir;
        const ServerSettings settings = ServerSettings::read(write(dir, content));
        QVERIFY2(settings.ok(), qPrintable(settings.error()));
        QCOMPARE(settings.describe(), described);
        QStringList given;
        for (const auto &[key, value] : settings.parameters())
            given << QString::fromUtf8(key + '=' + value);
        QCOMPARE(given.join(u';'), QStringLiteral("host=%1;port=%2;dbname=%3;user=%4;%5")
                                       .arg(settings.host())
                                       .arg(settings.port())
                                       .arg(settings.database(), settings.user(), options));
    }

    void refusesAMalformedFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        const QByteArray ok = "host=h\nport=5432\ndatabase=d\nuser=u\n";
        QTest::newRow("empty") << QByteArray() << "bagian [server] tidak ada";
        QTest::newRow("no section") << ok << "baris 1: isian sebelum bagian [server]";
        QTest::newRow("other section") << "[server]\n" + ok + "[extra]\n"
                                       << "baris 6: bagian \"[extra]\" tidak dikenal";
        QTest::newRow("no equals")
            << QByteArray("[server]\nhost h\n") << "baris 2: baris ini tidak berbentuk";
        QTest::newRow("password") << "[server]\n" + ok + "password=rahasia\n"
                                  << "baris 6: password tidak boleh ditulis di file ini";
        QTest::newRow("typo") << QByteArray("[server]\nhots=h\n") << "nama \"hots\" tidak dikenal";
        QTest::newRow("twice") << "[server]\n" + ok + "Host=x\n"
                               << "baris 6: \"host\" sudah diisi di baris 2";
        QTest::newRow("port word") << QByteArray("[server]\nport=lima\n")
                                   << "port harus berupa angka 1 sampai 65535, bukan \"lima\"";
        QTest::newRow("port too big") << QByteArray("[server]\nport=65536\n") << "bukan \"65536\"";
        QTest::newRow("port signed") << QByteArray("[server]\nport=+80\n") << "bukan \"+80\"";
        QTest::newRow("ssl mode") << QByteArray("[server]\nsslmode=always\n")
                                  << "sslmode \"always\" tidak dikenal";
        QTest::newRow("empty value") << QByteArray("[server]\nuser=\n") << "isi \"user\" kosong";
        QTest::newRow("control character")
            << QByteArray("[server]\nuser=a\x01\n") << "berisi karakter kontrol";
        QTest::newRow("missing user")
            << QByteArray("[server]\nhost=h\nport=1\ndatabase=d\n") << "\"user\" belum diisi";
        QTest::newRow("not text") << QByteArray("[server]\nhost=\xff\xfe\n")
                                  << "file bukan teks UTF-8";
    }
    void refusesAMalformedFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = write(dir, content);
        const ServerSettings settings = ServerSettings::read(path);
        QVERIFY(!settings.ok());
        QVERIFY2(
            settings.error().startsWith(QStringLiteral("Pengaturan server tidak dapat dipakai: ") +
                                        QDir::toNativeSeparators(path)),
            qPrintable(settings.error()));
        QVERIFY2(settings.error().contains(reason), qPrintable(settings.error()));
    }

    void refusesAMissingFile()
    {
        QTemporaryDir dir;
        const ServerSettings settings = ServerSettings::read(dir.filePath("none.ini"));
        QVERIFY(!settings.ok());
        QVERIFY(settings.error().contains(u"file tidak dapat dibuka"));
    }

    void choosesTheFileBesideTheDatabase()
    {
#ifdef Q_OS_WIN
        // Every user of a Windows desk shares the database's place.
        QCOMPARE(ServerSettings::defaultPath(), QStringLiteral("C:/Kelvara/server.ini"));
        return;
#endif
        QTemporaryDir home;
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        const QString beside = home.filePath(QStringLiteral("Kelvara/server.ini"));
        QCOMPARE(ServerSettings::defaultPath(), beside);
        QCOMPARE(ServerSettings::chosenPath(QString()), QString());
        QCOMPARE(ServerSettings::chosenPath(QStringLiteral("/etc/kelvara.ini")),
                 QStringLiteral("/etc/kelvara.ini"));
        QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Kelvara")));
        QFile file(beside);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(ServerSettings::chosenPath(QString()), beside);
        qputenv("HOME", savedHome);
    }
};

QTEST_GUILESS_MAIN(TestServerSettings)
#include "test_serversettings.moc"
