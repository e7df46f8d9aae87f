// The five record windows driven as a clerk drives them, with the keyboard and the
// navigator; every outcome is read back from the database.
#include "CleanState.h"
#include "FormDriver.h"
#include "ScriptedDialogs.h"
#include "ShowsWhole.h"
#include "TestDatabase.h"

#include "leave/FCuti.h"
#include "masters/Fdepartemen.h"
#include "masters/Fkartucuti.h"
#include "masters/Fpegawai.h"
#include "masters/Fperingkat.h"
#include "platform/BusyPointer.h"
#include "platform/DatePicker.h"
#include "platform/WindowRegistry.h"
#include "store/Database.h"

#include <QFrame>
#include <QSqlQuery>
#include <QtTest>

#include <functional>

using platform::WindowRegistry;

namespace {

// A window with a box that edit mode enables and the column it is bound to.
struct Window
{
    std::function<QWidget *()> open;
    QString table;
    QString box;
    QString column;
    QString typed;     // a realistic value for the box
    QString duplicate; // a value the engine refuses for the box; empty when none is typed
};

const QList<Window> &windows()
{
    static const QList<Window> all = {
        {[] { return WindowRegistry::show<Fdepartemen>(); },
         "Departemen",
         "txtKeterangan",
         "Keterangan",
         "Keuangan & Akuntansi",
         {}},
        {[] { return WindowRegistry::show<Fperingkat>(); },
         "Peringkat",
         "txtJabatan",
         "Jabatan",
         "Pengawas Mutu",
         {}},
        {[] { return WindowRegistry::show<Fpegawai>(); },
         "Pegawai",
         "txtNama",
         "Nama",
         "D'Arcy Ñoño Sétiawan",
         {}},
        {[] { return WindowRegistry::show<Fkartucuti>(); }, "Periode", "txtKartucuti", "Kartucuti",
         "K2030", "K2025"},
        {[] { return WindowRegistry::show<FCuti>(); },
         "Cuti",
         "txtcuti",
         "Penggantian Cuti",
         "10.3",
         {}},
    };
    return all;
}

void addWindowRows()
{
    QTest::addColumn<int>("window");
    const char *names[] = {"Fdepartemen", "Fperingkat", "Fpegawai", "Fkartucuti", "FCuti"};
    for (int i = 0; i < 5; ++i)
        QTest::newRow(names[i]) << i;
}

// Every row of a table, for comparing before and after.
QStringList rows(const QString &table)
{
    const auto query = store::Database::connection().query(
        QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table),
        store::Status::Operation::Read);
    QStringList all;
    if (!query->run().ok())
        return {QStringLiteral("unreadable")};
    while (query->next()) {
        QStringList row;
        for (int i = 0; i < query->columnCount(); ++i)
            row << query->value(i).toString();
        all << row.join(u'|');
    }
    return all;
}

QString storedAt(TestDatabase &db, const Window &w, int rowid)
{
    return db
        .scalar(QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE rowid = ?").arg(w.column, w.table),
                {rowid})
        .toString();
}

} // namespace

class TestRecordWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    // Ubah, a move (the window stays in edit mode), then typing: Cancel drops the text and
    // Simpan stores it into the record it was typed for, never into the one left.
    void typingAfterAMove_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<bool>("save");
        const char *names[] = {"Fdepartemen", "Fperingkat", "Fpegawai", "Fkartucuti", "FCuti"};
        for (int i = 0; i < 5; ++i) {
            QTest::addRow("%s cancel", names[i]) << i << false;
            QTest::addRow("%s save", names[i]) << i << true;
        }
    }
    void typingAfterAMove()
    {
        QFETCH(int, window);
        QFETCH(bool, save);
        const Window &w = windows()[window];
        TestDatabase db;
        QVERIFY(db.fillSample());
        const QStringList before = rows(w.table);
        ScriptedDialogs dialogs;
        FormDriver form(w.open());
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.navigate("Next"));
        QVERIFY(form.inEditMode());
        QVERIFY(form.type(w.box, w.typed));
        if (!save) {
            QVERIFY(form.click("Command1"));
            QCOMPARE(rows(w.table), before);
            QVERIFY(form.inViewMode());
            // Nothing typed is left in the box either.
            QVERIFY(form.text(w.box) != w.typed);
            return;
        }
        dialogs.expect("Data sudah Disimpan!");
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(storedAt(db, w, 2), w.typed);
        QCOMPARE(rows(w.table).first(), before.first());
        QVERIFY(form.inViewMode());
        QVERIFY(!platform::busy::isBusy());
    }

    // Tambah, then the navigator's Next: the blank record is dropped, and Cancel after typing
    // changes no record.
    void cancelAfterAddAndMove()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        const QStringList before = rows("Departemen");
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fdepartemen>());
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.navigate("Next"));
        QVERIFY(form.type("txtKodedepartemen", "D99"));
        QVERIFY(form.click("Command1"));
        QCOMPARE(rows("Departemen"), before);
        QCOMPARE(rows("Pegawai").filter("D99").size(), 0);
        QCOMPARE(form.text("txtKodedepartemen"), QStringLiteral("D01"));
    }

    // Simpan with nothing pending and nothing typed writes nothing and says nothing.
    void saveWithNothingPending_data() { addWindowRows(); }
    void saveWithNothingPending()
    {
        QFETCH(int, window);
        const Window &w = windows()[window];
        TestDatabase db;
        QVERIFY(db.fillSample());
        const QStringList before = rows(w.table);
        ScriptedDialogs dialogs;
        FormDriver form(w.open());
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.navigate("Next"));
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY(form.inViewMode());
        QCOMPARE(rows(w.table), before);
        QCOMPARE(form.caption(), QStringLiteral("Record :2"));
    }

    // A stored value shows whole in its box, however narrow the box was laid out; the button
    // frame lies inside the window with all its borders.
    void boxesShowWholeValues_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("update");
        QTest::addColumn<QString>("shown");
        QTest::newRow("remaining days") << 4 << "txtSisaCuti"
                                        << "UPDATE Cuti SET SisaCuti = 17.9"
                                        << "17.9";
        QTest::newRow("entitlement") << 4 << "txtHakcuti"
                                     << "UPDATE Cuti SET Hakcuti = 17.75"
                                     << "17.75";
        QTest::newRow("days taken") << 4 << "txtcuti"
                                    << "UPDATE Cuti SET \"Penggantian Cuti\" = 0.125"
                                    << "0.125";
        QTest::newRow("daily wage") << 1 << "txtUpahPerhari"
                                    << "UPDATE Peringkat SET UpahPerhari = 123456789012.25"
                                    << "123456789012.25";
        QTest::newRow("year") << 2 << "txtTahunMasuk"
                              << "UPDATE Pegawai SET TahunMasuk = 123456789012"
                              << "123456789012";
        QTest::newRow("code") << 0 << "txtKodedepartemen"
                              << "UPDATE Departemen SET Kodedepartemen = 'D01-SDM-PUSAT' WHERE "
                                 "Kodedepartemen = 'D01'"
                              << "D01-SDM-PUSAT";
    }
    void boxesShowWholeValues()
    {
        QFETCH(int, window);
        QFETCH(QString, box);
        QFETCH(QString, update);
        QFETCH(QString, shown);
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec(update));
        ScriptedDialogs dialogs;
        FormDriver form(windows()[window].open());
        QCOMPARE(form.text(box), shown);
        QVERIFY2(showsWhole(form.find(box), shown), qPrintable(box));
        if (auto *frame = form.find<QFrame>(QStringLiteral("Frame2")))
            QVERIFY(frame->parentWidget()->rect().contains(frame->geometry().adjusted(0, 0, 1, 0)));
    }

    // On an empty table: Ubah is refused, the typed text goes, and Tambah works.
    void emptyTableRecovers_data() { addWindowRows(); }
    void emptyTableRecovers()
    {
        QFETCH(int, window);
        const Window &w = windows()[window];
        TestDatabase db;
        ScriptedDialogs dialogs;
        FormDriver form(w.open());
        dialogs.expect("Tidak ada record yang aktif.");
        QVERIFY(form.click("cmdRubah"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Tidak ada record yang aktif."));
        QVERIFY(form.type(w.box, w.typed));
        QVERIFY(form.click("Command1"));
        QCOMPARE(form.text(w.box), QString());
        QCOMPARE(form.caption(), QStringLiteral("Record :0"));
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.inEditMode());
        QVERIFY(form.click("Command1"));
        QCOMPARE(db.count(w.table), 0);
        QVERIFY(!platform::busy::isBusy());
    }

    // Keluar with changed boxes stores them; a refused write keeps the window and the text.
    void closeWritesChanges_data() { addWindowRows(); }
    void closeWritesChanges()
    {
        QFETCH(int, window);
        const Window &w = windows()[window];
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        QPointer<QWidget> shown = w.open();
        FormDriver form(shown);
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type(w.box, w.typed));
        QVERIFY(form.click("cmdKeluar"));
        QTRY_VERIFY(shown.isNull());
        QCOMPARE(storedAt(db, w, 1), w.typed);
    }

    void refusedCloseKeepsTheWindow_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("duplicate code")
            << 3 << "K2026"
            << (TestDatabase::onServer() ? "Data error event hit eer:duplicate key"
                                         : "Data error event hit eer:UNIQUE");
        QTest::newRow("days above 18") << 4 << "25"
                                       << "Tidak Boleh melebihi jatah Cuti!";
    }
    void refusedCloseKeepsTheWindow()
    {
        QFETCH(int, window);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        const Window &w = windows()[window];
        TestDatabase db;
        QVERIFY(db.fillSample());
        const QStringList before = rows(w.table);
        ScriptedDialogs dialogs;
        QPointer<QWidget> shown = w.open();
        FormDriver form(shown);
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type(w.box, typed));
        dialogs.expect(message);
        QVERIFY(form.click("cmdKeluar"));
        QCoreApplication::processEvents();
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(form.text(w.box), typed);
        QCOMPARE(rows(w.table), before);
        QVERIFY(!platform::busy::isBusy());
    }

    // The leave window's own write on a move applies the save's check and computation to
    // newly typed days; a leave card changed in view mode is stored as it is.
    void leaveMoveChecksTypedDays_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("storedDays");
        QTest::addColumn<QString>("storedRemaining");
        QTest::newRow("25 days") << true << "txtcuti"
                                 << "25" << true << "5"
                                 << "13";
        QTest::newRow("6 days") << true << "txtcuti"
                                << "6" << false << "6"
                                << "7";
        QTest::newRow("7.5 days") << true << "txtcuti"
                                  << "7.5" << false << "7.5"
                                  << "5.5";
        QTest::newRow("card in view mode") << false << "DataCombo2"
                                           << "K2026" << false << "5"
                                           << "13";
    }
    void leaveMoveChecksTypedDays()
    {
        QFETCH(bool, change);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(QString, storedDays);
        QFETCH(QString, storedRemaining);
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<FCuti>());
        if (change)
            QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type(box, typed));
        if (refused)
            dialogs.expect("Tidak Boleh melebihi jatah Cuti!");
        QVERIFY(form.navigate("Next"));
        QCOMPARE(form.caption(),
                 refused ? QStringLiteral("Record :1") : QStringLiteral("Record :2"));
        const auto stored = [&db](const char *column) {
            return db
                .scalar(QStringLiteral("SELECT \"%1\" FROM Cuti WHERE rowid = 1")
                            .arg(QLatin1String(column)))
                .toString();
        };
        QCOMPARE(stored("Penggantian Cuti"), storedDays);
        QCOMPARE(stored("SisaCuti"), storedRemaining);
        if (refused)
            QCOMPARE(form.text(box), typed);
    }

    // A move between two employees of the same rank still shows the rank's title, and the
    // look-up alone stores nothing.
    void sameRankCodeIsLookedUpAgain()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec("UPDATE Pegawai SET KodePeringkat = 'P1', Jabatan = 'Lama' "
                        "WHERE Nip = '19002'"));
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fpegawai>());
        QVERIFY(form.navigate("Next"));
        QCOMPARE(form.text("DataCombo1"), QStringLiteral("P1"));
        QCOMPARE(form.text("txtJabatan"), QStringLiteral("Kepala Bagian"));
        QVERIFY(form.navigate("Next"));
        QCOMPARE(db.scalar("SELECT Jabatan FROM Pegawai WHERE Nip = '19002'").toString(),
                 QStringLiteral("Lama"));
    }

    // Dates typed into the pickers as a person types them; an impossible or incomplete one
    // is refused with a message and nothing is stored.
    void typedDates_data()
    {
        QTest::addColumn<bool>("employee");
        QTest::addColumn<bool>("overADate");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("stored"); // "refused" when the save is refused
        QTest::newRow("empty, with separators") << false << false << "14/03/2023"
                                                << "2023-03-14";
        QTest::newRow("empty, without") << false << false << "14032023"
                                        << "2023-03-14";
        QTest::newRow("single digits") << false << false << "4/3/2023"
                                       << "2023-03-04";
        QTest::newRow("parts that end early") << false << false << "432023"
                                              << "2023-03-04";
        QTest::newRow("over a date") << false << true << "14/03/2023"
                                     << "2023-03-14";
        QTest::newRow("day only, over a date") << false << true << "09"
                                               << "2025-01-09";
        QTest::newRow("corrected digit") << false << false << "15\b4/03/2023"
                                         << "2023-03-14";
        QTest::newRow("impossible") << false << false << "31/02/2023"
                                    << "refused";
        QTest::newRow("impossible over a date") << false << true << "31/02/2023"
                                                << "refused";
        QTest::newRow("incomplete") << false << false << "14/03"
                                    << "refused";
        QTest::newRow("cleared") << false << true << "\x7f"
                                 << "";
        QTest::newRow("birth date, none before") << true << false << "17051980"
                                                 << "1980-05-17";
    }
    void typedDates()
    {
        QFETCH(bool, employee);
        QFETCH(bool, overADate);
        QFETCH(QString, keys);
        QFETCH(QString, stored);
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(employee ? static_cast<QWidget *>(WindowRegistry::show<Fpegawai>())
                                 : WindowRegistry::show<Fkartucuti>());
        const QString table = employee ? "Pegawai" : "Periode";
        const QString column = employee ? "Tgllahir" : "PeriodeAwal";
        // The employee without a birth date, the first card (2025-01-01), or a new card.
        const int rowid = employee ? 2 : overADate ? 1 : 3;
        if (employee)
            QVERIFY(form.navigate("Next"));
        if (employee || overADate) {
            QVERIFY(form.click("cmdRubah"));
        } else {
            QVERIFY(form.click("cmdTambah"));
            QVERIFY(form.type("txtKartucuti", "K2030"));
        }
        auto *picker = form.find<platform::DatePicker>("DTPicker1");
        for (const QChar c : keys) {
            if (c == u'\b')
                QTest::keyClick(picker, Qt::Key_Backspace);
            else if (c == u'\x7f')
                QTest::keyClick(picker, Qt::Key_Delete);
            else
                QTest::keyClicks(picker, QString(c));
        }
        const QStringList before = rows(table);
        if (stored == "refused") {
            // Shown as typed, never "corrected" into another date.
            QVERIFY2(picker->text().startsWith(keys), qPrintable(picker->text()));
            dialogs.expect("Isian harus berupa tanggal yang benar.");
            QVERIFY(form.click("cmdSimpan"));
            QVERIFY(dialogs.last().text.contains(keys.left(5)));
            QVERIFY(form.inEditMode());
            QCOMPARE(rows(table), before);
            return;
        }
        dialogs.expect("Data sudah Disimpan!");
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(column, table),
                           {rowid})
                     .toString(),
                 stored);
    }

    // The keyboard alone: a code, Tab, a date, Tab, a date, then Enter on the save button.
    void newCardByKeyboard()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        QWidget *window = WindowRegistry::show<Fkartucuti>();
        QVERIFY(QTest::qWaitForWindowActive(window));
        FormDriver form(window);
        QVERIFY(form.click("cmdTambah"));
        QTest::keyClicks(QApplication::focusWidget(), "K2030");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form.find("DTPicker1"));
        QTest::keyClicks(QApplication::focusWidget(), "14/03/2023");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form.find("DTPicker2"));
        QTest::keyClicks(QApplication::focusWidget(), "31122023");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        // Then the navigator's buttons, which Tab reaches too.
        QCOMPARE(QApplication::focusWidget(), form.data()->findChild<QWidget *>("First"));
        auto *save = form.find("cmdSimpan");
        save->setFocus();
        dialogs.expect("Data sudah Disimpan!");
        QTest::keyClick(save, Qt::Key_Return);
        QCOMPARE(db.scalar("SELECT PeriodeAwal || ' ' || Periodeahir FROM Periode "
                           "WHERE Kartucuti = 'K2030'")
                     .toString(),
                 QStringLiteral("2023-03-14 2023-12-31"));
        QCOMPARE(form.caption(), QStringLiteral("Record :3"));
        QTest::keyClick(form.data()->findChild<QWidget *>("Previous"), Qt::Key_Return);
        QCOMPARE(form.caption(), QStringLiteral("Record :2"));
    }

    // A navigator move while another program holds the database: the error is shown, and the
    // record comes back once the lock is gone.
    void lockedReadIsReportedAndNotKept()
    {
        if (TestDatabase::onServer())
            QSKIP("a reader waits for another program's lock only on the file");
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fdepartemen>());
        {
            auto other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(db.path());
            QVERIFY(other.open());
            QSqlQuery lock(other);
            QVERIFY(lock.exec("BEGIN EXCLUSIVE"));
            dialogs.expect("Data error event hit eer:");
            QVERIFY(form.navigate("Next"));
            QVERIFY(!platform::busy::isBusy());
            QVERIFY(lock.exec("COMMIT"));
            other.close();
        }
        QSqlDatabase::removeDatabase("other");
        QVERIFY(form.navigate("Next"));
        QVERIFY(form.navigate("Previous"));
        QCOMPARE(form.text("txtKodedepartemen"), QStringLiteral("D02"));
        QCOMPARE(form.text("txtKeterangan"), QStringLiteral("Personalia"));
    }

    // A save that was stored says so even when reading the browse list afterwards fails; the
    // failure is reported on its own and the window returns to view mode.
    void storedSaveWithAFailedRefresh()
    {
        if (TestDatabase::onServer())
            QSKIP("the server refuses a view on a missing table");
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec("DROP VIEW QupahSisaCuti"));
        QVERIFY(db.exec("CREATE VIEW QupahSisaCuti AS SELECT * FROM Hilang"));
        ScriptedDialogs dialogs;
        dialogs.expect(QString()); // the browse list cannot be read when the window loads
        FormDriver form(WindowRegistry::show<FCuti>());
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtcuti", "6"));
        dialogs.expect("Data sudah Disimpan!");
        dialogs.expect(QString());
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY(dialogs.last().text.contains("Hilang"));
        QVERIFY(form.inViewMode());
        QCOMPARE(db.scalar("SELECT SisaCuti FROM Cuti WHERE rowid = 1").toString(),
                 QStringLiteral("7"));
    }

    // The busy pointer ends with the action that set it, whatever its outcome.
    void busyPointerEndsWithTheAction()
    {
        TestDatabase db;
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fdepartemen>());
        QVERIFY(form.navigate("Next"));
        QVERIFY(!platform::busy::isBusy());
        QVERIFY(db.fillSample());
        dialogs.type("X9");
        dialogs.expect("Data tidak di temukan ");
        QVERIFY(form.click("cmdCari"));
        QVERIFY(!platform::busy::isBusy());
    }
};

QTEST_MAIN(TestRecordWindows)
#include "test_recordwindows.moc"
