#include "CleanState.h"
#include "FormDriver.h"
#include "Keyboard.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "platform/WindowRegistry.h"
#include "shell/Fmenu.h"
#include "shell/frmLogin.h"
#include "store/Database.h"
#include "store/Passwords.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using platform::WindowRegistry;

namespace {

const QString Refusal = QStringLiteral("Password anda salah, silahkan ulang kembali!");

QLineEdit *box(QWidget *login, const char *name)
{
    return login->findChild<QLineEdit *>(QString::fromLatin1(name));
}

QPushButton *button(QWidget *login, const char *name)
{
    return login->findChild<QPushButton *>(QString::fromLatin1(name));
}

void typeIn(QWidget *login, const QString &user, const QString &password)
{
    typeText(box(login, "txtUserName"), user);
    typeText(box(login, "txtPassword"), password);
}

// The widget Tab moves to: the next one in the focus chain that takes focus by Tab.
QWidget *nextTabStop(QWidget *from)
{
    QWidget *next = from->nextInFocusChain();
    while (next != from &&
           (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisibleTo(from->window())))
        next = next->nextInFocusChain();
    return next;
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

private slots:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void layoutAndTabOrder();
    void accessKeysMoveFocus();
    void signIn_data();
    void signIn();
    void emptyUserTableRefusesEveryone();
    void userWithoutStoredPasswordCannotSignIn();
    void failureSelectsPasswordAndKeepsUserName();
    void retriesAreUnlimited();
    void enterPressesOk();
    void escapeAndCancelClose();
    void cannotOpen_data();
    void cannotOpen();
};

void TestLogin::layoutAndTabOrder()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    frmLogin *login = WindowRegistry::show<frmLogin>();
    QCOMPARE(login->objectName(), QStringLiteral("frmLogin"));
    QCOMPARE(login->windowTitle(), QStringLiteral("Login"));
    QCOMPARE(login->size(), QSize(250, 103));
    QVERIFY(!(login->windowFlags() & Qt::WindowCloseButtonHint));
    // One "*" per character typed.
    QTest::keyClicks(box(login, "txtPassword"), QStringLiteral("sandi"));
    QCOMPARE(box(login, "txtPassword")->displayText(), QStringLiteral("*****"));
    box(login, "txtPassword")->clear();
    QVERIFY(!box(login, "ketemu")->isVisible());
    QCOMPARE(button(login, "cmdOK")->text(), QStringLiteral("OK"));
    QCOMPARE(button(login, "cmdCancel")->text(), QStringLiteral("Cancel"));
    QCOMPARE(login->findChild<QLabel *>(QStringLiteral("lblLabels(0)"))->text(),
             QStringLiteral("&User Name:"));
    QCOMPARE(login->findChild<QLabel *>(QStringLiteral("lblLabels(1)"))->text(),
             QStringLiteral("&Password:"));

    // User name first, then password, OK, Cancel.
    QCOMPARE(login->focusWidget(), box(login, "txtUserName"));
    QCOMPARE(nextTabStop(box(login, "txtUserName")), box(login, "txtPassword"));
    QCOMPARE(nextTabStop(box(login, "txtPassword")), button(login, "cmdOK"));
    QCOMPARE(nextTabStop(button(login, "cmdOK")), button(login, "cmdCancel"));
    QCOMPARE(nextTabStop(button(login, "cmdCancel")), box(login, "txtUserName"));
}

void TestLogin::accessKeysMoveFocus()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    frmLogin *login = WindowRegistry::show<frmLogin>();
    QVERIFY(QTest::qWaitForWindowActive(login));
    QTest::keyClick(login, Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), box(login, "txtPassword"));
    QTest::keyClick(login, Qt::Key_U, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), box(login, "txtUserName"));
}

void TestLogin::signIn_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("admitted");
    QTest::newRow("right pair") << "admin"
                                << "admin" << true;
    QTest::newRow("user name in other case") << "ADMIN"
                                             << "admin" << true;
    QTest::newRow("second user") << "Sari"
                                 << "Rahasia 7" << true;
    QTest::newRow("apostrophe in name") << "O'Hara"
                                        << "o'pw" << true;
    QTest::newRow("password in other case") << "admin"
                                            << "ADMIN" << false;
    QTest::newRow("wrong password") << "admin"
                                    << "admin1" << false;
    QTest::newRow("empty password") << "admin"
                                    << "" << false;
    QTest::newRow("another user's password") << "Sari"
                                             << "admin" << false;
    QTest::newRow("unknown user") << "nobody"
                                  << "admin" << false;
    QTest::newRow("prefix of a name") << "adm"
                                      << "admin" << false;
    QTest::newRow("trailing blank") << "admin "
                                    << "admin" << false;
    QTest::newRow("empty user") << ""
                                << "" << false;
    QTest::newRow("criterion text as name") << "x' OR '1'='1"
                                            << "admin" << false;
    QTest::newRow("hashed password") << "Ümit"
                                     << "Sandi ü-1" << true;
    QTest::newRow("non-ASCII name in other case") << "üMIT"
                                                  << "Sandi ü-1" << true;
    QTest::newRow("hashed password in other case") << "Ümit"
                                                   << "sandi ü-1" << false;
    QTest::newRow("the hash itself as password") << "Ümit"
                                                 << "<hash>" << false;
}

void TestLogin::signIn()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, admitted);
    TestDatabase db;
    QVERIFY(db.fillSample());
    const QString hashed = store::passwords::hash(QStringLiteral("Sandi ü-1"));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO TPassword VALUES (?, ?), (?, ?), (?, ?)"),
                    {QStringLiteral("Sari"), QStringLiteral("Rahasia 7"), QStringLiteral("O'Hara"),
                     QStringLiteral("o'pw"), QStringLiteral("Ümit"), hashed}));
    if (password == QLatin1String("<hash>"))
        password = hashed;
    const QString storedBefore =
        db.scalar("SELECT group_concat(Password, '|') FROM TPassword").toString();
    ScriptedDialogs dialogs;
    if (!admitted)
        dialogs.expect(Refusal);
    QPointer<frmLogin> login = WindowRegistry::show<frmLogin>();
    typeIn(login, user, password);
    QTest::mouseClick(button(login, "cmdOK"), Qt::LeftButton);

    if (admitted) {
        QCOMPARE(dialogs.count(), 0);
        QVERIFY(shownWindow<Fmenu>());
        QVERIFY(login.isNull() || !login->isVisible());
        QTRY_VERIFY(login.isNull());
    } else {
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(dialogs.last().text, Refusal);
        QCOMPARE(dialogs.last().title, QStringLiteral("Login"));
        QCOMPARE(dialogs.last().icon, platform::Icon::None);
        QCOMPARE(dialogs.last().buttons, platform::Buttons::Ok);
        QVERIFY(login && login->isVisible());
        QVERIFY(!WindowRegistry::find<Fmenu>());
    }
    // The sign-in only reads the user table.
    QCOMPARE(db.scalar("SELECT group_concat(Password, '|') FROM TPassword").toString(),
             storedBefore);
}

void TestLogin::emptyUserTableRefusesEveryone()
{
    TestDatabase db;
    ScriptedDialogs dialogs;
    frmLogin *login = WindowRegistry::show<frmLogin>();
    QVERIFY(login->isReady());
    typeIn(login, QStringLiteral("admin"), QStringLiteral("admin"));
    dialogs.expect(Refusal);
    button(login, "cmdOK")->click();
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().text, Refusal);
    QVERIFY(!WindowRegistry::find<Fmenu>());
}

void TestLogin::userWithoutStoredPasswordCannotSignIn()
{
    TestDatabase db;
    QVERIFY(db.exec(QStringLiteral("INSERT INTO TPassword (Nama) VALUES ('tamu')")));
    ScriptedDialogs dialogs;
    frmLogin *login = WindowRegistry::show<frmLogin>();
    typeIn(login, QStringLiteral("tamu"), QString());
    dialogs.expect(Refusal);
    button(login, "cmdOK")->click();
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().text, Refusal);
    QVERIFY(!WindowRegistry::find<Fmenu>());
}

void TestLogin::failureSelectsPasswordAndKeepsUserName()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    ScriptedDialogs dialogs;
    frmLogin *login = WindowRegistry::show<frmLogin>();
    typeIn(login, QStringLiteral("admin"), QStringLiteral("salah"));
    dialogs.expect(Refusal);
    button(login, "cmdOK")->click();
    QCOMPARE(dialogs.count(), 1);
    QLineEdit *password = box(login, "txtPassword");
    QCOMPARE(login->focusWidget(), password);
    QCOMPARE(password->selectedText(), QStringLiteral("salah"));
    QCOMPARE(box(login, "txtUserName")->text(), QStringLiteral("admin"));
    // The hidden box holds what the look-up found, not what was typed.
    QCOMPARE(box(login, "ketemu")->text(), QStringLiteral("admin"));

    // Typing now replaces the whole password.
    QTest::keyClicks(password, QStringLiteral("admin"));
    QCOMPARE(password->text(), QStringLiteral("admin"));
}

void TestLogin::retriesAreUnlimited()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    ScriptedDialogs dialogs;
    frmLogin *login = WindowRegistry::show<frmLogin>();
    QTest::keyClicks(box(login, "txtUserName"), QStringLiteral("admin"));
    for (int attempt = 0; attempt < 5; ++attempt) {
        box(login, "txtPassword")->setText(QStringLiteral("nope%1").arg(attempt));
        dialogs.expect(Refusal);
        button(login, "cmdOK")->click();
    }
    QCOMPARE(dialogs.count(), 5);
    QTest::keyClicks(box(login, "txtPassword"), QStringLiteral("admin"));
    button(login, "cmdOK")->click();
    QCOMPARE(dialogs.count(), 5);
    QVERIFY(shownWindow<Fmenu>());
}

void TestLogin::enterPressesOk()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    ScriptedDialogs dialogs;
    frmLogin *login = WindowRegistry::show<frmLogin>();
    QTest::keyClicks(box(login, "txtUserName"), QStringLiteral("admin"));
    dialogs.expect(Refusal);
    QTest::keyClick(box(login, "txtUserName"), Qt::Key_Return);
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().text, Refusal);
    QTest::keyClicks(box(login, "txtPassword"), QStringLiteral("admin"));
    QTest::keyClick(box(login, "txtPassword"), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(dialogs.count(), 1);
    QVERIFY(shownWindow<Fmenu>());
}

void TestLogin::escapeAndCancelClose()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    ScriptedDialogs dialogs;
    QPointer<frmLogin> login = WindowRegistry::show<frmLogin>();
    typeIn(login, QStringLiteral("admin"), QStringLiteral("admin"));
    QTest::keyClick(box(login, "txtPassword"), Qt::Key_Escape);
    QVERIFY(login.isNull() || !login->isVisible());
    QTRY_VERIFY(login.isNull());

    login = WindowRegistry::show<frmLogin>();
    typeIn(login, QStringLiteral("admin"), QStringLiteral("admin"));
    button(login, "cmdCancel")->click();
    QTRY_VERIFY(login.isNull());
    QCOMPARE(dialogs.count(), 0);
    QVERIFY(!WindowRegistry::find<Fmenu>());
}

void TestLogin::cannotOpen_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("not a database") << QByteArray("Standard Jet DB\0\1\2 not sqlite", 28) << true;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("another program's database") << QByteArray("other") << true;
}

// A real database file, but with none of the program's tables.
bool writeForeignDatabase(const QString &path)
{
    const QString name = QStringLiteral("foreign");
    bool written = false;
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        other.setDatabaseName(path);
        written = other.open() &&
                  QSqlQuery(other).exec(QStringLiteral("CREATE TABLE Catatan (Isi TEXT)"));
        other.close();
    }
    QSqlDatabase::removeDatabase(name);
    return written;
}

void TestLogin::cannotOpen()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    TestDatabase db;
    const QString path = db.folder() + QStringLiteral("/lain/DB PT Mardeko.mdb");
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (content == "other") {
        QVERIFY(writeForeignDatabase(path));
    } else if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const QByteArray before = TestDatabase::digest(path);
    store::Database::setPath(path);

    ScriptedDialogs dialogs;
    dialogs.expect(QStringLiteral("Database tidak dapat dibuka:\n") + path);
    QPointer<frmLogin> login = WindowRegistry::show<frmLogin>();
    QVERIFY(!login->isReady());
    QCOMPARE(dialogs.count(), 1);
    const QString text = dialogs.last().text;
    QVERIFY2(text.contains(path), qPrintable(text));
    // A new database is suggested only where there is no file to lose.
    QCOMPARE(text.contains(QStringLiteral("kelvara-initdb")), !exists);
    QVERIFY(text.contains(QStringLiteral("tidak dapat dibuka")));
    QCOMPARE(dialogs.last().buttons, platform::Buttons::Ok);

    QTRY_VERIFY(login.isNull());
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(QFileInfo::exists(path), exists);
    QCOMPARE(TestDatabase::digest(path), before);
}

QTEST_MAIN(TestLogin)
#include "test_login.moc"
