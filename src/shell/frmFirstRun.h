#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace accessimport {
struct Outcome;
}

// The first run: the database's place holds no database yet. Offers a new, empty database
// with its first user, or bringing an old Access database across (chosen in a file chooser,
// or the Access file that stands at the place, which is kept beside the new database), or
// to quit. When backups of the database exist it also offers to restore one of them, and
// that alone when the database at the place is damaged (which is then moved aside, never
// deleted). Afterwards the sign-in window follows. It never writes over a file.
class frmFirstRun : public QWidget
{
    Q_OBJECT

public:
    explicit frmFirstRun(QWidget *parent = nullptr);
    // The window for a database at the place that cannot be opened: why, with the engine's text.
    void offerRestore(const QString &problem);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildChoice();
    QWidget *buildNewUser();
    QWidget *buildImport();

    void askNewUser();
    void createWithUser();
    QListWidget *buildCopies(QWidget *page);
    void restoreChosen();
    void chooseAccessFile();
    void bringAcross(const QString &source, bool skipBad);
    void finishImport(const accessimport::Outcome &outcome, const QString &source);
    QString placeImported(const QString &imported);
    void showProgress(const QString &table, qint64 done, qint64 total);
    void refuse(const QString &text);
    void signIn();

    QString m_place;
    // The Access file the import reads, kept for a second pass that leaves refused rows out.
    QString m_source;
    bool m_accessAtPlace = false;
    // The imported database has no user yet: the user page adds one to it.
    bool m_userForImported = false;
    // An import is running: the window must not go away under it.
    bool m_busy = false;

    QStackedWidget *m_pages = nullptr;
    QLabel *m_intro = nullptr;
    QListWidget *m_copies = nullptr;
    QPushButton *m_restore = nullptr;
    QPushButton *m_create = nullptr;
    QPushButton *m_import = nullptr;
    QLabel *m_userIntro = nullptr;
    QPushButton *m_userBack = nullptr;
    QLineEdit *m_userName = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_repeat = nullptr;
    QLabel *m_progressText = nullptr;
    QProgressBar *m_progress = nullptr;
    QPlainTextEdit *m_report = nullptr;
    QPushButton *m_skipBad = nullptr;
    QPushButton *m_signIn = nullptr;
    QPushButton *m_importBack = nullptr;
    QPushButton *m_importQuit = nullptr;
};
