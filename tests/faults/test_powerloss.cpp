#include "TestDatabase.h"

#include "store/Database.h"

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

namespace {

constexpr int Kills = 30;
constexpr int DescriptionLength = 60000;

} // namespace

class TestPowerLoss : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A program killed in the middle of a save leaves a sound file in which every save it
    // had reported as done is present.
    void reportedSavesSurviveKills()
    {
        TestDatabase db;
        QVERIFY(db.isValid());
        // What makes a reported save last through a power cut, not only through a kill.
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2);
        // The kills below find a save in progress by its rollback journal.
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA journal_mode")).toString(),
                 QStringLiteral("delete"));
        store::Database::close();

        const QString journal = db.path() + QStringLiteral("-journal");
        QRandomGenerator random(20261209);
        // Saves that were reported, and saves that were done when the kill came before their
        // report.
        QSet<QString> reported;
        QSet<QString> landed;
        for (int run = 0; run < Kills; ++run) {
            const int savesBeforeKill = random.bounded(1, 16);
            const bool inTheMiddle = random.bounded(2) == 1;
            QProcess child;
            const QString prefix = QStringLiteral("R%1").arg(run, 2, 10, QLatin1Char('0'));
            child.start(QStringLiteral(POWERLOSS_CHILD),
                        {db.path(), prefix, QString::number(DescriptionLength)});
            QVERIFY(child.waitForStarted());
            QByteArray out;
            while (out.count('\n') < savesBeforeKill) {
                QVERIFY2(child.waitForReadyRead(60000), child.readAllStandardError().constData());
                out += child.readAllStandardOutput();
            }
            // Right after a reported save the child is between saves; once the engine's
            // journal appears, it is inside the next one.
            while (inTheMiddle && !QFileInfo::exists(journal)) {
                QVERIFY2(!child.waitForFinished(0), child.readAllStandardError().constData());
            }
            child.kill();
            QVERIFY(child.waitForFinished());
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            out += child.readAllStandardOutput();
            // A line cut short by the kill was never reported.
            out.truncate(out.lastIndexOf('\n') + 1);
            int reportedNow = 0;
            for (const QByteArray &line : out.split('\n')) {
                if (!line.isEmpty()) {
                    reported << QString::fromLatin1(line);
                    ++reportedNow;
                }
            }
            QVERIFY(reportedNow >= savesBeforeKill);

            QVERIFY(store::Database::open().ok());
            QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
                     QStringLiteral("ok"));
            QSet<QString> stored;
            const auto query = store::Database::connection().query(
                QStringLiteral("SELECT Kodedepartemen, length(Keterangan) FROM Departemen"),
                store::Status::Operation::Read);
            QVERIFY(query->run().ok());
            while (query->next()) {
                QCOMPARE(query->value(1).toInt(), DescriptionLength);
                stored << query->value(0).toString();
            }
            query->finish();
            for (const QString &code : std::as_const(reported))
                QVERIFY2(stored.contains(code), qPrintable(code));
            // Beyond what was reported, only the save the kill interrupted may have landed.
            const QSet<QString> unreported = stored - reported - landed;
            const QString interrupted =
                QStringLiteral("%1-%2").arg(prefix).arg(reportedNow, 6, 10, QLatin1Char('0'));
            QVERIFY(unreported.isEmpty() || unreported == QSet<QString>{interrupted});
            landed += unreported;
            store::Database::close();
        }
    }
};

QTEST_GUILESS_MAIN(TestPowerLoss)
#include "test_powerloss.moc"
