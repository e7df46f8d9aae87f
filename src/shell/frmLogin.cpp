#include "shell/frmLogin.h"

#include "platform/Appearance.h"
#include "platform/Messages.h"
#include "platform/Twips.h"
#include "platform/WindowRegistry.h"
#include "shell/Fmenu.h"
#include "shell/ShellSupport.h"
#include "shell/Startup.h"
#include "store/Database.h"
#include "store/History.h"
#include "store/Passwords.h"
#include "store/Recordset.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

namespace twips = platform::twips;

const QString Title = QStringLiteral("Login");
const QString UserTable = QStringLiteral("TPassword");
const QString UserNameColumn = QStringLiteral("Nama");
// The password is read by its place in the user table, not by its name.
constexpr int PasswordPosition = 1;

QLineEdit *makeBox(QWidget *parent, const QString &name, const QRect &place)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(place);
    return box;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption,
                        const QRect &place)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

} // namespace

frmLogin::frmLogin(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(Title);
    setFixedSize(platform::twips::size(3750, 1545));
    platform::fillBackground(this, platform::colors::teal());
    buildControls();
    platform::centreOnScreen(this);
    if (!openUsers()) {
        // Whoever showed the window, it goes away once the message has been read.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

frmLogin::~frmLogin() = default;

void frmLogin::buildControls()
{
    const QColor teal = platform::colors::teal();
    const QColor white(255, 255, 255);
    QLabel *userLabel =
        shell::makeLabel(this, QStringLiteral("lblLabels(0)"), QStringLiteral("&User Name:"),
                         twips::rect(105, 150, 1080, 270), teal, white);
    m_userName = makeBox(this, QStringLiteral("txtUserName"), twips::rect(1290, 135, 2325, 345));
    QLabel *passwordLabel =
        shell::makeLabel(this, QStringLiteral("lblLabels(1)"), QStringLiteral("&Password:"),
                         twips::rect(105, 540, 1080, 270), teal, white);
    m_password = makeBox(this, QStringLiteral("txtPassword"), twips::rect(1290, 525, 2325, 345));
    shell::showPasswordAsStars(m_password);
    m_ok = makeButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"),
                      twips::rect(495, 1020, 1140, 390));
    m_cancel = makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"),
                          twips::rect(2100, 1020, 1140, 390));
    m_found = makeBox(this, QStringLiteral("ketemu"), twips::rect(2280, 120, 975, 375));
    m_found->setVisible(false);

    userLabel->setBuddy(m_userName);
    passwordLabel->setBuddy(m_password);
    setTabOrder(m_userName, m_password);
    setTabOrder(m_password, m_ok);
    setTabOrder(m_ok, m_cancel);
    m_ok->setDefault(true);
    m_userName->setFocus();

    connect(m_ok, &QPushButton::clicked, this, &frmLogin::signIn);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
}

bool frmLogin::openUsers()
{
    store::Status status = store::Database::open();
    if (status.ok()) {
        auto users = std::make_unique<store::Recordset>(UserTable);
        status = users->open();
        if (status.ok())
            m_users = std::move(users);
    }
    if (!status.ok())
        platform::Messages::instance().message(shell::cannotOpenText(status), Title,
                                               platform::Icon::Information, platform::Buttons::Ok);
    return status.ok();
}

bool frmLogin::isReady() const
{
    return m_users != nullptr;
}

void frmLogin::signIn()
{
    if (!m_users)
        return;
    bool found = false;
    const store::Status status = findUser(m_userName->text(), found);
    if (!status.ok()) {
        platform::Messages::instance().message(status.message(), Title, platform::Icon::Information,
                                               platform::Buttons::Ok);
        return;
    }
    if (!found) {
        refuse();
        return;
    }
    const QVariant stored = m_users->value(PasswordPosition);
    m_found->setText(stored.toString());
    // A user without a stored password cannot sign in, not even with an empty one. A hash is
    // verified; a plain text from an older database is compared exactly.
    if (stored.isNull() || !store::passwords::matches(m_found->text(), m_password->text())) {
        refuse();
        return;
    }
    // Every change from now on is recorded as this user's, under the name as stored.
    store::history::setActor(m_users->value(UserNameColumn).toString());
    shell::backUpToday();
    platform::WindowRegistry::show<Fmenu>();
    close();
}

// Makes the first user of that name current, letter case aside for every letter that has a
// case (the engine folds only A to Z); the user table is small enough to walk. The name is
// compared as a value, so any character, an apostrophe included, is literal.
store::Status frmLogin::findUser(const QString &name, bool &found)
{
    found = false;
    store::Status status = m_users->refresh();
    for (int row = 0; status.ok() && !found && row < m_users->recordCount(); ++row) {
        if (row > 0)
            status = m_users->moveNext();
        found = status.ok() &&
                m_users->value(UserNameColumn).toString().compare(name, Qt::CaseInsensitive) == 0;
    }
    return status;
}

void frmLogin::refuse()
{
    platform::Messages::instance().message(
        QStringLiteral("Password anda salah, silahkan ulang kembali!"), Title, platform::Icon::None,
        platform::Buttons::Ok);
    m_password->setFocus();
    m_password->selectAll();
}

void frmLogin::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button, otherwise OK; Escape presses Cancel.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        else
            m_ok->click();
        return;
    case Qt::Key_Escape:
        m_cancel->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
