#include "CleanState.h"
#include "FormDriver.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "masters/Fkartucuti.h"
#include "masters/Fpegawai.h"
#include "masters/Fperingkat.h"
#include "platform/DataCombo.h"
#include "platform/DataGrid.h"
#include "platform/DatePicker.h"
#include "platform/WindowRegistry.h"

#include <QLabel>
#include <QTabWidget>
#include <QtTest>

using platform::Answer;
using platform::WindowRegistry;

namespace {
const QString Saved = QStringLiteral("Data sudah Disimpan!");
}

class TestMasters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void employeeLookUpsFollowNavigation()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        // A stored title that is out of date with its rank.
        QVERIFY(db.exec("UPDATE Pegawai SET Jabatan = 'Lama' WHERE Nip = '19002'"));
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fpegawai>());
        QCOMPARE(form.text("txtJabatan"), QStringLiteral("Kepala Bagian"));
        QCOMPARE(form.text("Text2"), QStringLiteral("Sumber Daya Manusia"));
        QVERIFY(form.navigate("Next"));
        QCOMPARE(form.text("DataCombo1"), QStringLiteral("P2"));
        QCOMPARE(form.text("txtJabatan"), QStringLiteral("Karyawan Staf"));
        QCOMPARE(form.text("Text2"), QStringLiteral("Personalia"));
        // Showing the rank's title is not a change of the record by itself.
        QVERIFY(form.navigate("Next"));
        QCOMPARE(db.scalar("SELECT Jabatan FROM Pegawai WHERE Nip='19002'").toString(),
                 QStringLiteral("Lama"));
        QCOMPARE(dialogs.count(), 0);
        QVERIFY(form.find("Text2")->isEnabled());
        QVERIFY(form.find<QLineEdit>("Text2")->isReadOnly());
    }

    void employeeLookUpsOnPickAndTyping()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fpegawai>());
        QVERIFY(form.click("cmdRubah"));
        auto *rank = form.find<platform::DataCombo>("DataCombo1");
        QCOMPARE(rank->count(), 4);
        rank->setCurrentIndex(2); // picked from the list
        QCOMPARE(form.text("txtJabatan"), QStringLiteral("Satpam"));
        QVERIFY(form.type("DataCombo2", QStringLiteral("d03"))); // typed, in another case
        QCOMPARE(form.text("Text2"), QStringLiteral("Sistem Informasi"));
        QVERIFY(form.type("DataCombo2", QStringLiteral("D99")));
        QCOMPARE(form.text("Text2"), QString());
        QVERIFY(form.type("DataCombo2", QStringLiteral("D04")));
        // A title typed by hand is stored when no rank is picked after it.
        QVERIFY(form.type("txtJabatan", QStringLiteral("Wakil")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data sudah Disimpan!"));
        QCOMPARE(db.scalar("SELECT Jabatan || '/' || KodePeringkat || '/' || KodeDepartemen "
                           "FROM Pegawai WHERE Nip='19001'")
                     .toString(),
                 QStringLiteral("Wakil/P3/D04"));
        // A later pick overwrites a hand-typed title.
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtJabatan", QStringLiteral("Lain")));
        QVERIFY(form.type("DataCombo1", QStringLiteral("P1")));
        QCOMPARE(form.text("txtJabatan"), QStringLiteral("Kepala Bagian"));
        QVERIFY(form.type("DataCombo1", QString()));
        QCOMPARE(form.text("txtJabatan"), QString());
    }

    void employeeDatesKeepTheirDayAndMayBeMissing()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fpegawai>());
        auto *birth = form.find<platform::DatePicker>("DTPicker1");
        QCOMPARE(birth->date(), QDate(1980, 5, 17));
        QVERIFY(form.navigate("Next")); // Susi has no date of birth
        QVERIFY(birth->isNull());
        QCOMPARE(birth->text().trimmed(), QString());
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtNama", QStringLiteral("Susi Susanti")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY(db.scalar("SELECT Tgllahir IS NULL FROM Pegawai WHERE Nip='19002'").toBool());
        // A date picked is stored as that very day.
        QVERIFY(form.navigate("First"));
        QVERIFY(form.click("cmdRubah"));
        birth->setDate(QDate(2000, 2, 29));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(db.scalar("SELECT Tgllahir FROM Pegawai WHERE Nip='19001'").toString(),
                 QStringLiteral("2000-02-29"));
        auto *grid = form.find<platform::DataGrid>("DataGrid1");
        QCOMPARE(grid->model()->columnCount(), 9);
        QCOMPARE(grid->model()->headerData(4, Qt::Horizontal).toString(),
                 QStringLiteral("Tgllahir"));
        QCOMPARE(grid->model()->index(0, 4).data().toString(), QStringLiteral("29/02/2000"));
    }

    void employeeRefusesWhatIsNotANumberOrAKnownCode()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fpegawai>());
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.type("txtNip", QStringLiteral("19009")));
        QVERIFY(form.type("txtTahunMasuk", QStringLiteral("dua ribu")));
        dialogs.expect(QStringLiteral("Isian harus berupa angka."));
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY(dialogs.last().text.startsWith(QStringLiteral("Isian harus berupa angka.")));
        QCOMPARE(db.count("Pegawai"), 3);
        QVERIFY(form.type("txtTahunMasuk", QStringLiteral("2020")));
        QVERIFY(form.type("DataCombo2", QStringLiteral("D99")));
        dialogs.expect(QStringLiteral("Kode yang dirujuk tidak ada"));
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY(dialogs.last().text.startsWith(QStringLiteral("Kode yang dirujuk tidak ada")));
        QVERIFY(form.inEditMode());
        // Cancel after add shows the last employee.
        QVERIFY(form.click("Command1"));
        QCOMPARE(form.text("txtNip"), QStringLiteral("20003"));
        QCOMPARE(db.count("Pegawai"), 3);
    }

    void employeeSearchAndFilter()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fpegawai>());
        dialogs.type(QString()); // Cancel
        dialogs.expect(QStringLiteral("Anda belum memasukan NIP "));
        QVERIFY(form.click("cmdCari"));
        QCOMPARE(dialogs.asked()[0].text, QStringLiteral("Masukkan NIP :"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Anda belum memasukan NIP "));
        QCOMPARE(dialogs.last().title, QStringLiteral("Informasi\""));
        dialogs.type(QStringLiteral("20003"));
        QVERIFY(form.click("cmdCari"));
        QCOMPARE(form.text("txtNama"), QStringLiteral("Bunga"));
        QCOMPARE(form.text("Text2"), QStringLiteral("Produksi"));
        form.find<QComboBox>("Combo1")->setCurrentIndex(0);
        QVERIFY(form.type("Text1", QStringLiteral("19")));
        auto *grid = form.find<platform::DataGrid>("DataGrid1");
        QCOMPARE(grid->model()->rowCount(), 2);
        form.find<QComboBox>("Combo1")->setCurrentIndex(1);
        QVERIFY(form.type("Text1", QStringLiteral("bu")));
        QCOMPARE(grid->model()->rowCount(), 2);
    }

    void rankSaveLoadsTheEmployeeWindowHidden()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fperingkat>());
        QVERIFY(!WindowRegistry::find<Fpegawai>());
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.type("txtKodePeringkat", QStringLiteral("P9")));
        QVERIFY(form.type("txtUpahPerhari", QStringLiteral("95000.5")));
        QVERIFY(form.type("txtJabatan", QStringLiteral("Pengemudi")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data sudah Disimpan!"));
        QCOMPARE(db.scalar("SELECT UpahPerhari FROM Peringkat WHERE KodePeringkat='P9'").toDouble(),
                 95000.5);
        QCOMPARE(db.scalar("SELECT Jabatan FROM Peringkat WHERE KodePeringkat='P9'").toString(),
                 QStringLiteral("Pengemudi"));
        Fpegawai *employees = WindowRegistry::find<Fpegawai>();
        QVERIFY(employees);
        QVERIFY(!employees->isVisible());
        // The menu later shows that same instance, and its look-up knows the new rank.
        QCOMPARE(WindowRegistry::show<Fpegawai>(), employees);
        QVERIFY(employees->isVisible());
        FormDriver staff(employees);
        QVERIFY(staff.click("cmdRubah"));
        QVERIFY(staff.type("DataCombo1", QStringLiteral("P9")));
        QCOMPARE(staff.text("txtJabatan"), QStringLiteral("Pengemudi"));
    }

    void rankChangeReachesAnOpenEmployeeWindow()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver staff(WindowRegistry::show<Fpegawai>());
        FormDriver ranks(WindowRegistry::show<Fperingkat>());
        auto *titles = ranks.find<QComboBox>("txtJabatan");
        QCOMPARE(titles->count(), 4);
        QCOMPARE(titles->itemText(3), QStringLiteral("Cleaning Service"));
        QVERIFY(ranks.click("cmdRubah"));
        titles->setCurrentIndex(2);
        dialogs.expect(Saved);
        QVERIFY(ranks.click("cmdSimpan"));
        QCOMPARE(db.scalar("SELECT Jabatan FROM Peringkat WHERE KodePeringkat='P1'").toString(),
                 QStringLiteral("Satpam"));
        QVERIFY(staff.navigate("Last"));
        QVERIFY(staff.navigate("First"));
        QCOMPARE(staff.text("txtJabatan"), QStringLiteral("Satpam"));
        ranks.find<QComboBox>("Combo1")->setCurrentIndex(1);
        QVERIFY(ranks.type("Text1", QStringLiteral("K")));
        QCOMPARE(ranks.find<platform::DataGrid>("DataGrid1")->model()->rowCount(), 1);
    }

    void leaveCards()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        auto *window = WindowRegistry::show<Fkartucuti>();
        FormDriver form(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Kartu Cuti"));
        QVERIFY(!window->findChild<QTabWidget *>());
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.find("DTPicker1")->isEnabled() && form.find("DTPicker2")->isEnabled());
        QVERIFY(form.type("txtKartucuti", QStringLiteral("K2027")));
        form.find<platform::DatePicker>("DTPicker1")->setDate(QDate(2027, 12, 31));
        form.find<platform::DatePicker>("DTPicker2")->setDate(QDate(2027, 1, 1));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data sudah Disimpan!"));
        QCOMPARE(form.text("txtKartucuti"), QStringLiteral("K2027"));
        // A period that ends before it begins is stored as entered.
        QCOMPARE(db.scalar("SELECT PeriodeAwal || ' ' || Periodeahir FROM Periode "
                           "WHERE Kartucuti='K2027'")
                     .toString(),
                 QStringLiteral("2027-12-31 2027-01-01"));
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.click("Command1"));
        QCOMPARE(form.text("txtKartucuti"), QStringLiteral("K2025"));
        dialogs.type(QStringLiteral("K1999"));
        dialogs.expect(QStringLiteral("Data tidak di temukan "));
        QVERIFY(form.click("cmdCari"));
        QCOMPARE(dialogs.asked()[dialogs.count() - 2].text,
                 QStringLiteral("Masukkan Kode Kartu Cuti :"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data tidak di temukan "));
    }
};

QTEST_MAIN(TestMasters)
#include "test_masters.moc"
