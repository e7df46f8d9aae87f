#include "platform/Messages.h"

#include <QPushButton>
#include <QtTest>

// A message box belongs over the window whose key or button asked for it.
class TestMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { platform::watchAskingWindow(); }

    void boxGoesOverTheWindowThatAsked_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<bool>("askerClosed");
        QTest::newRow("button clicked") << false << false;
        QTest::newRow("key pressed") << true << false;
        QTest::newRow("asker closed since") << false << true;
    }
    void boxGoesOverTheWindowThatAsked()
    {
        QFETCH(bool, byKey);
        QFETCH(bool, askerClosed);
        QWidget asker;
        QWidget other;
        auto *button = new QPushButton(QStringLiteral("Hapus"), &asker);
        asker.show();
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        if (byKey)
            QTest::keyClick(button, Qt::Key_Space);
        else
            QTest::mouseClick(button, Qt::LeftButton);
        if (askerClosed)
            asker.close();
        QCOMPARE(platform::askingWindow(), askerClosed ? &other : &asker);
    }
};

QTEST_MAIN(TestMessages)
#include "test_messages.moc"
