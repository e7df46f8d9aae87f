#include "TestDatabase.h"

#include "platform/SnapshotModel.h"
#include "store/DataEnvironment.h"

#include <QAbstractItemModelTester>
#include <QtTest>

class TestSnapshotModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The model stays a sound item model through a refresh that adds rows, a filter and its
    // clearing, and shows every stored value as its display text.
    void soundThroughRefreshAndFilter()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        std::unique_ptr<store::Snapshot> snapshot =
            store::DataEnvironment::instance().command(QStringLiteral("Departemen"));
        QVERIFY(snapshot);
        platform::SnapshotModel *model = platform::SnapshotModel::of(snapshot.get());
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const int rows = db.count(QStringLiteral("Departemen"));
        QCOMPARE(model->rowCount(), rows);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Kodedepartemen"));

        QVERIFY(db.exec(QStringLiteral("INSERT INTO Departemen VALUES ('D10', 'Ke''uangan Ü')")));
        QVERIFY(snapshot->refresh().ok());
        QCOMPARE(model->rowCount(), rows + 1);
        QCOMPARE(model->data(model->index(rows, 1)).toString(), QStringLiteral("Ke'uangan Ü"));

        snapshot->setFilter(0, QStringLiteral("d1"));
        QCOMPARE(model->rowCount(), 1);
        snapshot->clearFilter();
        QCOMPARE(model->rowCount(), rows + 1);
        QVERIFY(!model->index(rows + 1, 0).isValid());

        QPointer<platform::SnapshotModel> gone(model);
        snapshot.reset();
        QVERIFY(gone.isNull());
    }
};

QTEST_MAIN(TestSnapshotModel)
#include "test_snapshotmodel.moc"
