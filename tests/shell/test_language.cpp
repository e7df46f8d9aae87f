// What the program sets up at start, under a C locale: Qt's own texts in Indonesian, the
// Indonesian calendar in the date pickers, and the program's icon on every window.

#include "CleanState.h"
#include "platform/DatePicker.h"
#include "shell/ShellSupport.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

class TestLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void initTestCase();
    void qtTextsAreIndonesian_data();
    void qtTextsAreIndonesian();
    void calendarIsIndonesian();
    void contextMenuIsIndonesian();
    void everyWindowCarriesTheIcon();
};

void TestLanguage::initTestCase()
{
    QCOMPARE(qgetenv("LANG"), QByteArray("C.UTF-8"));
    shell::prepareProgram();
}

void TestLanguage::qtTextsAreIndonesian_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << "Ya";
    QTest::newRow("No") << int(QMessageBox::No) << "Tidak";
    QTest::newRow("OK") << int(QMessageBox::Ok) << "OK";
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << "Batal";
    QTest::newRow("Close") << int(QMessageBox::Close) << "Tutup";
    QTest::newRow("Save") << int(QMessageBox::Save) << "Simpan";
}

void TestLanguage::qtTextsAreIndonesian()
{
    QFETCH(int, button);
    QFETCH(QString, caption);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Exit Program"), QStringLiteral("?"),
                    QMessageBox::StandardButton(button));
    QCOMPARE(box.button(QMessageBox::StandardButton(button))->text().remove(u'&'), caption);
}

void TestLanguage::calendarIsIndonesian()
{
    platform::DatePicker picker;
    picker.setDate(QDate(2026, 8, 17));
    QCOMPARE(picker.text(), QStringLiteral("17/08/2026"));
    QCalendarWidget *calendar = picker.calendarWidget();
    calendar->setSelectedDate(picker.date());
    const auto *month =
        calendar->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
    QVERIFY(month);
    QCOMPARE(month->text(), QStringLiteral("Agustus"));
    QCOMPARE(calendar->locale().standaloneMonthName(1), QStringLiteral("Januari"));
    QCOMPARE(calendar->locale().dayName(1, QLocale::ShortFormat), QStringLiteral("Sen"));
}

void TestLanguage::contextMenuIsIndonesian()
{
    QLineEdit box;
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList actions;
    for (const QAction *action : menu->actions())
        actions << action->text().section(u'\t', 0, 0);
    QVERIFY2(actions.contains(QStringLiteral("&Salin")), qPrintable(actions.join(u',')));
    QVERIFY(actions.contains(QStringLiteral("Pilih Semua")));
}

void TestLanguage::everyWindowCarriesTheIcon()
{
    QWidget window;
    const QList<QSize> sizes = window.windowIcon().availableSizes();
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), QByteArray::number(size));
    QMessageBox box;
    QCOMPARE(box.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
}

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
