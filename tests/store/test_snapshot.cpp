#include "TestDatabase.h"

#include "store/DataEnvironment.h"
#include "store/Snapshot.h"

#include <QSignalSpy>
#include <QtTest>

using store::Snapshot;

class TestSnapshot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filtersByPrefixLiterally()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec("INSERT INTO Departemen VALUES ('X1', NULL), ('X2', 'Pe%rs'), "
                        "('X3', 'Pe_x'), ('X4', 'O''Neil')"));
        Snapshot s(QStringLiteral("Departemen"));
        QVERIFY(s.refresh().ok());
        const int name = s.columnIndex(u"keterangan");
        s.setFilter(name, QStringLiteral("pe"));
        QCOMPARE(s.rowCount(), 3); // Personalia, Pe%rs, Pe_x
        s.setFilter(name, QStringLiteral("Pe%"));
        QCOMPARE(s.rowCount(), 1);
        QCOMPARE(s.value(0, 0).toString(), QStringLiteral("X2"));
        s.setFilter(name, QStringLiteral("Pe_"));
        QCOMPARE(s.rowCount(), 1);
        s.setFilter(name, QStringLiteral("O'"));
        QCOMPARE(s.rowCount(), 1);
        s.setFilter(name, QStringLiteral("*"));
        QCOMPARE(s.rowCount(), 0);
        // The empty prefix lists every row that has a value.
        s.setFilter(name, QString());
        QCOMPARE(s.rowCount(), 8);
        // Narrowing from a wider prefix, then widening again, gives the same rows as fresh.
        s.setFilter(name, QStringLiteral("S"));
        s.setFilter(name, QStringLiteral("Si"));
        QCOMPARE(s.rowCount(), 1);
        s.setFilter(name, QStringLiteral("S"));
        QCOMPARE(s.rowCount(), 2);
        s.clearFilter();
        QCOMPARE(s.rowCount(), 9);
    }

    void isASnapshotUntilRefreshed()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        Snapshot s(QStringLiteral("Periode"));
        QVERIFY(s.refresh().ok());
        QVERIFY(db.exec("INSERT INTO Periode VALUES ('K2027', NULL, NULL)"));
        QCOMPARE(s.rowCount(), 2);
        s.setFilter(0, QStringLiteral("K"));
        QSignalSpy changed(&s, &Snapshot::changed);
        QVERIFY(s.refresh().ok());
        QCOMPARE(changed.count(), 1);
        QVERIFY(!s.hasFilter());
        QCOMPARE(s.rowCount(), 3);
        QCOMPARE(s.text(0, 1), QStringLiteral("01/01/2025"));
    }

    void environmentCommandsReadTheirSources()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        auto &env = store::DataEnvironment::instance();
        QCOMPARE(env.commandNames(),
                 QStringList({"Pegawai", "Departemen", "Peringkat", "Cuti", "LaporanUpah",
                              "LapBagianPersonalia", "LapBagianSDM", "LapBagianProduksi",
                              "LapBagianSistemInformasi", "Kartu"}));
        QCOMPARE(env.sourceOf(QStringLiteral("Kartu")), QStringLiteral("Periode"));
        QCOMPARE(env.sourceOf(QStringLiteral("LapBagianSistemInformasi")), QStringLiteral("QlapSI"));
        QCOMPARE(env.rowSetOf(QStringLiteral("LaporanUpah")), QStringLiteral("rsLaporanUpah"));
        for (const QString &name : env.commandNames()) {
            store::Status status;
            QVERIFY2(env.command(name, &status), qPrintable(name));
            QVERIFY(status.ok());
        }
        Snapshot *kartu = env.command(QStringLiteral("Kartu"));
        QCOMPARE(kartu->columnNames().value(2), QStringLiteral("Periodeahir"));
        // The same rows for every consumer, kept from the first run.
        QCOMPARE(env.command(QStringLiteral("Kartu")), kartu);
        QVERIFY(db.exec("INSERT INTO Periode VALUES ('K2030', NULL, NULL)"));
        QCOMPARE(env.command(QStringLiteral("Kartu"))->rowCount(), 2);
        store::Status status;
        QVERIFY(!env.command(QStringLiteral("Nothing"), &status));
        QVERIFY(!status.ok());
    }
};

QTEST_GUILESS_MAIN(TestSnapshot)
#include "test_snapshot.moc"
