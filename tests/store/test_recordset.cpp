#include "TestDatabase.h"

#include "store/Recordset.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using store::Recordset;
using store::Status;

class TestRecordset : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyTableHasNoCurrentRecord()
    {
        TestDatabase db;
        Recordset rs(QStringLiteral("Departemen"));
        QVERIFY(rs.open().ok());
        QCOMPARE(rs.recordCount(), 0);
        QCOMPARE(rs.absolutePosition(), -1);
        QCOMPARE(rs.edit().kind(), Status::Kind::NoCurrentRecord);
        QCOMPARE(rs.remove().kind(), Status::Kind::NoCurrentRecord);
        QCOMPARE(rs.moveLast().kind(), Status::Kind::NoCurrentRecord);
        QVERIFY(rs.value(0).isNull());
    }

    void movesInEntryOrder()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        Recordset rs(QStringLiteral("Pegawai"));
        const Status opened = rs.open();
        QVERIFY2(opened.ok(), qPrintable(opened.message()));
        QCOMPARE(rs.recordCount(), 3);
        QCOMPARE(rs.value(QStringLiteral("NIP")).toString(), QStringLiteral("19001"));
        QVERIFY(rs.moveLast().ok());
        QCOMPARE(rs.absolutePosition(), 2);
        QCOMPARE(rs.value(1).toString(), QStringLiteral("Bunga"));
        QVERIFY(rs.moveNext().ok());
        QCOMPARE(rs.absolutePosition(), 2);
        QVERIFY(rs.movePrevious().ok());
        QCOMPARE(rs.value(QStringLiteral("nama")).toString(), QStringLiteral("Susi"));
    }

    void findFirstComparesLiterally()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec("INSERT INTO Departemen VALUES ('O''Hara','x'), ('A*', 'y')"));
        Recordset rs(QStringLiteral("Departemen"));
        QVERIFY(rs.open().ok());
        QVERIFY(rs.findFirst(QStringLiteral("Kodedepartemen"), QStringLiteral("o'hara")).ok());
        QVERIFY(!rs.noMatch());
        QCOMPARE(rs.value(0).toString(), QStringLiteral("O'Hara"));
        QVERIFY(rs.findFirst(QStringLiteral("Kodedepartemen"), QStringLiteral("A%")).ok());
        QVERIFY(rs.noMatch());
        // The current record stays where it was after a miss.
        QCOMPARE(rs.value(0).toString(), QStringLiteral("O'Hara"));
        QVERIFY(rs.findFirst(QStringLiteral("nope"), QStringLiteral("x")).kind() ==
                Status::Kind::Other);
    }

    void addEditAndDeleteWriteThrough()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        Recordset rs(QStringLiteral("Departemen"));
        QVERIFY(rs.open().ok());
        QVERIFY(rs.addNew().ok());
        QVERIFY(rs.setValue(QStringLiteral("Kodedepartemen"), QStringLiteral("D00")).ok());
        QVERIFY(rs.setValue(QStringLiteral("Keterangan"), QStringLiteral("Baru")).ok());
        QVERIFY(rs.update().ok());
        QCOMPARE(rs.recordCount(), 6);
        QVERIFY(rs.moveLast().ok());
        QCOMPARE(rs.value(0).toString(), QStringLiteral("D00"));

        QVERIFY(rs.edit().ok());
        QVERIFY(rs.setValue(QStringLiteral("Keterangan"), QStringLiteral("Ganti")).ok());
        QVERIFY(rs.update().ok());
        QCOMPARE(
            db.scalar("SELECT Keterangan FROM Departemen WHERE Kodedepartemen='D00'").toString(),
            QStringLiteral("Ganti"));
        QCOMPARE(rs.value(1).toString(), QStringLiteral("Ganti"));

        QVERIFY(rs.remove().ok());
        QCOMPARE(rs.absolutePosition(), -1);
        QCOMPARE(db.count(QStringLiteral("Departemen")), 5);
    }

    void failedUpdateKeepsPendingAndWritesNothing()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        Recordset rs(QStringLiteral("Departemen"));
        QVERIFY(rs.open().ok());
        QVERIFY(rs.addNew().ok());
        QVERIFY(rs.setValue(QStringLiteral("Kodedepartemen"), QStringLiteral("D02")).ok());
        const Status failed = rs.update();
        QCOMPARE(failed.kind(), Status::Kind::Duplicate);
        QCOMPARE(rs.editMode(), Recordset::EditMode::Adding);
        QCOMPARE(db.count(QStringLiteral("Departemen")), 5);
        // Corrected, the same pending record goes through.
        QVERIFY(rs.setValue(QStringLiteral("Kodedepartemen"), QStringLiteral("D09")).ok());
        QVERIFY(rs.update().ok());
        QCOMPARE(db.count(QStringLiteral("Departemen")), 6);
    }

    // Another program reading in a transaction blocks the commit: the new row is neither in
    // the table nor counted, and once the reader is gone the same save goes through.
    void commitRefusedByAReaderChangesNothing()
    {
        if (TestDatabase::onServer())
            QSKIP("a reader blocks a commit only on the file");
        TestDatabase db;
        QVERIFY(db.fillSample());
        Recordset rs(QStringLiteral("Departemen"));
        QVERIFY(rs.open().ok());
        {
            QSqlDatabase reader = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "reader");
            reader.setDatabaseName(db.path());
            QVERIFY(reader.open());
            QSqlQuery read(reader);
            QVERIFY(read.exec(QStringLiteral("BEGIN")));
            QVERIFY(read.exec(QStringLiteral("SELECT count(*) FROM Departemen")) && read.next());
            QVERIFY(rs.addNew().ok());
            QVERIFY(rs.setValue(QStringLiteral("Kodedepartemen"), QStringLiteral("D09")).ok());
            QCOMPARE(rs.update().kind(), Status::Kind::Busy);
            QCOMPARE(rs.recordCount(), 5);
            QCOMPARE(rs.editMode(), Recordset::EditMode::Adding);
            read.finish();
            QVERIFY(read.exec(QStringLiteral("COMMIT")));
            reader.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("reader"));
        QCOMPARE(db.count(QStringLiteral("Departemen")), 5);
        QVERIFY(rs.update().ok());
        QCOMPARE(rs.recordCount(), 6);
        QCOMPARE(db.count(QStringLiteral("Departemen")), 6);
    }

    void changeOfARowDeletedElsewhereIsReported()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        Recordset first(QStringLiteral("Departemen"));
        Recordset second(QStringLiteral("Departemen"));
        QVERIFY(first.open().ok());
        QVERIFY(second.open().ok());
        QVERIFY(first.moveLast().ok());
        QVERIFY(second.moveLast().ok());
        QVERIFY(first.edit().ok());
        QVERIFY(second.remove().ok());
        QVERIFY(first.setValue(QStringLiteral("Keterangan"), QStringLiteral("Gudang Baru")).ok());
        QCOMPARE(first.update().kind(), Status::Kind::RecordGone);
        QCOMPARE(db.count(QStringLiteral("Departemen")), 4);
    }

    void deleteOfReferencedRowIsRefused()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        Recordset rs(QStringLiteral("Periode"));
        QVERIFY(rs.open().ok());
        QCOMPARE(rs.remove().kind(), Status::Kind::InUse);
        QCOMPARE(rs.absolutePosition(), 0);
        QCOMPARE(db.count(QStringLiteral("Periode")), 2);
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "test_recordset.moc"
