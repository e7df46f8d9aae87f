#include "TestDatabase.h"

#include "store/DataEnvironment.h"
#include "store/Database.h"
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

    void keepsEveryValueAsReadAcrossManyRows()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        // Enough rows to span several of the snapshot's blocks, with texts that repeat and
        // texts that never do, a text beyond ASCII, an empty text and a missing one.
        QVERIFY(db.exec(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 9000) "
            "INSERT INTO Departemen SELECT 'Z' || i, CASE i % 4 WHEN 0 THEN 'Gudang' "
            "WHEN 1 THEN 'Bagian ' || i WHEN 2 THEN 'Ünit ' || i || ' – é' ELSE '' END FROM n")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Departemen VALUES ('ZZ', NULL)")));
        Snapshot s(QStringLiteral("Departemen"));
        QVERIFY(s.refresh().ok());
        const int total = s.rowCount();
        QVERIFY(total > 9000);
        const auto query = store::Database::connection().query(
            TestDatabase::forEngine(
                QStringLiteral("SELECT Kodedepartemen, Keterangan FROM Departemen")),
            store::Status::Operation::Read);
        QVERIFY(query->run().ok());
        int withValue = 0;
        for (int row = 0; query->next(); ++row) {
            QCOMPARE(s.value(row, 0), query->value(0));
            const QVariant expected = query->value(1);
            withValue += expected.isNull() ? 0 : 1;
            QCOMPARE(s.value(row, 1).isNull(), expected.isNull());
            QCOMPARE(s.value(row, 1).toString(), expected.toString());
        }
        QVERIFY(s.value(total - 1, 1).isNull());
        QVERIFY(!s.value(total - 2, 1).isNull()); // 'Z9000': the empty text is a value
        s.setFilter(1, QStringLiteral("ünit 8"));
        QCOMPARE(s.rowCount(), 2 + 25 + 250); // 82 and 86, 802 to 898, 8002 to 8998
        QCOMPARE(s.text(0, 1), QStringLiteral("Ünit 82 – é"));
        s.setFilter(1, QString());
        QCOMPARE(s.rowCount(), withValue);

        // Reading again over the same snapshot gives the same rows, not more.
        QVERIFY(s.refresh().ok());
        QCOMPARE(s.rowCount(), total);

        Snapshot codes(QStringLiteral("Departemen"), {QStringLiteral("Kodedepartemen")});
        QVERIFY(codes.refresh().ok());
        QCOMPARE(codes.columnNames(), QStringList{QStringLiteral("Kodedepartemen")});
        QCOMPARE(codes.rowCount(), total);
        QCOMPARE(codes.text(total - 1, 0), QStringLiteral("ZZ"));
    }

    void environmentCommandsReadTheirSources()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        auto &env = store::DataEnvironment::instance();
        QCOMPARE(env.commandNames(),
                 QStringList({"Pegawai", "Departemen", "Peringkat", "Cuti", "LaporanUpah",
                              "LapBagianSDM", "LapBagianPersonalia", "LapBagianProduksi",
                              "LapBagianSistemInformasi", "Kartu", "Riwayat"}));
        QCOMPARE(env.sourceOf(QStringLiteral("Kartu")), QStringLiteral("Periode"));
        QCOMPARE(env.sourceOf(QStringLiteral("LapBagianSistemInformasi")),
                 QStringLiteral("QlapSI"));
        QCOMPARE(env.rowSetOf(QStringLiteral("LaporanUpah")), QStringLiteral("rsLaporanUpah"));
        for (const QString &name : env.commandNames()) {
            store::Status status;
            QVERIFY2(env.command(name, &status), qPrintable(name));
            QVERIFY(status.ok());
        }
        QObject consumer;
        Snapshot *kartu = env.bind(QStringLiteral("Kartu"), &consumer);
        QCOMPARE(kartu->parent(), &consumer);
        QCOMPARE(kartu->columnNames().value(2), QStringLiteral("Periodeahir"));
        // Every run reads the rows as they stand; rows already handed over stay as they were.
        QVERIFY(db.exec("INSERT INTO Periode VALUES ('K2030', NULL, NULL)"));
        QCOMPARE(env.command(QStringLiteral("Kartu"))->rowCount(), 3);
        QCOMPARE(kartu->rowCount(), 2);
        store::Status status;
        QVERIFY(!env.command(QStringLiteral("Nothing"), &status));
        QVERIFY(!status.ok());
    }
};

QTEST_GUILESS_MAIN(TestSnapshot)
#include "test_snapshot.moc"
