#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace store {
class Recordset;
class Status;
} // namespace store

// The sign-in window: a user name and a password checked against the user table. Loading it
// opens the database; when that fails it says why once and closes itself.
class frmLogin : public QWidget
{
    Q_OBJECT

public:
    explicit frmLogin(QWidget *parent = nullptr);
    ~frmLogin() override;

    // False when the database could not be opened while loading; the window then closes.
    bool isReady() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    bool openUsers();
    void signIn();
    store::Status findUser(const QString &name, bool &found);
    void refuse();

    QLineEdit *m_userName = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_found = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    // Data1: the user table, read only by the sign-in check.
    std::unique_ptr<store::Recordset> m_users;
};
