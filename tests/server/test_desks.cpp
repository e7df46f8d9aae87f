#include "FormDriver.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "masters/Fdepartemen.h"
#include "masters/Fperingkat.h"
#include "platform/WindowRegistry.h"
#include "store/Database.h"
#include "store/History.h"
#include "store/Status.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using store::Status;

namespace {

const QString Saved = QStringLiteral("Data sudah Disimpan!");
const QString Changed = QStringLiteral("Record ini sudah diubah atau dihapus");
const QString Duplicate = QStringLiteral("Kode sudah dipakai oleh data lain.");
const QString Busy = QStringLiteral("Database sedang dipakai program lain.");
const QString Unreachable = QStringLiteral("Server database tidak dapat dihubungi");

// The other desk: a process of the store of its own on the same server database.
class OtherDesk
{
public:
    OtherDesk()
    {
        m_process.setProgram(QStringLiteral(KELVARA_DESK_CHILD));
        m_process.setArguments({store::Database::serverFile()});
        m_process.start();
    }
    ~OtherDesk()
    {
        m_process.closeWriteChannel();
        m_process.waitForFinished(10000);
    }

    // Sends one command; its answer: "ok", or the failure's kind and the engine's text.
    QString run(const QString &command)
    {
        m_process.write(command.toUtf8() + '\n');
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(30000))
                return QStringLiteral("no answer: ") + m_process.readAllStandardError();
        }
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }
    bool ok(const QString &command) { return run(command) == u"ok"; }
    int kind(const QString &command) { return run(command).section(u' ', 0, 0).toInt(); }

private:
    QProcess m_process;
};

QString keterangan(TestDatabase &db, const QString &code)
{
    return db
        .scalar(QStringLiteral("SELECT Keterangan FROM Departemen WHERE Kodedepartemen = ?"),
                {code})
        .toString();
}

// Opens the department window and moves to a record; a window that cannot get there is null.
FormDriver openAt(int record)
{
    FormDriver form(platform::WindowRegistry::show<Fdepartemen>());
    for (int i = 1; i < record; ++i) {
        if (!form.navigate(QStringLiteral("Next")))
            return FormDriver(nullptr);
    }
    return form;
}

enum class Action { Save, Window, Delete };

// Saves the change typed, opens the rank window or deletes the record shown, answering Yes to
// the delete's question; the first message that follows must begin with the text given, and
// with an empty text none may come.
bool act(Action action, const FormDriver &form, ScriptedDialogs &dialogs, const QString &first)
{
    switch (action) {
    case Action::Save:
        dialogs.expect(first);
        return form.click("cmdSimpan");
    case Action::Window:
        // The browse list and the record source each tell that they could not read.
        if (!first.isEmpty()) {
            dialogs.expect(first);
            dialogs.expect(first);
        }
        return platform::WindowRegistry::show<Fperingkat>() != nullptr;
    case Action::Delete:
        dialogs.expect(QStringLiteral("Apakah Anda Yakin"), platform::Answer::Yes);
        if (!first.isEmpty())
            dialogs.expect(first);
        return form.click("cmdHapus");
    }
    return false;
}

void closeRanks()
{
    if (auto *ranks = platform::WindowRegistry::find<Fperingkat>())
        ranks->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

Q_DECLARE_METATYPE(Action)

// Two desks on one server database: whatever one desk stores, the other never writes over
// it unknowingly, and a desk whose server goes away loses nothing it was typing.
class TestDesks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qputenv("KELVARA_TEST_ENGINE", "postgres"); }

    void sameRecordSavedAtTwoDesks_data()
    {
        QTest::addColumn<bool>("hereFirst");
        QTest::newRow("this desk saves first") << true;
        QTest::newRow("the other desk saves first") << false;
    }
    // Both desks read the first department and change its name; the second save is refused,
    // keeps what was typed, and the row holds the first desk's change.
    void sameRecordSavedAtTwoDesks()
    {
        QFETCH(bool, hereFirst);
        TestDatabase db;
        QVERIFY(db.isValid() && db.fillSample());
        OtherDesk other;
        QVERIFY(other.ok("open Departemen") && other.ok("edit"));
        QVERIFY(other.ok("set Keterangan Meja dua"));
        ScriptedDialogs dialogs;
        FormDriver form = openAt(1);
        QVERIFY(form.window());
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtKeterangan", QStringLiteral("Meja satu")));
        if (!hereFirst)
            QVERIFY(other.ok("update"));
        dialogs.expect(hereFirst ? Saved : Changed);
        QVERIFY(form.click("cmdSimpan"));
        if (hereFirst) {
            QCOMPARE(other.kind("update"), int(Status::Kind::RecordGone));
            QCOMPARE(keterangan(db, "D01"), QStringLiteral("Meja satu"));
        } else {
            QVERIFY(form.inEditMode());
            QCOMPARE(form.text("txtKeterangan"), QStringLiteral("Meja satu"));
            QCOMPARE(keterangan(db, "D01"), QStringLiteral("Meja dua"));
        }
    }

    // Two desks save at once, each a record of its own: the history holds both changes, each
    // under the user signed in at its desk.
    void twoDesksSavingAtOnceBothAppear()
    {
        TestDatabase db;
        QVERIFY(db.isValid() && db.fillSample());
        store::history::setActor(QStringLiteral("meja satu"));
        OtherDesk other;
        QVERIFY(other.ok("user meja dua") && other.ok("begin"));
        QVERIFY(other.ok(
            R"(sql UPDATE "Departemen" SET "Keterangan" = 'Dua' WHERE "Kodedepartemen" = 'D01')"));
        ScriptedDialogs dialogs;
        FormDriver form = openAt(2);
        QVERIFY(form.window() && form.click("cmdRubah"));
        QVERIFY(form.type("txtKeterangan", QStringLiteral("Satu")));
        dialogs.expect(Saved);
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY(other.ok("commit"));
        const auto who = [&](const QString &key) {
            return db
                .scalar(QStringLiteral("SELECT Pengguna || ':' || Baru FROM Riwayat WHERE Tabel = "
                                       "'Departemen' AND Aksi = 'Ubah' AND Kunci = ?"),
                        {key})
                .toString();
        };
        QCOMPARE(who(QStringLiteral("D01")), QStringLiteral("meja dua:Dua"));
        QCOMPARE(who(QStringLiteral("D02")), QStringLiteral("meja satu:Satu"));
    }

    // The same new code typed at two desks: one is stored, the other is refused as a
    // duplicate; while the first desk's save is still open, the second waits three seconds
    // for it and is told the database is busy.
    void sameNewCodeAtTwoDesks()
    {
        TestDatabase db;
        QVERIFY(db.isValid() && db.fillSample());
        OtherDesk other;
        ScriptedDialogs dialogs;
        FormDriver form = openAt(1);
        QVERIFY(form.window());
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.type("txtKodedepartemen", QStringLiteral("d09")));
        QVERIFY(form.type("txtKeterangan", QStringLiteral("Meja satu")));
        QVERIFY(other.ok("begin"));
        QVERIFY(other.ok(R"(sql INSERT INTO "Departemen" VALUES ('D09', 'Meja dua'))"));
        dialogs.expect(Busy);
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY(form.inEditMode());
        QVERIFY(other.ok("commit"));
        dialogs.expect(Duplicate);
        QVERIFY(form.click("cmdSimpan"));
        QVERIFY(form.inEditMode());
        QCOMPARE(form.text("txtKeterangan"), QStringLiteral("Meja satu"));
        QCOMPARE(db.scalar("SELECT count(*) FROM Departemen WHERE Kodedepartemen = 'D09'").toInt(),
                 1);
        QCOMPARE(keterangan(db, "D09"), QStringLiteral("Meja dua"));
    }

    void deleteAgainstChange_data()
    {
        QTest::addColumn<bool>("deleteFirst");
        QTest::newRow("changed here, then deleted there") << false;
        QTest::newRow("deleted there, then changed here") << true;
    }
    // The last department, unused, is changed at this desk and deleted at the other, which
    // read it before: whichever comes second is refused and writes nothing.
    void deleteAgainstChange()
    {
        QFETCH(bool, deleteFirst);
        TestDatabase db;
        QVERIFY(db.isValid() && db.fillSample());
        OtherDesk other;
        QVERIFY(other.ok("open Departemen") && other.ok("last"));
        ScriptedDialogs dialogs;
        FormDriver form = openAt(5);
        QVERIFY(form.window());
        QCOMPARE(form.text("txtKodedepartemen"), QStringLiteral("D05"));
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtKeterangan", QStringLiteral("Gudang Baru")));
        if (deleteFirst)
            QVERIFY(other.ok("delete"));
        dialogs.expect(deleteFirst ? Changed : Saved);
        QVERIFY(form.click("cmdSimpan"));
        if (deleteFirst) {
            QVERIFY(form.inEditMode());
            QCOMPARE(db.count("Departemen"), 4);
        } else {
            QCOMPARE(other.kind("delete"), int(Status::Kind::RecordGone));
            QCOMPARE(keterangan(db, "D05"), QStringLiteral("Gudang Baru"));
        }
    }

    void serverGoesAwayMidWork_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("backBeforeAction");
        for (const auto &[action, name] : {std::pair{Action::Save, "save"},
                                           {Action::Window, "window"},
                                           {Action::Delete, "delete"}}) {
            QTest::addRow("%s while the server is away", name) << action << false;
            QTest::addRow("%s after a restart while idle", name) << action << true;
        }
    }
    // A desk on a server of its own, which stops while the desk works: a save, a window or a
    // delete says first that the server cannot be reached and changes nothing; once the server
    // is back, the same action succeeds at the first try on a connection opened again.
    void serverGoesAwayMidWork()
    {
        QFETCH(Action, action);
        QFETCH(bool, backBeforeAction);
        const QByteArray fixturePasswords = qgetenv("PGPASSFILE");
        const auto restore = qScopeGuard([&] { qputenv("PGPASSFILE", fixturePasswords); });
        QTemporaryDir state;
        const auto server = [&](const char *what) {
            return QProcess::execute(QStringLiteral("bash"),
                                     {QStringLiteral(KELVARA_SERVER_SCRIPT),
                                      QString::fromLatin1(what), state.path()}) == 0;
        };
        QVERIFY(server("start"));
        const auto stop = qScopeGuard([&] { server("stop"); });
        TestDatabase db; // a fresh one, then the server of this case in its place
        QVERIFY(db.isValid());
        store::Database::close();
        qputenv("PGPASSFILE", QFile::encodeName(state.filePath("pgpass")));
        const Status created = store::Database::createOnServer(state.filePath("server.ini"),
                                                               [] { return Status::success(); });
        QVERIFY2(created.ok(), qPrintable(created.message()));
        QVERIFY(db.fillSample());

        ScriptedDialogs dialogs;
        FormDriver form = openAt(action == Action::Delete ? 5 : 2);
        QVERIFY(form.window());
        if (action == Action::Save) {
            QVERIFY(form.click("cmdRubah"));
            QVERIFY(form.type("txtKeterangan", QStringLiteral("Personalia Baru")));
        }
        QVERIFY(server("pause"));
        if (!backBeforeAction) {
            QVERIFY(act(action, form, dialogs, Unreachable));
            QVERIFY(dialogs.last().text.startsWith(Unreachable));
            closeRanks();
        }
        QVERIFY(server("resume"));
        QCOMPARE(db.count("Departemen"), 5);
        QVERIFY(act(action, form, dialogs, action == Action::Save ? Saved : QString()));
        if (action == Action::Save) {
            QVERIFY(form.inViewMode());
            QCOMPARE(keterangan(db, "D02"), QStringLiteral("Personalia Baru"));
        } else if (action == Action::Window) {
            auto *ranks = shownWindow<Fperingkat>();
            QVERIFY(ranks);
            QCOMPARE(FormDriver(ranks).caption(), QStringLiteral("Record :1"));
            closeRanks();
        } else {
            QCOMPARE(keterangan(db, "D05"), QString());
            QCOMPARE(db.count("Departemen"), 4);
        }
    }
};

QTEST_MAIN(TestDesks)
#include "test_desks.moc"
