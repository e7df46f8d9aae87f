#include "CleanState.h"
#include "FormDriver.h"
#include "Keyboard.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "leave/FCuti.h"
#include "platform/WindowRegistry.h"
#include "reports/LaporanRiwayat.h"
#include "shell/Fmenu.h"
#include "shell/frmLogin.h"
#include "store/Database.h"
#include "store/Snapshot.h"

#include <QPushButton>
#include <QtTest>

using platform::WindowRegistry;

namespace {

// The history of one table, newest first, as "who|action|key|column|old|new".
QStringList history(const QString &table)
{
    const std::unique_ptr<store::Query> query = store::Database::connection().query(
        QStringLiteral(R"(SELECT "Pengguna", "Aksi", "Kunci", "Kolom", "Lama", "Baru"
FROM "QRiwayat" WHERE "Tabel" = ?)"),
        store::Status::Operation::Read);
    QStringList rows;
    if (!query->run({table}).ok())
        return {QStringLiteral("unreadable")};
    while (query->next()) {
        QStringList values;
        for (int c = 0; c < 6; ++c)
            values << query->value(c).toString();
        rows << values.join(u'|');
    }
    return rows;
}

// Signs in as a clerk does and opens the leave window from the menu.
FormDriver signInAndOpenLeave()
{
    auto *login = WindowRegistry::show<frmLogin>();
    typeText(login->findChild<QLineEdit *>("txtUserName"), QStringLiteral("ADMIN"));
    typeText(login->findChild<QLineEdit *>("txtPassword"), QStringLiteral("admin"));
    QTest::mouseClick(login->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    Fmenu *menu = WindowRegistry::find<Fmenu>();
    if (!menu || !QTest::qWaitForWindowActive(menu))
        return FormDriver(nullptr);
    QTest::keyClick(menu, Qt::Key_C, Qt::ControlModifier);
    return FormDriver(shownWindow<FCuti>());
}

} // namespace

// Every change of the data leaves who made it, when, and the values before and after, in the
// change's own transaction; nothing changes the history afterwards.
class TestHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }

    void changeIsRecordedWithTheSignedInUser_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("Simpan") << "cmdSimpan";
        QTest::newRow("the navigator's own save") << "Next";
        QTest::newRow("closing the window") << "cmdKeluar";
    }
    void changeIsRecordedWithTheSignedInUser()
    {
        QFETCH(QString, action);
        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        const qsizetype before = history(QStringLiteral("Cuti")).size();
        FormDriver form = signInAndOpenLeave();
        QVERIFY(form.window());
        QVERIFY(form.click("cmdRubah"));
        QVERIFY(form.type("txtcuti", QStringLiteral("6")));
        if (action == QStringLiteral("cmdSimpan"))
            dialogs.expect(QStringLiteral("Data sudah Disimpan!"));
        QVERIFY(action == QStringLiteral("Next") ? form.navigate(action) : form.click(action));
        // Under the name as stored, not as typed at the sign-in.
        const QString key =
            db.scalar(QStringLiteral("SELECT IdCuti FROM Cuti WHERE Nip = '19001' AND KartuCuti = "
                                     "'K2025'"))
                .toString();
        const QStringList rows = history(QStringLiteral("Cuti"));
        QCOMPARE(rows.size(), before + 2);
        QCOMPARE(rows.mid(0, 2), QStringList({"admin|Ubah|" + key + "|SisaCuti|13|7",
                                              "admin|Ubah|" + key + "|Penggantian Cuti|5|6"}));
    }

    // A tool records under its own name and the system user; a password never reaches the
    // history, only that it changed.
    void toolRecordsItsNameAndNeverAPassword()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        const QStringList where = TestDatabase::onServer()
                                      ? QStringList{"--server", store::Database::serverFile()}
                                      : QStringList{"--db", db.path()};
        QProcess tool;
        tool.start(QStringLiteral(KELVARA_USER),
                   QStringList{"add", "Sari", "--password-stdin"} + where);
        tool.write("rahasia\n");
        tool.closeWriteChannel();
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        // The newest two: the sample's own user came first.
        const QStringList rows = history(QStringLiteral("TPassword"));
        QVERIFY(rows.size() >= 2);
        QVERIFY2(QRegularExpression(R"(^kelvara-user \(.+\)\|Tambah\|Sari\|Nama\|\|Sari$)")
                     .match(rows[0])
                     .hasMatch(),
                 qPrintable(rows[0]));
        QVERIFY2(rows[1].endsWith(QStringLiteral("|Password||(disembunyikan)")),
                 qPrintable(rows[1]));
    }

    void historyCannotBeChangedOrDeleted()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec(QStringLiteral("UPDATE Peringkat SET UpahPerhari = 99000")));
        const QStringList before = history(QStringLiteral("Peringkat"));
        QVERIFY(!before.isEmpty());
        store::Connection &connection = store::Database::connection();
        QVERIFY(
            !connection.execute(QStringLiteral(R"(UPDATE "Riwayat" SET "Pengguna" = 'x')")).ok());
        QVERIFY(!connection.execute(QStringLiteral(R"(DELETE FROM "Riwayat")")).ok());
        QCOMPARE(history(QStringLiteral("Peringkat")), before);
    }

    // The report lists the newest change first; F3 in the main window opens it.
    void reportShowsTheNewestChangeFirst()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec(QStringLiteral("UPDATE Departemen SET Keterangan = 'Dulu'")));
        QVERIFY(db.exec(
            QStringLiteral("UPDATE Peringkat SET Jabatan = 'Kini' WHERE KodePeringkat = 'P1'")));
        ScriptedDialogs dialogs;
        Fmenu *menu = WindowRegistry::show<Fmenu>();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        QTest::keyClick(menu, Qt::Key_F3);
        auto *report = shownWindow<LaporanRiwayat>();
        QVERIFY(report);
        QCOMPARE(report->windowTitle(), QStringLiteral("Riwayat Perubahan Data"));
        const store::Snapshot *rows = report->document().rows();
        QVERIFY(rows && rows->rowCount() > 2);
        QCOMPARE(rows->text(0, rows->columnIndex(u"Baru")), QStringLiteral("Kini"));
        QCOMPARE(rows->text(0, rows->columnIndex(u"Lama")), QStringLiteral("Kepala Bagian"));
        QCOMPARE(rows->text(1, rows->columnIndex(u"Baru")), QStringLiteral("Dulu"));
    }
};

QTEST_MAIN(TestHistory)
#include "test_history.moc"
