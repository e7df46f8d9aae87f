#include "TestDatabase.h"

#include "store/Database.h"
#include "store/Passwords.h"
#include "store/Users.h"

#include <QProcess>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs kelvara-user on a database with what is typed on its standard input.
Run user(const QString &database, QStringList arguments, const QByteArray &typed = {})
{
    QProcess process;
    process.start(QStringLiteral(USER_TOOL), arguments << QStringLiteral("--db") << database);
    process.write(typed);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The stored password of a user, read afresh.
QString stored(TestDatabase &db, const QString &name)
{
    return db.scalar(QStringLiteral("SELECT Password FROM TPassword WHERE Nama = ?"), {name})
        .toString();
}

} // namespace

class TestUser : public QObject
{
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void rehashKeepsEverySignIn();
};

void TestUser::commands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("users");
    using L = QStringList;
    QTest::newRow("list") << L{"list"} << QByteArray() << 0 << "admin\t(password belum di-hash"
                          << "admin,Ümit";
    QTest::newRow("add from stdin")
        << L{"add", "Sari", "--password-stdin"} << QByteArray("Rahasia 7\nignored\n") << 0
        << "Pengguna Sari ditambahkan."
        << "admin,Ümit,Sari";
    QTest::newRow("add asked twice") << L{"add", "Sari"} << QByteArray("Rahasia 7\nRahasia 7\n")
                                     << 0 << "Pengguna Sari ditambahkan."
                                     << "admin,Ümit,Sari";
    QTest::newRow("add, passwords differ")
        << L{"add", "Sari"} << QByteArray("a\nb\n") << 1 << "Kedua password tidak sama."
        << "admin,Ümit";
    QTest::newRow("add, empty password") << L{"add", "Sari", "--password-stdin"} << QByteArray("\n")
                                         << 1 << "Password tidak boleh kosong."
                                         << "admin,Ümit";
    QTest::newRow("add an existing name in other case")
        << L{"add", "üMIT", "--password-stdin"} << QByteArray("x\n") << 1
        << "Pengguna sudah ada: Ümit"
        << "admin,Ümit";
    QTest::newRow("password of an unknown user")
        << L{"password", "nobody", "--password-stdin"} << QByteArray("x\n") << 1
        << "Pengguna tidak ada: nobody"
        << "admin,Ümit";
    QTest::newRow("remove") << L{"remove", "ÜMIT"} << QByteArray() << 0 << "Pengguna Ümit dihapus."
                            << "admin";
    const QString invisible = QStringLiteral("Nama pengguna memuat karakter kendali atau tak "
                                             "terlihat (U+%1)");
    QTest::newRow("add with a trailing blank")
        << L{"add", "Sari ", "--password-stdin"} << QByteArray("x\n") << 1
        << "Nama pengguna tidak boleh diawali atau diakhiri spasi: \"Sari \""
        << "admin,Ümit";
    QTest::newRow("add with an escape sequence")
        << L{"add", "Sa\x1b[2Jri", "--password-stdin"} << QByteArray("x\n") << 1
        << invisible.arg("001B") << "admin,Ümit";
    QTest::newRow("add with a zero-width space")
        << L{"add", "ad\u200Bmin", "--password-stdin"} << QByteArray("x\n") << 1
        << invisible.arg("200B") << "admin,Ümit";
    QTest::newRow("add with a direction override")
        << L{"add", "\u202Enimda", "--password-stdin"} << QByteArray("x\n") << 1
        << invisible.arg("202E") << "admin,Ümit";
    QTest::newRow("add an existing name composed otherwise")
        << L{"add", "U\u0308MIT", "--password-stdin"} << QByteArray("x\n") << 1
        << "Pengguna sudah ada: Ümit"
        << "admin,Ümit";
    QTest::newRow("password on the command line")
        << L{"add", "Sari", "--password", "x"} << QByteArray() << 2 << ""
        << "admin,Ümit";
}

void TestUser::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, typed);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(QString, users);
    TestDatabase db;
    QVERIFY(db.exec(QStringLiteral("INSERT INTO TPassword VALUES ('admin', 'admin')")));
    QVERIFY(store::users::add(QStringLiteral("Ümit"), QStringLiteral("lama")).ok());
    const Run run = user(db.path(), arguments, typed);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.out + run.err).contains(said), qPrintable(run.out + run.err));
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(Nama, ',') FROM "
                                      "(SELECT Nama FROM TPassword ORDER BY rowid)"))
                 .toString(),
             users);
    if (arguments.first() == u"add" && exitCode == 0)
        QVERIFY(store::passwords::matches(stored(db, QStringLiteral("Sari")),
                                          QStringLiteral("Rahasia 7")));
}

void TestUser::rehashKeepsEverySignIn()
{
    TestDatabase db;
    QVERIFY(db.exec(QStringLiteral("INSERT INTO TPassword VALUES ('admin', 'admin'), "
                                   "('kosong', ''), ('tamu', NULL)")));
    // Nobody is left who can sign in: the last user, or only users without a password.
    QCOMPARE(user(db.path(), {"remove", "kosong"}).exitCode, 0);
    const Run stranded = user(db.path(), {"remove", "admin"});
    QCOMPARE(stranded.exitCode, 1);
    QVERIFY2(stranded.err.contains("tidak ada yang dapat masuk lagi"), qPrintable(stranded.err));
    QCOMPARE(user(db.path(), {"remove", "tamu"}).exitCode, 0);
    const Run last = user(db.path(), {"remove", "admin"});
    QCOMPARE(last.exitCode, 1);
    QVERIFY(last.err.contains(QStringLiteral("Pengguna terakhir tidak dapat dihapus")));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO TPassword VALUES ('kosong', ''), ('tamu', NULL)")));

    const Run run = user(db.path(), {"rehash"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QStringLiteral("2 password di-hash.")), qPrintable(run.out));
    QVERIFY(store::passwords::matches(stored(db, "admin"), "admin"));
    QVERIFY(!store::passwords::matches(stored(db, "admin"), "Admin"));
    QVERIFY(store::passwords::matches(stored(db, "kosong"), ""));
    QVERIFY(
        db.scalar(QStringLiteral("SELECT Password FROM TPassword WHERE Nama = 'tamu'")).isNull());
    QVERIFY(store::passwords::isHash(stored(db, "admin")));
    QVERIFY(user(db.path(), {"rehash"}).out.contains(QStringLiteral("0 password di-hash.")));

    QCOMPARE(user(db.path(), {"password", "ADMIN", "--password-stdin"}, "baru\n").exitCode, 0);
    QVERIFY(store::passwords::matches(stored(db, "admin"), "baru"));

    // A name an older database holds reaches the terminal without its escape sequences.
    QVERIFY(db.exec(QStringLiteral("INSERT INTO TPassword VALUES ('x\x1b]0;y\x07z', NULL)")));
    QVERIFY(user(db.path(), {"list"}).out.contains("x<U+001B>]0;y<U+0007>z\t(tanpa password"));
}

QTEST_GUILESS_MAIN(TestUser)
#include "test_user.moc"
