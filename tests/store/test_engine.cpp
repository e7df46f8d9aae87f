#include "TestDatabase.h"

#include "store/Database.h"
#include "store/Engine.h"
#include "store/Snapshot.h"

#include <QtTest>

#include <limits>

using store::Status;
using store::ValueType;
using namespace Qt::StringLiterals;

// A value bound to a statement comes back as the engine stored it.
class TestEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valuesComeBackAsStored_data()
    {
        QTest::addColumn<QVariant>("bound");
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariant>("read");
        const QVariant noValue(QMetaType::fromType<QString>());
        QTest::newRow("no value") << QVariant() << int(ValueType::Null) << noValue;
        QTest::newRow("null text is no value")
            << QVariant(QString()) << int(ValueType::Null) << noValue;
        QTest::newRow("empty text is a value")
            << QVariant(QString(u""_s)) << int(ValueType::Text) << QVariant(QString(u""_s));
        QTest::newRow("name with apostrophe and accents")
            << QVariant(QStringLiteral("D'Ámbrosio Ñ")) << int(ValueType::Text)
            << QVariant(QStringLiteral("D'Ámbrosio Ñ"));
        QTest::newRow("18-digit number")
            << QVariant(qint64(987654321098765432)) << int(ValueType::Integer)
            << QVariant(qint64(987654321098765432));
        QTest::newRow("largest integer")
            << QVariant(std::numeric_limits<qint64>::max()) << int(ValueType::Integer)
            << QVariant(std::numeric_limits<qint64>::max());
        QTest::newRow("fractional days")
            << QVariant(17.9) << int(ValueType::Real) << QVariant(17.9);
        QTest::newRow("bytes") << QVariant(QByteArray("\0\1x", 3)) << int(ValueType::Blob)
                               << QVariant(QByteArray("\0\1x", 3));
    }
    void valuesComeBackAsStored()
    {
        QFETCH(QVariant, bound);
        QFETCH(int, type);
        QFETCH(QVariant, read);
        TestDatabase db;
        const auto query = store::Database::connection().query(QStringLiteral("SELECT ?"),
                                                               Status::Operation::Read);
        QVERIFY(query->run({bound}).ok());
        QVERIFY(query->next());
        QCOMPARE(int(query->type(0)), type);
        QCOMPARE(query->value(0).typeId(), read.typeId());
        QCOMPARE(query->value(0), read);
        QVERIFY(!query->next());
        QVERIFY(query->status().ok());
    }

    void statementsAreRefusedWhole_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("values");
        QTest::newRow("a second statement")
            << "INSERT INTO Departemen VALUES ('D1', 'x'); DELETE FROM Departemen"
            << QVariantList{};
        QTest::newRow("too few values")
            << "INSERT INTO Departemen VALUES (?, ?)" << QVariantList{QStringLiteral("D1")};
        QTest::newRow("too many values") << "INSERT INTO Departemen VALUES (?, NULL)"
                                         << QVariantList{QStringLiteral("D1"), QStringLiteral("x")};
    }
    void statementsAreRefusedWhole()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, values);
        TestDatabase db;
        QVERIFY(!store::Database::connection().execute(sql, values).ok());
        QCOMPARE(db.count(QStringLiteral("Departemen")), 0);
    }

    void closedDatabaseRefusesEveryStatement()
    {
        TestDatabase db;
        store::Database::close();
        const Status status = store::Database::connection().execute(QStringLiteral("SELECT 1"));
        QCOMPARE(status.kind(), Status::Kind::Unreadable);
        QCOMPARE(store::Database::requireFileInPlace().kind(), Status::Kind::Unreadable);
    }

    // A damaged page of a table is found when the table is read, and reported as a file
    // that cannot be read.
    void damagedTableReadsAsUnreadable()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        const qint64 pageSize = db.scalar(u"PRAGMA page_size"_s).toLongLong();
        const qint64 root =
            db.scalar(u"SELECT rootpage FROM sqlite_master WHERE name = 'Pegawai'"_s).toLongLong();
        QVERIFY(pageSize > 0 && root > 1);
        store::Database::close();
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek((root - 1) * pageSize));
        QCOMPARE(file.write(QByteArray(pageSize, '\x5a')), pageSize);
        file.close();

        store::Snapshot employees(u"Pegawai"_s);
        const Status status = employees.refresh();
        QCOMPARE(status.kind(), Status::Kind::Unreadable);
        QVERIFY(status.message().startsWith(u"File database tidak dapat dibaca."_s));
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "test_engine.moc"
