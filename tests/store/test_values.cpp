#include "store/Leave.h"
#include "store/Values.h"

#include <QtTest>

#include <cmath>

class TestValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsLeadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("plain") << QStringLiteral("5") << 5.0;
        QTest::newRow("blanks inside") << QStringLiteral(" 1 2") << 12.0;
        QTest::newRow("sign alone") << QStringLiteral("-") << 0.0;
        QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
        QTest::newRow("exponent then junk") << QStringLiteral("1e3x") << 1000.0;
        QTest::newRow("double sign") << QStringLiteral("--1") << 0.0;
        QTest::newRow("hex is not read") << QStringLiteral("0x10") << 0.0;
        QTest::newRow("comma stops") << QStringLiteral("1,5") << 1.0;
        QTest::newRow("trailing letters") << QStringLiteral("  12abc") << 12.0;
        QTest::newRow("negative fraction") << QStringLiteral("-3.25") << -3.25;
        QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2;
        QTest::newRow("NaN is text") << QStringLiteral("NaN") << 0.0;
        QTest::newRow("bare exponent") << QStringLiteral("2e") << 2.0;
        QTest::newRow("tiny underflows") << QStringLiteral("1e-999") << 0.0;
        QTest::newRow("arabic digits are text") << QStringLiteral("\u0661") << 0.0;
    }
    void readsLeadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(store::readNumber(text), expected);
    }

    void hugeExponentIsInfinite()
    {
        QVERIFY(std::isinf(store::readNumber(u"1e999")));
        QCOMPARE(store::readNumber(u"1e309"), HUGE_VAL);
        QCOMPARE(store::readNumber(u"-1e309"), -HUGE_VAL);
    }

    void writesPlainDecimals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole") << 13.0 << QStringLiteral("13");
        QTest::newRow("shortest") << 18 - 0.1 << QStringLiteral("17.9");
        QTest::newRow("remaining days") << 18 - 10.3 << QStringLiteral("7.7");
        QTest::newRow("slip amount") << 17.9 * 95000 << QStringLiteral("1700500");
        QTest::newRow("wage times days") << 100000 * 5.1 << QStringLiteral("510000");
        QTest::newRow("sum of tenths") << 0.1 + 0.2 << QStringLiteral("0.3");
        QTest::newRow("negative") << -3.0 << QStringLiteral("-3");
        QTest::newRow("negative fraction") << 18 - 21.7 << QStringLiteral("-3.7");
        QTest::newRow("minus zero") << -0.0 << QStringLiteral("0");
        QTest::newRow("tiny negative is no minus zero")
            << -1e-300 << QString("-0.%1").arg(QString(299, '0') + '1');
        QTest::newRow("12 digits and a half") << 123456789012.5 << QStringLiteral("123456789012.5");
        QTest::newRow("1e15") << 1e15 << QStringLiteral("1000000000000000");
        QTest::newRow("16th digit rounds")
            << 1234567890123456.0 << QStringLiteral("1234567890123460");
        QTest::newRow("large without exponent") << 1e21 << QStringLiteral("1000000000000000000000");
        QTest::newRow("small without exponent") << 0.0001 << QStringLiteral("0.0001");
        QTest::newRow("wage with cents") << 95000.5 << QStringLiteral("95000.5");
    }
    void writesPlainDecimals()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(store::writeNumber(value), expected);
    }

    // Every one-decimal number of days taken out of 18 leaves a one-decimal number of days,
    // and at 95000 a day a whole amount.
    void tenthsLeaveNoLeftovers()
    {
        for (int tenths = 0; tenths <= 180; ++tenths) {
            const double taken = store::readNumber(QString::number(tenths / 10.0));
            const int left = 180 - tenths;
            const QString days = QStringLiteral("%1.%2").arg(left / 10).arg(left % 10);
            QCOMPARE(store::writeNumber(18 - taken, 18),
                     left % 10 ? days : QString::number(left / 10));
            // The amount is worked out from the stored days, which are read from that text.
            const double stored = store::readNumber(store::writeNumber(18 - taken, 18));
            QCOMPARE(store::writeNumber(stored * 95000), QString::number(left * 9500));
        }
    }

    // The leave rules of a save: the days taken come off the remaining days once, within 18
    // days taken and a remainder between nothing and the entitlement; none means refused.
    void leaveRemainder_data()
    {
        QTest::addColumn<double>("remaining");
        QTest::addColumn<double>("taken");
        QTest::addColumn<QString>("expected");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("new, 5 taken") << 18.0 << 5.0 << QStringLiteral("13");
        QTest::newRow("all 18") << 18.0 << 18.0 << QStringLiteral("0");
        QTest::newRow("nothing taken") << 18.0 << 0.0 << QStringLiteral("18");
        QTest::newRow("tenths") << 18.0 << 17.1 << QStringLiteral("0.9");
        QTest::newRow("changed, 6 more") << 13.0 << 6.0 << QStringLiteral("7");
        QTest::newRow("given back") << 1.0 << -17.0 << QStringLiteral("18");
        QTest::newRow("19") << 18.0 << 19.0 << QString();
        QTest::newRow("18.5") << 18.0 << 18.5 << QString();
        QTest::newRow("below nothing") << 1.0 << 6.0 << QString();
        QTest::newRow("above entitlement") << 18.0 << -3.0 << QString();
        QTest::newRow("infinite") << 18.0 << inf << QString();
        QTest::newRow("minus infinite") << 18.0 << -inf << QString();
    }
    void leaveRemainder()
    {
        QFETCH(double, remaining);
        QFETCH(double, taken);
        QFETCH(QString, expected);
        const std::optional<QString> left = store::remainingAfter(remaining, taken, 18);
        QCOMPARE(left.value_or(QString()), expected);
    }

    void showsDatesDayFirst()
    {
        QCOMPARE(store::displayText(QStringLiteral("2025-03-07"), true),
                 QStringLiteral("07/03/2025"));
        QCOMPARE(store::displayText(QStringLiteral("2025-03-07"), false),
                 QStringLiteral("2025-03-07"));
        QCOMPARE(store::displayText(QVariant(), true), QString());
        QCOMPARE(store::displayText(qint64(2005), false), QStringLiteral("2005"));
    }
};

QTEST_APPLESS_MAIN(TestValues)
#include "test_values.moc"
