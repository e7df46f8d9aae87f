#include "CleanState.h"
#include "FormDriver.h"
#include "ScriptedDialogs.h"
#include "ShowsWhole.h"
#include "TestDatabase.h"

#include "leave/FCuti.h"
#include "platform/DataCombo.h"
#include "platform/DataGrid.h"
#include "platform/WindowRegistry.h"
#include "store/Values.h"

#include <QLabel>
#include <QTabWidget>
#include <QtTest>

#include <utility>

using platform::Icon;

namespace {

const QString Saved = QStringLiteral("Data sudah Disimpan!");
const QString TooMany = QStringLiteral("Tidak Boleh melebihi jatah Cuti!");

FormDriver openWindow()
{
    return FormDriver(platform::WindowRegistry::show<FCuti>());
}

QAbstractItemModel *grid(const FormDriver &form)
{
    return form.find<platform::DataGrid>(QStringLiteral("DataGrid1"))->model();
}

QVariant stored(TestDatabase &db, const QString &column, const QString &nip, const QString &card)
{
    return db.scalar(
        QStringLiteral("SELECT \"%1\" FROM Cuti WHERE Nip = ? AND KartuCuti = ?").arg(column),
        {nip, card});
}

// Starts a new leave record for an employee and a card, with the days taken typed in.
bool enterNew(const FormDriver &form, const QString &nip, const QString &card, const QString &days)
{
    return form.click(QStringLiteral("cmdTambah")) &&
           form.type(QStringLiteral("DataCombo1"), nip) &&
           form.type(QStringLiteral("DataCombo2"), card) &&
           form.type(QStringLiteral("txtcuti"), days);
}

void expectRefused(const ScriptedDialogs &dialogs)
{
    QCOMPARE(dialogs.last().text, QStringLiteral("Tidak Boleh melebihi jatah Cuti!"));
    QCOMPARE(dialogs.last().title, QStringLiteral("Kesalahan"));
    QCOMPARE(int(dialogs.last().icon), int(Icon::Information));
    QCOMPARE(int(dialogs.last().buttons), int(platform::Buttons::Ok));
}

// A refused save: still in edit mode, the remainder as it was, no record added.
void expectPending(const FormDriver &form, TestDatabase &db, const QString &remaining)
{
    QVERIFY(form.inEditMode());
    QCOMPARE(form.text(QStringLiteral("txtSisaCuti")), remaining);
    QCOMPARE(db.count(QStringLiteral("Cuti")), 3);
}

// A control's place inside the tab control, in pixels.
QRect placeInTabs(const FormDriver &form, const QString &name)
{
    QWidget *widget = form.find(name);
    auto *tabs = form.find<QTabWidget>(QStringLiteral("SSTab1"));
    return QRect(widget->mapTo(tabs, QPoint(0, 0)), widget->size());
}

} // namespace

class TestCuti : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void windowHasItsShape()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        FormDriver form = openWindow();
        QWidget *window = platform::WindowRegistry::find<FCuti>();
        QCOMPARE(window->objectName(), QStringLiteral("FCuti"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Proses - Cuti"));
        QCOMPARE(window->size(), QSize(553, 396));
        QVERIFY(!(window->windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(form.find<QLabel>("Label1")->text(), QStringLiteral("FORM DATA CUTI"));
        QCOMPARE(form.find("SSTab1")->geometry(), QRect(0, 48, 553, 345));
        // Places inside the tab control, within the pixel that rounding and the tab frame take.
        const auto near = [](const QRect &actual, const QRect &expected) {
            return qAbs(actual.x() - expected.x()) <= 2 && qAbs(actual.y() - expected.y()) <= 2 &&
                   actual.size() == expected.size();
        };
        QVERIFY(near(placeInTabs(form, "Frame2"), QRect(10, 272, 533, 65)));
        QVERIFY(near(placeInTabs(form, "DataCombo1"), QRect(112, 48, 113, 21)));
        QVERIFY(near(placeInTabs(form, "Text2"), QRect(112, 72, 132, 19)));
        QVERIFY(near(placeInTabs(form, "txtSisaCuti"), QRect(464, 213, 27, 19)));
        QVERIFY(near(placeInTabs(form, "Line1"), QRect(24, 208, 496, 1)));
        // A caption starts at its place or, where the font needs the room, further left.
        QVERIFY(placeInTabs(form, "lblFieldLabel(0)").x() <= 64 + 2);
        QVERIFY(placeInTabs(form, "lblFieldLabel(7)").right() < placeInTabs(form, "txtcuti").x());
        QCOMPARE(form.find<QLabel>("lblFieldLabel(7)")->text(), QStringLiteral("Mengambil Cuti :"));
        QCOMPARE(form.find<QLabel>("Label4")->text(), QStringLiteral("Kartu Cuti:"));
        QCOMPARE(form.find<QLabel>("lblFieldLabel(6)")->text(), QStringLiteral("Hari"));
        // Every label fits its caption.
        for (QLabel *label : window->findChildren<QLabel *>()) {
            if (label->objectName().startsWith(QStringLiteral("lbl")) ||
                label->objectName() == QStringLiteral("Label4"))
                QVERIFY2(label->width() >= label->sizeHint().width(),
                         qPrintable(label->objectName()));
        }
        QCOMPARE(form.find("DataCombo2")->height(), 21);
        QCOMPARE(form.find("txtcuti")->height(), 19);
    }

    void listsAndGrid()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        FormDriver form = openWindow();
        auto *nips = form.find<platform::DataCombo>("DataCombo1");
        QCOMPARE(nips->count(), 3);
        QCOMPARE(nips->itemText(2), QStringLiteral("20003"));
        auto *cards = form.find<platform::DataCombo>("DataCombo2");
        QCOMPARE(cards->count(), 2);
        QCOMPARE(cards->itemText(1), QStringLiteral("K2026"));
        QVERIFY(form.find<QObject>("Adopegawai"));
        QVERIFY(form.find<QObject>("Adodc2"));
        auto *criteria = form.find<QComboBox>("Combo1");
        QCOMPARE(criteria->count(), 2);
        QCOMPARE(criteria->itemText(0), QStringLiteral("NIP"));
        QCOMPARE(criteria->itemText(1), QStringLiteral("Nama"));
        const QStringList headers = {
            "Nip",      "Nama",        "KodeDepartemen", "Keterangan",   "KodePeringkat",
            "Jabatan",  "TahunMasuk",  "PeriodeAwal",    "PeriodeAkhir", "Hakcuti",
            "SisaCuti", "UpahPerhari", "Total Uang Cuti"};
        QCOMPARE(grid(form)->columnCount(), int(headers.size()));
        for (int c = 0; c < headers.size(); ++c)
            QCOMPARE(grid(form)->headerData(c, Qt::Horizontal).toString(), headers[c]);
        QCOMPARE(grid(form)->rowCount(), 3);
    }

    void modesSwitchTheirControls()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form = openWindow();
        const QStringList switched = {"DataCombo1", "txtHakcuti", "txtSisaCuti", "txtcuti"};
        QVERIFY(form.inViewMode());
        for (const QString &name : switched)
            QVERIFY2(!form.find(name)->isEnabled(), qPrintable(name));
        QVERIFY(form.find("DataCombo2")->isEnabled());
        QVERIFY(form.find("Text2")->isEnabled());
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.inEditMode());
        for (const QString &name : switched)
            QVERIFY2(form.find(name)->isEnabled(), qPrintable(name));
        // The entitlement, the remaining days and the name take no typing.
        for (const char *name : {"txtHakcuti", "txtSisaCuti", "Text2"})
            QVERIFY(form.find<QLineEdit>(QString::fromLatin1(name))->isReadOnly());
        QVERIFY(!form.find<QLineEdit>("txtcuti")->isReadOnly());
        QVERIFY(form.click("Command1"));
        QVERIFY(form.inViewMode());
        QVERIFY(!form.find("txtcuti")->isEnabled());
    }

    void newRecordStartsWithTheEntitlement()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form = openWindow();
        QVERIFY(form.click("cmdTambah"));
        QCOMPARE(form.text("txtHakcuti"), QStringLiteral("18"));
        QCOMPARE(form.text("txtSisaCuti"), QStringLiteral("18"));
        QCOMPARE(form.text("txtcuti"), QStringLiteral("0"));
        QCOMPARE(form.text("DataCombo1"), QString());
        QCOMPARE(form.text("Text2"), QString());
        QVERIFY(form.type("DataCombo1", QStringLiteral("20003")));
        QCOMPARE(form.text("Text2"), QStringLiteral("Bunga"));
        QVERIFY(form.type("DataCombo2", QStringLiteral("K2025")));
        QVERIFY(form.type("txtcuti", QStringLiteral("5")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data sudah Disimpan!"));
        QVERIFY(form.inViewMode());
        QCOMPARE(stored(db, "Hakcuti", "20003", "K2025").toDouble(), 18.0);
        QCOMPARE(stored(db, "Penggantian Cuti", "20003", "K2025").toDouble(), 5.0);
        QCOMPARE(stored(db, "SisaCuti", "20003", "K2025").toDouble(), 13.0);
        // The new record is the table's last, so it is the one shown.
        QCOMPARE(form.caption(), QStringLiteral("Record :4"));
        QCOMPARE(form.text("txtSisaCuti"), QStringLiteral("13"));
        QCOMPARE(form.text("Text2"), QStringLiteral("Bunga"));
        QCOMPARE(grid(form)->rowCount(), 4);
    }

    void daysTakenOnANewRecord_data()
    {
        QTest::addColumn<QString>("days");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("remaining");
        QTest::newRow("all 18") << "18" << true << 0.0;
        QTest::newRow("half day") << "4.5" << true << 13.5;
        QTest::newRow("no leftovers") << "17.1" << true << 0.9;
        QTest::newRow("a tenth") << "0.1" << true << 17.9;
        QTest::newRow("empty") << "" << true << 18.0;
        QTest::newRow("19") << "19" << false << 0.0;
        QTest::newRow("18.5") << "18.5" << false << 0.0;
        QTest::newRow("minus 3") << "-3" << false << 0.0;
        QTest::newRow("huge") << "1e999" << false << 0.0;
        QTest::newRow("minus huge") << "-1e999" << false << 0.0;
    }

    void daysTakenOnANewRecord()
    {
        QFETCH(QString, days);
        QFETCH(bool, accepted);
        QFETCH(double, remaining);
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form = openWindow();
        QVERIFY(enterNew(form, QStringLiteral("20003"), QStringLiteral("K2025"), days));
        dialogs.expect(accepted ? Saved : TooMany);
        QVERIFY(form.click("cmdSimpan"));
        if (accepted) {
            QCOMPARE(dialogs.last().text, QStringLiteral("Data sudah Disimpan!"));
            QCOMPARE(stored(db, "SisaCuti", "20003", "K2025").toDouble(), remaining);
            QCOMPARE(form.text("txtSisaCuti"), store::writeNumber(remaining));
            QVERIFY(showsWhole(form.find("txtSisaCuti"), store::writeNumber(remaining)));
            return;
        }
        expectRefused(dialogs);
        QCOMPARE(dialogs.count(), 1);
        expectPending(form, db, QStringLiteral("18"));
        QCOMPARE(form.text("txtcuti"), days);
        // Corrected, the same pending record saves.
        QVERIFY(form.type("txtcuti", QStringLiteral("2")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data sudah Disimpan!"));
        QCOMPARE(stored(db, "SisaCuti", "20003", "K2025").toDouble(), 16.0);
    }

    void changeSubtractsFromTheStoredRemainder()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form = openWindow();
        QCOMPARE(form.text("txtSisaCuti"), QStringLiteral("13"));
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtcuti", QStringLiteral("14")));
        dialogs.expect(TooMany);
        QVERIFY(form.click("cmdSimpan"));
        expectRefused(dialogs);
        QVERIFY(form.inEditMode());
        QCOMPARE(form.text("txtSisaCuti"), QStringLiteral("13"));
        QCOMPARE(stored(db, "SisaCuti", "19001", "K2025").toDouble(), 13.0);
        QVERIFY(form.type("txtcuti", QStringLiteral("6")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(stored(db, "SisaCuti", "19001", "K2025").toDouble(), 7.0);
        QCOMPARE(stored(db, "Penggantian Cuti", "19001", "K2025").toDouble(), 6.0);
        // The save shows the table's last record, not the one just changed.
        QCOMPARE(form.caption(), QStringLiteral("Record :3"));
        QCOMPARE(form.text("Text2"), QStringLiteral("Bunga"));
        // Saved again and again, the remainder never drops below nothing.
        QVERIFY(form.navigate("First"));
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtcuti", QStringLiteral("6")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(stored(db, "SisaCuti", "19001", "K2025").toDouble(), 1.0);
        QVERIFY(form.navigate("First"));
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtcuti", QStringLiteral("6")));
        dialogs.expect(TooMany);
        QVERIFY(form.click("cmdSimpan"));
        expectRefused(dialogs);
        // Days given back may not lift the remainder above the entitlement either.
        QVERIFY(form.type("txtcuti", QStringLiteral("-18")));
        dialogs.expect(TooMany);
        QVERIFY(form.click("cmdSimpan"));
        expectRefused(dialogs);
        QVERIFY(form.type("txtcuti", QStringLiteral("-17")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(stored(db, "SisaCuti", "19001", "K2025").toDouble(), 18.0);
    }

    void refusedWriteKeepsTheRemainder()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form = openWindow();
        // Days that are not a number pass the check as 0 or their leading number, but the store
        // takes no text in a number column; each refusal leaves the remainder as it was.
        QVERIFY(enterNew(form, QStringLiteral("19001"), QStringLiteral("K2025"),
                         QStringLiteral("lima")));
        for (const QString &days : {QStringLiteral("lima"), QStringLiteral("3 hari")}) {
            QVERIFY(form.type("txtcuti", days));
            dialogs.expect(QStringLiteral("Isian harus berupa angka."));
            QVERIFY(form.click("cmdSimpan"));
            QVERIFY2(dialogs.last().text.contains(QStringLiteral("angka")),
                     qPrintable(dialogs.last().text));
            expectPending(form, db, QStringLiteral("18"));
        }
        // Budi already has a record for this card: the store refuses the pair.
        QVERIFY(form.type("txtcuti", QStringLiteral("5")));
        dialogs.expect(QStringLiteral("Kode sudah dipakai oleh data lain."));
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY2(dialogs.last().text.contains(QStringLiteral("Kode sudah dipakai oleh data lain.")),
                 qPrintable(dialogs.last().text));
        expectPending(form, db, QStringLiteral("18"));
        QVERIFY(form.type("DataCombo2", QStringLiteral("K2026")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data sudah Disimpan!"));
        QCOMPARE(stored(db, "SisaCuti", "19001", "K2026").toDouble(), 13.0);
    }

    // Refused by the rule or kept out by a Validate handler, through the save, the navigator
    // or the close: corrected and written, the days taken come off the remainder once.
    void refusedThenCorrectedSubtractsOnce_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("byHandler");
        QTest::newRow("Simpan, the rule") << "cmdSimpan" << false;
        QTest::newRow("Simpan, a Validate handler") << "cmdSimpan" << true;
        QTest::newRow("navigator, the rule") << "Next" << false;
        QTest::newRow("Keluar, the rule") << "cmdKeluar" << false;
    }
    void refusedThenCorrectedSubtractsOnce()
    {
        QFETCH(QString, action);
        QFETCH(bool, byHandler);
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form = openWindow();
        bool keepOut = byHandler;
        QObject::connect(
            form.data(), &platform::DataControl::validate, form.data(),
            [&keepOut](int, bool *save) { *save = *save && !std::exchange(keepOut, false); });
        const bool button = action == QStringLiteral("cmdSimpan");
        const auto save = [&] {
            return action == QStringLiteral("Next") ? form.navigate(action) : form.click(action);
        };
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtcuti", byHandler ? QStringLiteral("6") : QStringLiteral("14")));
        if (!byHandler)
            dialogs.expect(TooMany);
        QVERIFY(save());
        QCOMPARE(form.text("txtSisaCuti"), QStringLiteral("13"));
        QCOMPARE(stored(db, "SisaCuti", "19001", "K2025").toDouble(), 13.0);
        QVERIFY(form.type("txtcuti", QStringLiteral("6")));
        if (button)
            dialogs.expect(Saved);
        QVERIFY(save());
        QCOMPARE(stored(db, "SisaCuti", "19001", "K2025").toDouble(), 7.0);
    }

    void nameFollowsTheEmployeeNumber()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec("INSERT INTO Pegawai (Nip, Nama, KodePeringkat, KodeDepartemen) "
                        "VALUES ('O''1', 'Kutip', 'P1', 'D01')"));
        ScriptedDialogs dialogs;
        FormDriver form = openWindow();
        QCOMPARE(form.text("Text2"), QStringLiteral("Budi"));
        QVERIFY(form.navigate("Next"));
        QCOMPARE(form.text("Text2"), QStringLiteral("Susi"));
        dialogs.type(QStringLiteral("20003"));
        QVERIFY(form.click("cmdCari"));
        QCOMPARE(form.text("Text2"), QStringLiteral("Bunga"));
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("DataCombo1", QStringLiteral("99999")));
        QCOMPARE(form.text("Text2"), QString());
        // The number is a literal value, whatever characters it holds.
        QVERIFY(form.type("DataCombo1", QStringLiteral("x' OR '1'='1")));
        QCOMPARE(form.text("Text2"), QString());
        QVERIFY(form.type("DataCombo1", QStringLiteral("o'1")));
        QCOMPARE(form.text("Text2"), QStringLiteral("Kutip"));
        QVERIFY(form.type("DataCombo1", QString()));
        QCOMPARE(form.text("Text2"), QString());
        form.find<QComboBox>("DataCombo1")->setCurrentIndex(1);
        QCOMPARE(form.text("Text2"), QStringLiteral("Susi"));
        // Cancel goes back to the first record and its employee.
        QVERIFY(form.click("Command1"));
        QCOMPARE(form.text("Text2"), QStringLiteral("Budi"));
        QCOMPARE(dialogs.count(), 1); // the search's question only
    }

    void searchByEmployeeNumber()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form = openWindow();
        dialogs.type(QString()); // Cancel
        dialogs.expect(QStringLiteral("Anda belum memasukan NIP "));
        QVERIFY(form.click("cmdCari"));
        QCOMPARE(dialogs.asked()[0].text, QStringLiteral("Masukkan NIP :"));
        QCOMPARE(dialogs.asked()[0].title, QStringLiteral("Pencarian data"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Anda belum memasukan NIP "));
        QCOMPARE(dialogs.last().title, QStringLiteral("Informasi\""));
        dialogs.type(QStringLiteral("12345"));
        dialogs.expect(QStringLiteral("Data tidak di temukan "));
        QVERIFY(form.click("cmdCari"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data tidak di temukan "));
        QCOMPARE(form.caption(), QStringLiteral("Record :1"));
        dialogs.type(QStringLiteral("19002"));
        QVERIFY(form.click("cmdCari"));
        QCOMPARE(form.caption(), QStringLiteral("Record :2"));
        QCOMPARE(form.text("DataCombo2"), QStringLiteral("K2025"));
    }

    void browseFiltersAndShowsMoney()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form = openWindow();
        form.find<QTabWidget>("SSTab1")->setCurrentIndex(1);
        form.find<QComboBox>("Combo1")->setCurrentIndex(1);
        QVERIFY(form.type("Text1", QStringLiteral("Bu")));
        QAbstractItemModel *rows = grid(form);
        QCOMPARE(rows->rowCount(), 2);
        for (int r = 0; r < rows->rowCount(); ++r)
            QVERIFY(rows->index(r, 1).data().toString().startsWith(QStringLiteral("Bu")));
        form.find<QComboBox>("Combo1")->setCurrentIndex(0);
        QVERIFY(form.type("Text1", QStringLiteral("190")));
        QCOMPARE(rows->rowCount(), 2);
        QVERIFY(form.type("Text1", QString()));
        QCOMPARE(rows->rowCount(), 3);
        // The money amount is the remaining days at the daily wage, half days included.
        for (int r = 0; r < rows->rowCount(); ++r) {
            const double days = store::readNumber(rows->index(r, 10).data().toString());
            const double wage = store::readNumber(rows->index(r, 11).data().toString());
            const double money = store::readNumber(rows->index(r, 12).data().toString());
            QCOMPARE(money, days * wage);
        }
        QCOMPARE(rows->index(2, 12).data().toString(), QStringLiteral("840000"));
        QCOMPARE(dialogs.count(), 0);
    }
};

QTEST_MAIN(TestCuti)
#include "test_cuti.moc"
