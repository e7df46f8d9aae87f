#include "CleanState.h"
#include "FormDriver.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "masters/Fdepartemen.h"
#include "platform/BusyPointer.h"
#include "platform/DataGrid.h"
#include "platform/WindowRegistry.h"

#include <QLabel>
#include <QTabWidget>
#include <QtTest>

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

Fdepartemen *openWindow()
{
    auto *window = platform::WindowRegistry::show<Fdepartemen>();
    return window;
}

const QString DeleteQuestion = QStringLiteral("Apakah Anda Yakin Data akan di Hapus ?");
const QString Saved = QStringLiteral("Data sudah Disimpan!");

int gridRows(const FormDriver &form)
{
    return form.find<platform::DataGrid>(QStringLiteral("DataGrid1"))->model()->rowCount();
}

void expectMessage(const ScriptedDialogs &dialogs, const QString &text, const QString &title,
                   Icon icon, Buttons buttons = Buttons::Ok)
{
    const auto asked = dialogs.last();
    QCOMPARE(asked.text, text);
    QCOMPARE(asked.title, title);
    QCOMPARE(int(asked.icon), int(icon));
    QCOMPARE(int(asked.buttons), int(buttons));
}

} // namespace

class TestDepartemen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void windowHasItsShape()
    {
        TestDatabase db;
        auto *window = openWindow();
        FormDriver form(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("File - Departemen"));
        QCOMPARE(window->size(), QSize(553, 281));
        QVERIFY(!(window->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(form.find<QLabel>("Label1")->text(), QStringLiteral("FORM DATA DEPARTEMEN"));
        auto *tabs = form.find<QTabWidget>("SSTab1");
        QCOMPARE(tabs->tabText(0), QStringLiteral("FORM INPUT"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("TAMPILAN"));
        QCOMPARE(tabs->currentIndex(), 0);
        // The mode pairs lie exactly on each other; all seven buttons are one size.
        QCOMPARE(form.find("cmdSimpan")->geometry(), form.find("cmdTambah")->geometry());
        QCOMPARE(form.find("Command1")->geometry(), form.find("cmdRubah")->geometry());
        for (const char *name :
             {"cmdTambah", "cmdSimpan", "cmdRubah", "Command1", "cmdHapus", "cmdCari", "cmdKeluar"})
            QCOMPARE(form.find(QString::fromLatin1(name))->size(), QSize(65, 41));
        auto *criteria = form.find<QComboBox>("Combo1");
        QCOMPARE(criteria->count(), 2);
        QCOMPARE(criteria->itemText(0), QStringLiteral("Kode Departemen"));
        QCOMPARE(criteria->itemText(1), QStringLiteral("Keterangan"));
        QCOMPARE(criteria->currentText(), QString());
        auto *grid = form.find<platform::DataGrid>("DataGrid1");
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Kodedepartemen"));
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        // Shown once: a second show raises the same window.
        QCOMPARE(openWindow(), window);
    }

    void emptyTable()
    {
        TestDatabase db;
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        QCOMPARE(form.caption(), QStringLiteral("Record :0"));
        QVERIFY(form.inViewMode());
        QVERIFY(!form.find("txtKodedepartemen")->isEnabled());
        dialogs.expect(DeleteQuestion, Answer::Yes);
        dialogs.expect(QStringLiteral("Data Kosong "));
        QVERIFY(form.click("cmdHapus"));
        QCOMPARE(dialogs.count(), 2);
        QCOMPARE(dialogs.asked()[0].text, QStringLiteral("Apakah Anda Yakin Data akan di Hapus ?"));
        QCOMPARE(dialogs.asked()[0].title, QStringLiteral("Hapus Data"));
        QCOMPARE(int(dialogs.asked()[0].icon), int(Icon::Question));
        QCOMPARE(int(dialogs.asked()[0].buttons), int(Buttons::YesNo));
        expectMessage(dialogs, QStringLiteral("Data Kosong "), QStringLiteral("Kosong"),
                      Icon::Information);
        // Change on an empty table is reported and the window stays usable.
        dialogs.expect(QStringLiteral("Tidak ada record yang aktif."));
        QVERIFY(form.click("cmdRubah"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Tidak ada record yang aktif."));
        QVERIFY(form.click("Command1"));
        QVERIFY(form.inViewMode());
    }

    void addSaveShowsLastRecord()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        Fdepartemen *window = openWindow();
        FormDriver form(window);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(form.caption(), QStringLiteral("Record :1"));
        QCOMPARE(form.text("txtKodedepartemen"), QStringLiteral("D01"));
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.inEditMode());
        QCOMPARE(form.text("txtKodedepartemen"), QString());
        QVERIFY(form.find("txtKodedepartemen")->hasFocus());
        QVERIFY(form.type("txtKodedepartemen", QStringLiteral("A00")));
        QVERIFY(form.type("txtKeterangan", QStringLiteral("Akuntansi")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        expectMessage(dialogs, QStringLiteral("Data sudah Disimpan!"),
                      QStringLiteral("Simpan Data"), Icon::Information);
        QVERIFY(form.inViewMode());
        // The code sorts first, but the table's last record is current after the save.
        QCOMPARE(form.text("txtKodedepartemen"), QStringLiteral("A00"));
        QCOMPARE(form.caption(), QStringLiteral("Record :6"));
        QCOMPARE(
            db.scalar("SELECT Keterangan FROM Departemen WHERE Kodedepartemen='A00'").toString(),
            QStringLiteral("Akuntansi"));
        QCOMPARE(gridRows(form), 6);
    }

    void cancelDropsTheNewRecord()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        QVERIFY(form.navigate("Last"));
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.type("txtKodedepartemen", QStringLiteral("X")));
        QVERIFY(form.click("Command1"));
        QVERIFY(form.inViewMode());
        QCOMPARE(form.caption(), QStringLiteral("Record :1"));
        QCOMPARE(form.text("txtKodedepartemen"), QStringLiteral("D01"));
        QCOMPARE(db.count("Departemen"), 5);
        QCOMPARE(dialogs.count(), 0);
    }

    void duplicateCodeKeepsThePendingRecord()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.type("txtKodedepartemen", QStringLiteral("d02")));
        QVERIFY(form.type("txtKeterangan", QStringLiteral("Kembar")));
        dialogs.expect(QStringLiteral("Kode sudah dipakai"));
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY(dialogs.last().text.startsWith(QStringLiteral("Kode sudah dipakai")));
        // The engine's own words follow: "UNIQUE constraint failed", "violates unique constraint".
        QVERIFY(dialogs.last().text.contains(QStringLiteral("unique"), Qt::CaseInsensitive));
        QVERIFY(form.inEditMode());
        QCOMPARE(form.text("txtKeterangan"), QStringLiteral("Kembar"));
        QCOMPARE(db.count("Departemen"), 5);
        // Corrected, the same pending record saves.
        QVERIFY(form.type("txtKodedepartemen", QStringLiteral("D09")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data sudah Disimpan!"));
        QCOMPARE(
            db.scalar("SELECT Keterangan FROM Departemen WHERE Kodedepartemen='D09'").toString(),
            QStringLiteral("Kembar"));
        // An empty code is refused the same way.
        QVERIFY(form.click("cmdTambah"));
        dialogs.expect(QStringLiteral("Kode tidak boleh kosong"));
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY(dialogs.last().text.startsWith(QStringLiteral("Kode tidak boleh kosong")));
        QVERIFY(form.inEditMode());
    }

    void search()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec("INSERT INTO Departemen VALUES ('O''Hara', 'Kutip')"));
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        dialogs.type(QString()); // Cancel: the empty answer
        dialogs.expect(QStringLiteral("Anda belum memasukan Kode "));
        QVERIFY(form.click("cmdCari"));
        QCOMPARE(dialogs.asked()[0].text, QStringLiteral("Masukkan Kode Departemen :"));
        QCOMPARE(dialogs.asked()[0].title, QStringLiteral("Pencarian data"));
        QVERIFY(dialogs.asked()[0].input);
        expectMessage(dialogs, QStringLiteral("Anda belum memasukan Kode "),
                      QStringLiteral("Informasi\""), Icon::Information);
        dialogs.type(QStringLiteral("D77"));
        dialogs.expect(QStringLiteral("Data tidak di temukan "));
        QVERIFY(form.click("cmdCari"));
        expectMessage(dialogs, QStringLiteral("Data tidak di temukan "),
                      QStringLiteral("Cari Data"), Icon::Information);
        QCOMPARE(form.caption(), QStringLiteral("Record :1"));
        dialogs.type(QStringLiteral("o'hara"));
        QVERIFY(form.click("cmdCari"));
        QCOMPARE(form.text("txtKeterangan"), QStringLiteral("Kutip"));
        QCOMPARE(form.caption(), QStringLiteral("Record :6"));
        dialogs.type(QStringLiteral("d03"));
        QVERIFY(form.click("cmdCari"));
        QCOMPARE(form.text("txtKeterangan"), QStringLiteral("Sistem Informasi"));
    }

    void deleteAsksAndKeepsTheGridUntilRefresh()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        QVERIFY(form.navigate("Last")); // D05, used by nobody
        dialogs.expect(DeleteQuestion, Answer::No);
        QVERIFY(form.click("cmdHapus"));
        QCOMPARE(db.count("Departemen"), 5);
        dialogs.expect(DeleteQuestion, Answer::Yes);
        QVERIFY(form.click("cmdHapus"));
        QCOMPARE(db.count("Departemen"), 4);
        QCOMPARE(form.caption(), QStringLiteral("Record :1"));
        QVERIFY(!platform::busy::isBusy());
        QCOMPARE(gridRows(form), 5);
        // A department that employees use is refused with a clear message.
        dialogs.expect(DeleteQuestion, Answer::Yes);
        dialogs.expect(QStringLiteral("Data masih dipakai"));
        QVERIFY(form.click("cmdHapus"));
        QVERIFY(dialogs.last().text.startsWith(QStringLiteral("Data masih dipakai")));
        QCOMPARE(db.count("Departemen"), 4);
        QVERIFY(!platform::busy::isBusy());
    }

    void deletingTheLastRecordLeavesNoCurrentRecord()
    {
        TestDatabase db;
        QVERIFY(db.exec("INSERT INTO Departemen VALUES ('D1', 'Satu')"));
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        dialogs.expect(DeleteQuestion, Answer::Yes);
        QVERIFY(form.click("cmdHapus"));
        QCOMPARE(form.caption(), QStringLiteral("Record :0"));
        QCOMPARE(form.text("txtKodedepartemen"), QString());
        QVERIFY(form.navigate("Next"));
        QVERIFY(form.inViewMode());
        dialogs.expect(DeleteQuestion, Answer::Yes);
        dialogs.expect(QStringLiteral("Data Kosong "));
        QVERIFY(form.click("cmdHapus"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data Kosong "));
    }

    void filterByPrefix()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec("INSERT INTO Departemen VALUES ('X1', NULL), ('P''1', 'Pa''s%')"));
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        form.find<QTabWidget>("SSTab1")->setCurrentIndex(1);
        // No criterion, or one that is not listed, filters nothing.
        QVERIFY(form.type("Text1", QStringLiteral("P")));
        QCOMPARE(gridRows(form), 7);
        QVERIFY(form.type("Combo1", QStringLiteral("keterangan")));
        QVERIFY(form.type("Text1", QStringLiteral("Pe")));
        QCOMPARE(gridRows(form), 7);
        // The criterion alone does not filter; the next keystroke does.
        form.find<QComboBox>("Combo1")->setCurrentIndex(1);
        QCOMPARE(gridRows(form), 7);
        QVERIFY(form.type("Text1", QStringLiteral("pe")));
        QCOMPARE(gridRows(form), 1);
        QVERIFY(form.type("Text1", QStringLiteral("Pa's%")));
        QCOMPARE(gridRows(form), 1);
        QVERIFY(form.type("Text1", QString()));
        QCOMPARE(gridRows(form), 6); // every row whose name has a value
        form.find<QComboBox>("Combo1")->setCurrentIndex(0);
        QVERIFY(form.type("Text1", QStringLiteral("P'")));
        QCOMPARE(gridRows(form), 1);
        QCOMPARE(dialogs.count(), 0);
    }

    void saveWhileFilteredShowsEveryRow()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        form.find<QComboBox>("Combo1")->setCurrentIndex(0);
        QVERIFY(form.type("Text1", QStringLiteral("D01")));
        QCOMPARE(gridRows(form), 1);
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtKeterangan", QStringLiteral("SDM")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(gridRows(form), 5);
        QCOMPARE(form.text("Text1"), QStringLiteral("D01"));
        QTest::keyClick(form.find("Text1"), Qt::Key_End);
        QTest::keyClicks(form.find("Text1"), QStringLiteral(" "));
        QCOMPARE(gridRows(form), 0);
    }

    void navigatorMoveWritesTheChange()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtKeterangan", QStringLiteral("Ganti")));
        QVERIFY(form.navigate("Next"));
        QCOMPARE(
            db.scalar("SELECT Keterangan FROM Departemen WHERE Kodedepartemen='D01'").toString(),
            QStringLiteral("Ganti"));
        QVERIFY(form.inEditMode());
        QCOMPARE(form.caption(), QStringLiteral("Record :2"));
        QVERIFY(!platform::busy::isBusy());
    }

    void validateHandlerThatClearsTheSaveFlagStopsTheSave()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        const QString query =
            QStringLiteral("SELECT Keterangan FROM Departemen WHERE Kodedepartemen='D01'");
        const QString stored = db.scalar(query).toString();
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        QObject::connect(form.data(), &platform::DataControl::validate, form.data(),
                         [](int action, bool *save) {
                             if (action == platform::DataControl::Update)
                                 *save = false;
                         });
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtKeterangan", QStringLiteral("Ganti")));
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(db.scalar(query).toString(), stored);
        QCOMPARE(dialogs.count(), 0);
        QVERIFY(form.inEditMode());
    }

    void navigatorMoveThatFailsRaisesTheErrorEvent()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(openWindow());
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtKodedepartemen", QStringLiteral("D02")));
        dialogs.expect(QStringLiteral("Data error event hit eer:"));
        QVERIFY(form.navigate("Next"));
        QVERIFY(dialogs.last().text.startsWith(QStringLiteral("Data error event hit eer:")));
        QVERIFY(dialogs.last().text.contains(QStringLiteral("unique"), Qt::CaseInsensitive));
        QCOMPARE(dialogs.last().title, QStringLiteral("Kelvara"));
        QCOMPARE(int(dialogs.last().icon), int(Icon::None));
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(form.caption(), QStringLiteral("Record :1"));
        QCOMPARE(db.count("Departemen"), 5);
    }

    void closeUnloads()
    {
        TestDatabase db;
        FormDriver form(openWindow());
        QPointer<QWidget> window = platform::WindowRegistry::find<Fdepartemen>();
        QVERIFY(form.click("cmdKeluar"));
        QTRY_VERIFY(window.isNull());
        QVERIFY(!platform::busy::isBusy());
    }
};

QTEST_MAIN(TestDepartemen)
#include "test_departemen.moc"
