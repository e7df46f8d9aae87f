#include "shell/frmLogin.h"

#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "platform/WindowRegistry.h"
#include "shell/Fmenu.h"
#include "shell/ShellSupport.h"
#include "store/Database.h"
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

QString cannotOpenText(const store::Status &status)
{
    const QString path = store::Database::path();
    // A missing file is named by the engine with its path, which the text already shows.
    const QString reason = status.engineText() == path ? status.explanation() : status.message();
    return QStringLiteral("Database tidak dapat dibuka:\n%1\n\n%2\n\n"
                          "Database baru dapat dibuat dengan program kelvara-initdb.")
        .arg(path, reason);
}

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
    shell::fillBackground(this, platform::colors::teal());
    buildControls();
    shell::centreOnScreen(this);
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
    m_password->setEchoMode(QLineEdit::Password);
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
        platform::Dialogs::instance().message(cannotOpenText(status), Title,
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
    // The name is a value of the search, never part of a criterion text: any character,
    // an apostrophe included, is compared literally.
    const store::Status status = m_users->findFirst(UserNameColumn, m_userName->text());
    if (!status.ok()) {
        platform::Dialogs::instance().message(status.message(), Title, platform::Icon::Information,
                                              platform::Buttons::Ok);
        return;
    }
    if (m_users->noMatch()) {
        refuse();
        return;
    }
    const QVariant stored = m_users->value(PasswordPosition);
    m_found->setText(stored.toString());
    // A user without a stored password cannot sign in, not even with an empty one.
    if (stored.isNull() || m_found->text() != m_password->text()) {
        refuse();
        return;
    }
    platform::WindowRegistry::show<Fmenu>();
    close();
}

void frmLogin::refuse()
{
    platform::Dialogs::instance().message(
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
