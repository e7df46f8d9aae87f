// The report selection dialog: its first state, the OK rules and the way back from reports.

#include "CleanState.h"
#include "FormDriver.h"
#include "TestDatabase.h"
#include "platform/DataCombo.h"
#include "platform/Twips.h"
#include "platform/WindowRegistry.h"
#include "reports/DataReport2.h"
#include "reports/Dialog.h"
#include "reports/PaymentReports.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using platform::WindowRegistry;

namespace {

Dialog *showDialog()
{
    Dialog *dialog = WindowRegistry::show<Dialog>();
    dialog->activateWindow();
    return dialog;
}

void choose(Dialog *dialog, const QString &text)
{
    QLineEdit *edit = FormDriver(dialog).find<platform::DataCombo>("DataCombo1")->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, text);
}

// Runs the deletions of windows that closed themselves.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename W> int instances()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += qobject_cast<W *>(w) != nullptr;
    return count;
}

bool anyReportOpen()
{
    return WindowRegistry::find<DataReport1>() || WindowRegistry::find<LaporanSDM>() ||
           WindowRegistry::find<Laporanpersonalia>() || WindowRegistry::find<Laporanproduksi>() ||
           WindowRegistry::find<Laporansi>();
}

} // namespace

class TestReportDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void firstShow();
    void okWithoutAKnownNameDoesNothing_data();
    void okWithoutAKnownNameDoesNothing();
    void departmentReportOpensAndDialogStays();
    void pickingFromTheListOpensThatReport();
    void okTwiceGivesOneReport();
    void allStaffHidesDialogUntilReportCloses();
    void cancelThenClosingReportShowsFreshDialog();
    void closingTheSlipBringsNothingBack();
};

void TestReportDialog::firstShow()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    Dialog *dialog = showDialog();
    QCOMPARE(dialog->windowTitle(), QString("Seleksi Laporan"));
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->parentWidget());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->size(), platform::twips::size(6030, 1890));
    // No close box and no system menu.
    QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(dialog->windowFlags() & Qt::WindowSystemMenuHint));

    auto *department = FormDriver(dialog).find<QRadioButton>("Option1");
    auto *allStaff = FormDriver(dialog).find<QRadioButton>("Option5");
    QCOMPARE(department->text(), QString("Departemen"));
    QCOMPARE(allStaff->text(), QString("Laporan Seluruh Jabatan"));
    QVERIFY(department->isChecked());
    QVERIFY(!allStaff->isChecked());
    allStaff->click();
    QVERIFY(!department->isChecked());
    department->click();
    QVERIFY(!allStaff->isChecked());

    auto *label = FormDriver(dialog).find<QLabel>("Label1");
    QCOMPARE(label->text(), QString("LAPORAN BERDASARKAN :"));
    QCOMPARE(label->palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QCOMPARE(department->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    // The options are filled with the application-workspace grey, not the button colour.
    for (QRadioButton *option : {department, allStaff}) {
        const QImage shot = option->grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() - 2, 0), QColor(171, 171, 171));
    }
    QCOMPARE(label->geometry(), platform::twips::rect(120, 240, 4335, 1455));

    auto *ok = FormDriver(dialog).find<QPushButton>("OKButton");
    auto *cancel = FormDriver(dialog).find<QPushButton>("CancelButton");
    QCOMPARE(ok->text(), QString("OK"));
    QCOMPARE(cancel->text(), QString("Cancel"));
    QVERIFY(!ok->isDefault() && !ok->autoDefault());
    QVERIFY(!cancel->isDefault() && !cancel->autoDefault());

    auto *combo = FormDriver(dialog).find<platform::DataCombo>("DataCombo1");
    QCOMPARE(combo->value(), QString());
    QStringList listed;
    for (int i = 0; i < combo->count(); ++i)
        listed << combo->itemText(i);
    QCOMPARE(listed, QStringList({"Sumber Daya Manusia", "Personalia", "Sistem Informasi",
                                  "Produksi", "Gudang"}));

    // Focus moves OK, Cancel, all staff, the department box, Departemen.
    QCOMPARE(ok->nextInFocusChain(), cancel);
    QWidget *afterCancel = cancel->nextInFocusChain();
    QCOMPARE(afterCancel, allStaff);
    QVERIFY(allStaff->nextInFocusChain() == combo ||
            allStaff->nextInFocusChain() == combo->lineEdit());

    QVERIFY(FormDriver(dialog).click("OKButton"));
    QVERIFY(!anyReportOpen());
    QVERIFY(dialog->isVisible());
}

void TestReportDialog::okWithoutAKnownNameDoesNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("another department") << "Gudang";
    QTest::newRow("other case") << "personalia";
    QTest::newRow("trailing blank") << "Personalia ";
    QTest::newRow("leading blank") << " Produksi";
    QTest::newRow("part of a name") << "Sistem";
}

void TestReportDialog::okWithoutAKnownNameDoesNothing()
{
    QFETCH(QString, text);
    TestDatabase db;
    QVERIFY(db.fillSample());
    Dialog *dialog = showDialog();
    choose(dialog, text);
    QCOMPARE(FormDriver(dialog).find<platform::DataCombo>("DataCombo1")->value(), text);
    QVERIFY(FormDriver(dialog).click("OKButton"));
    QVERIFY(!anyReportOpen());
    QVERIFY(dialog->isVisible());
}

void TestReportDialog::departmentReportOpensAndDialogStays()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    Dialog *dialog = showDialog();
    choose(dialog, "Personalia");
    QVERIFY(FormDriver(dialog).click("OKButton"));
    Laporanpersonalia *personalia = WindowRegistry::find<Laporanpersonalia>();
    QVERIFY(personalia);
    QVERIFY(personalia->isVisible());
    QCOMPARE(personalia->windowTitle(), QString("Laporan Karyawan Bagian Personalia"));
    QVERIFY(dialog->isVisible());
    // The preview leaves the dialog in sight.
    QVERIFY(!personalia->frameGeometry().intersects(dialog->frameGeometry()));

    // Another department at once: both reports side by side.
    choose(dialog, "Produksi");
    QVERIFY(FormDriver(dialog).click("OKButton"));
    QVERIFY(WindowRegistry::find<Laporanproduksi>());
    QVERIFY(WindowRegistry::find<Laporanproduksi>()->isVisible());
    QVERIFY(personalia->isVisible());
    QVERIFY(dialog->isVisible());
    QVERIFY(!WindowRegistry::find<DataReport1>());
}

void TestReportDialog::pickingFromTheListOpensThatReport()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    Dialog *dialog = showDialog();
    auto *combo = FormDriver(dialog).find<platform::DataCombo>("DataCombo1");
    combo->setCurrentIndex(combo->findText("Sistem Informasi"));
    QCOMPARE(combo->value(), QString("Sistem Informasi"));
    QVERIFY(FormDriver(dialog).click("OKButton"));
    QVERIFY(WindowRegistry::find<Laporansi>());
    combo->setCurrentIndex(combo->findText("Sumber Daya Manusia"));
    QVERIFY(FormDriver(dialog).click("OKButton"));
    QVERIFY(WindowRegistry::find<LaporanSDM>());
}

void TestReportDialog::okTwiceGivesOneReport()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    Dialog *dialog = showDialog();
    choose(dialog, "Sumber Daya Manusia");
    QVERIFY(FormDriver(dialog).click("OKButton"));
    LaporanSDM *first = WindowRegistry::find<LaporanSDM>();
    QVERIFY(first);
    QVERIFY(FormDriver(dialog).click("OKButton"));
    QCOMPARE(WindowRegistry::find<LaporanSDM>(), first);
    QCOMPARE(instances<LaporanSDM>(), 1);

    FormDriver(dialog).find<QRadioButton>("Option5")->click();
    QVERIFY(FormDriver(dialog).click("OKButton"));
    DataReport1 *allStaff = WindowRegistry::find<DataReport1>();
    showDialog();
    QVERIFY(FormDriver(dialog).click("OKButton"));
    QCOMPARE(WindowRegistry::find<DataReport1>(), allStaff);
    QCOMPARE(instances<DataReport1>(), 1);
}

void TestReportDialog::allStaffHidesDialogUntilReportCloses()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    Dialog *dialog = showDialog();
    FormDriver(dialog).find<QRadioButton>("Option5")->click();
    QVERIFY(FormDriver(dialog).click("OKButton"));
    DataReport1 *report = WindowRegistry::find<DataReport1>();
    QVERIFY(report);
    QVERIFY(report->isVisible());
    QCOMPARE(report->windowTitle(), QString("Laporan Seluruh Data"));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(WindowRegistry::find<Dialog>(), dialog); // hidden, still loaded

    QVERIFY(report->close());
    settle();
    QVERIFY(!WindowRegistry::find<DataReport1>());
    QCOMPARE(WindowRegistry::find<Dialog>(), dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(FormDriver(dialog).find<QRadioButton>("Option5")->isChecked());
}

void TestReportDialog::cancelThenClosingReportShowsFreshDialog()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    Dialog *dialog = showDialog();
    choose(dialog, "Produksi");
    QVERIFY(FormDriver(dialog).click("OKButton"));
    FormDriver(dialog).find<QRadioButton>("Option5")->click();
    QVERIFY(FormDriver(dialog).click("CancelButton"));
    settle();
    QVERIFY(!WindowRegistry::find<Dialog>());

    QVERIFY(WindowRegistry::find<Laporanproduksi>()->close());
    settle();
    Dialog *fresh = WindowRegistry::find<Dialog>();
    QVERIFY(fresh);
    QVERIFY(fresh->isVisible());
    QVERIFY(FormDriver(fresh).find<QRadioButton>("Option1")->isChecked());
    QVERIFY(!FormDriver(fresh).find<QRadioButton>("Option5")->isChecked());
    QCOMPARE(FormDriver(fresh).find<platform::DataCombo>("DataCombo1")->value(), QString());

    // A visible dialog stays as it is when another report closes.
    choose(fresh, "Personalia");
    QVERIFY(FormDriver(fresh).click("OKButton"));
    QVERIFY(WindowRegistry::find<Laporanpersonalia>()->close());
    settle();
    QCOMPARE(WindowRegistry::find<Dialog>(), fresh);
    QCOMPARE(FormDriver(fresh).find<platform::DataCombo>("DataCombo1")->value(),
             QString("Personalia"));
}

void TestReportDialog::closingTheSlipBringsNothingBack()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    DataReport2 *slip = WindowRegistry::show<DataReport2>();
    QCOMPARE(slip->windowTitle(), QString("Slip Pembayaran Uang Cuti"));
    QCOMPARE(WindowRegistry::show<DataReport2>(), slip);
    QVERIFY(slip->close());
    settle();
    QVERIFY(!WindowRegistry::find<DataReport2>());
    QVERIFY(!WindowRegistry::find<Dialog>());
}

QTEST_MAIN(TestReportDialog)
#include "test_reportdialog.moc"
