#include "import/Convert.h"

#include <QtTest>

using accessimport::readExactNumber;
using accessimport::readIsoDate;
using accessimport::readWholeNumber;

class TestImportConvert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numbersReadToTheNearestDouble_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("currency with four places") << "95000.5000" << 95000.5;
        QTest::newRow("fraction of a day") << "15.5" << 15.5;
        QTest::newRow("one tenth") << "0.1" << 0.1;
        QTest::newRow("seventeen digits") << "0.30000000000000004" << 0.30000000000000004;
        QTest::newRow("large money") << "922337203685477.5807" << 922337203685477.5807;
        QTest::newRow("negative") << "-2.5" << -2.5;
        QTest::newRow("plus sign and blanks") << " +7 " << 7.0;
        QTest::newRow("exponent") << "1e+20" << 1e20;
    }
    void numbersReadToTheNearestDouble()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const std::optional<double> read = readExactNumber(text);
        QVERIFY(read);
        // Exact equality: the reader must land on the same double as the compiler.
        QVERIFY2(*read == expected, qPrintable(QString::number(*read, 'g', 17)));
    }

    void numbersRefuseWhatIsNotOne()
    {
        for (const char *text : {"", "  ", "abc", "12abc", "1,5", "95.000,5", "inf", "nan", "-",
                                 ".", "1e999", "0x10", "1 2"})
            QVERIFY2(!readExactNumber(QString::fromLatin1(text)), text);
    }

    void wholeNumbers()
    {
        QCOMPARE(readWholeNumber(u"1987"), std::optional<qint64>(1987));
        QCOMPARE(readWholeNumber(u"1987.0000"), std::optional<qint64>(1987));
        QCOMPARE(readWholeNumber(u"-3"), std::optional<qint64>(-3));
        QVERIFY(!readWholeNumber(u"1987.5"));
        QVERIFY(!readWholeNumber(u"1e30"));
        QVERIFY(!readWholeNumber(u"tahun"));
    }

    void dates()
    {
        QCOMPARE(readIsoDate(u"1960-01-10"), std::optional<QString>("1960-01-10"));
        QCOMPARE(readIsoDate(u" 2020-02-29 "), std::optional<QString>("2020-02-29"));
        for (const char *text : {"2019-02-29", "2019-13-01", "10/01/1960", "1960-1-10", "999-01-01",
                                 "1960-01-10 08:00:00", ""})
            QVERIFY2(!readIsoDate(QString::fromLatin1(text)), text);
    }

    // Null stays no value in every kind of column, never an empty text or a zero.
    void nullStaysNoValue()
    {
        for (accessimport::TargetKind kind :
             {accessimport::TargetKind::Text, accessimport::TargetKind::Real,
              accessimport::TargetKind::Integer, accessimport::TargetKind::Date}) {
            accessimport::TargetColumn column;
            column.name = QStringLiteral("Kolom");
            column.kind = kind;
            const accessimport::Converted c = accessimport::convert(std::nullopt, column);
            QVERIFY(c.problem.isEmpty());
            QVERIFY(c.value.isNull());
        }
    }
};

QTEST_GUILESS_MAIN(TestImportConvert)
#include "test_import_convert.moc"
