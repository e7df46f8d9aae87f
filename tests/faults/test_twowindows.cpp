#include "CleanState.h"
#include "FormDriver.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "masters/Fdepartemen.h"
#include "platform/WindowRegistry.h"
#include "store/Recordset.h"

#include <QtTest>

using store::Recordset;
using store::Status;

namespace {

const QString Table = QStringLiteral("Departemen");
const QString KeptRows =
    QStringLiteral("D01=Sumber Daya Manusia,D02=Personalia,D03=Sistem Informasi,D04=Produksi");

QString rows(TestDatabase &db)
{
    return db
        .scalar(QStringLiteral("SELECT group_concat(Kodedepartemen || '=' || "
                               "ifnull(Keterangan, ''), ',') FROM (SELECT * FROM Departemen "
                               "ORDER BY rowid)"))
        .toString();
}

// What the other window does to the last department after this one has shown it.
bool actElsewhere(Recordset &other, const QString &action)
{
    if (!other.open().ok() || !other.moveLast().ok())
        return false;
    if (action == u"change") {
        return other.edit().ok() &&
               other.setValue(QStringLiteral("Keterangan"), QStringLiteral("Ubahan lain")).ok() &&
               other.update().ok();
    }
    if (!other.remove().ok())
        return false;
    if (action == u"delete")
        return true;
    // The engine gives the new row the id of the deleted last one.
    return other.addNew().ok() &&
           other.setValue(QStringLiteral("Kodedepartemen"), QStringLiteral("D06")).ok() &&
           other.setValue(QStringLiteral("Keterangan"), QStringLiteral("Baru lain")).ok() &&
           other.update().ok();
}

QString rowsAfter(const QString &action)
{
    if (action == u"change")
        return KeptRows + QStringLiteral(",D05=Ubahan lain");
    if (action == u"delete")
        return KeptRows;
    return KeptRows + QStringLiteral(",D06=Baru lain");
}

} // namespace

class TestTwoWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void staleRecordIsNeitherSavedNorDeleted_data()
    {
        QTest::addColumn<QString>("here");
        QTest::addColumn<QString>("elsewhere");
        for (const char *here : {"edit", "edit nothing", "delete"}) {
            for (const char *elsewhere : {"change", "delete", "delete and add"})
                QTest::addRow("%s here, %s elsewhere", here, elsewhere)
                    << QString::fromLatin1(here) << QString::fromLatin1(elsewhere);
        }
    }

    // Whatever the other window did to the record, this one reports it and writes nothing:
    // no success for a row that is gone, no write over the row that took its id.
    void staleRecordIsNeitherSavedNorDeleted()
    {
        QFETCH(QString, here);
        QFETCH(QString, elsewhere);
        TestDatabase db;
        QVERIFY(db.fillSample());
        Recordset mine(Table);
        QVERIFY(mine.open().ok());
        QVERIFY(mine.moveLast().ok());
        QCOMPARE(mine.value(QStringLiteral("Keterangan")).toString(), QStringLiteral("Gudang"));
        if (here.startsWith(u"edit"))
            QVERIFY(mine.edit().ok());
        if (here == u"edit")
            QVERIFY(
                mine.setValue(QStringLiteral("Keterangan"), QStringLiteral("Ubahan sini")).ok());

        Recordset other(Table);
        QVERIFY(actElsewhere(other, elsewhere));
        const Status status = here == u"delete" ? mine.remove() : mine.update();
        QCOMPARE(status.kind(), Status::Kind::RecordGone);
        QCOMPARE(
            status.message(),
            QStringLiteral(
                "Record ini sudah diubah atau dihapus di jendela lain atau di komputer lain.\n\n"
                "The record was changed or deleted by another user."));
        QCOMPARE(rows(db), rowsAfter(elsewhere));
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
                 QStringLiteral("ok"));
        if (here == u"delete") {
            // Read again, the record shows what it now holds, and a second delete takes it.
            QVERIFY(mine.hasCurrent());
            if (elsewhere == u"change") {
                QCOMPARE(mine.value(QStringLiteral("Keterangan")).toString(),
                         QStringLiteral("Ubahan lain"));
                QVERIFY(mine.remove().ok());
                QCOMPARE(rows(db), KeptRows);
            }
        } else {
            QCOMPARE(mine.editMode(), Recordset::EditMode::Editing);
        }
    }

    void untouchedRecordsStillSaveAndDelete_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("value");
        // Fractions, empty fields and whole numbers must all compare equal to what was read.
        QTest::newRow("rank with a fraction") << "Peringkat"
                                              << "Jabatan" << QVariant("Petugas");
        QTest::newRow("employee without a birth date") << "Pegawai"
                                                       << "Nama" << QVariant("Bunga S");
        QTest::newRow("leave record") << "Cuti"
                                      << "SisaCuti" << QVariant(9.25);
        QTest::newRow("leave card") << "Periode"
                                    << "PeriodeAwal" << QVariant("2026-02-01");
    }

    void untouchedRecordsStillSaveAndDelete()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QVariant, value);
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec(
            QStringLiteral("UPDATE Peringkat SET Jabatan = NULL WHERE KodePeringkat = 'P4'")));
        QVERIFY(db.exec(QStringLiteral("UPDATE Pegawai SET Tgllahir = NULL WHERE Nip = '20003'")));
        QVERIFY(db.exec(QStringLiteral("DELETE FROM Cuti WHERE KartuCuti = 'K2026'")));
        const int before = db.count(table);
        Recordset records(table);
        QVERIFY(records.open().ok());
        QVERIFY(records.moveLast().ok());
        QVERIFY(records.edit().ok());
        QVERIFY(records.setValue(column, value).ok());
        const Status saved = records.update();
        QVERIFY2(saved.ok(), qPrintable(saved.message()));
        QCOMPARE(records.value(column), value);
        const Status removed = records.remove();
        QVERIFY2(removed.ok(), qPrintable(removed.message()));
        QCOMPARE(db.count(table), before - 1);
    }

    // The department window, saving a record that the other window replaced meanwhile.
    void windowExplainsAndKeepsTheOtherRow()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(platform::WindowRegistry::show<Fdepartemen>());
        QVERIFY(form.navigate(QStringLiteral("Last")));
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtKeterangan", QStringLiteral("Ubahan sini")));
        Recordset other(Table);
        QVERIFY(actElsewhere(other, QStringLiteral("delete and add")));

        dialogs.expect(QStringLiteral(
            "Record ini sudah diubah atau dihapus di jendela lain atau di komputer lain."));
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(
            dialogs.last().text,
            QStringLiteral(
                "Record ini sudah diubah atau dihapus di jendela lain atau di komputer lain.\n\n"
                "The record was changed or deleted by another user."));
        QCOMPARE(dialogs.last().title, QStringLiteral("Kelvara"));
        QCOMPARE(dialogs.last().icon, platform::Icon::Information);
        QCOMPARE(dialogs.last().buttons, platform::Buttons::Ok);
        QVERIFY(form.inEditMode());
        QCOMPARE(rows(db), rowsAfter(QStringLiteral("delete and add")));
        // Cancelled, the window shows what the table now holds.
        QVERIFY(form.click("Command1"));
        QVERIFY(form.inViewMode());
        QVERIFY(form.navigate(QStringLiteral("Last")));
        QCOMPARE(form.text("txtKodedepartemen"), QStringLiteral("D06"));
    }
};

QTEST_MAIN(TestTwoWindows)
#include "test_twowindows.moc"
