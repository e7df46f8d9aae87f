#include "shell/frmFirstRun.h"

#include "import/ImportReport.h"
#include "import/Importer.h"
#include "import/MdbSource.h"
#include "import/Target.h"
#include "platform/Appearance.h"
#include "platform/BusyPointer.h"
#include "platform/Messages.h"
#include "shell/ShellSupport.h"
#include "shell/Startup.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/Location.h"
#include "store/Users.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

using platform::Messages;

enum Page { ChoicePage, UserPage, ImportPage };
// Rows between two updates of the progress bar, and its steps per table.
constexpr qint64 ProgressEvery = 25;
constexpr int StepsPerTable = 100;

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QLineEdit *makeBox(QWidget *parent, const char *name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLabel *makeText(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *button : buttons)
        row->addWidget(button);
    return row;
}

// The Access file at the place is kept beside the new database: "DB PT Mardeko (Access).mdb".
QString asidePath(const QString &place)
{
    const QFileInfo info(place);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(" (Access).") +
                                       info.suffix());
}

// A name beside the place that nothing holds, into which the import writes; only a finished
// import is moved to the place, so a failed or interrupted one never leaves a database there.
QString scratchPath(const QString &place)
{
    const QFileInfo info(place);
    for (int n = 0;; ++n) {
        const QString candidate =
            info.absoluteDir().filePath(QStringLiteral(".%1.baru%2").arg(info.fileName()).arg(n));
        if (store::placeOf(candidate) == store::Place::Nothing)
            return candidate;
    }
}

void removeDatabaseFiles(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

int tableIndex(const QString &table)
{
    const QList<accessimport::TargetTable> &tables = accessimport::targetTables();
    for (int i = 0; i < tables.size(); ++i) {
        if (tables[i].name == table)
            return i;
    }
    return 0;
}

} // namespace

frmFirstRun::frmFirstRun(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmFirstRun"));
    setWindowTitle(QStringLiteral("Kelvara - Database Baru"));
    setWindowIcon(shell::logoIcon());
    m_place = store::Database::path();
    m_accessAtPlace = store::placeOf(m_place) == store::Place::Access;

    m_pages = new QStackedWidget(this);
    m_pages->insertWidget(ChoicePage, buildChoice());
    m_pages->insertWidget(UserPage, buildNewUser());
    m_pages->insertWidget(ImportPage, buildImport());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    setMinimumWidth(520);
    adjustSize();
    platform::centreOnScreen(this);
}

QWidget *frmFirstRun::buildChoice()
{
    auto *page = new QWidget;
    QLabel *intro = m_intro = makeText(page, "lblIntro");
    QPushButton *create = m_create =
        makeButton(page, "cmdNew", QStringLiteral("Buat database &baru"));
    QPushButton *import = m_import = makeButton(page, "cmdImport", QString());
    QPushButton *quit = makeButton(page, "cmdQuit", QStringLiteral("&Keluar"));
    m_restore = makeButton(page, "cmdRestore", QStringLiteral("P&ulihkan dari cadangan"));
    m_copies = buildCopies(page);
    if (m_accessAtPlace) {
        intro->setText(QStringLiteral("Di tempat database Kelvara ada sebuah database Access:\n"
                                      "%1\n\nDatanya dapat dipindahkan ke database Kelvara baru "
                                      "di tempat itu. File Access tidak diubah; ia disimpan di "
                                      "samping database baru sebagai:\n%2")
                           .arg(QDir::toNativeSeparators(m_place),
                                QDir::toNativeSeparators(asidePath(m_place))));
        import->setText(QStringLiteral("&Pindahkan datanya"));
        create->hide();
    } else {
        intro->setText(QStringLiteral("Belum ada database Kelvara di:\n%1\n\nBuat database baru "
                                      "yang kosong dengan pengguna pertamanya, atau pindahkan "
                                      "data dari database Access (.mdb) yang lama.%2")
                           .arg(QDir::toNativeSeparators(m_place),
                                m_copies->count() > 0
                                    ? QStringLiteral("\n\nAtau pulihkan database dari salah "
                                                     "satu cadangannya:")
                                    : QString()));
        import->setText(QStringLiteral("&Pindahkan dari database Access..."));
    }
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(intro);
    layout->addWidget(m_copies);
    layout->addStretch();
    layout->addLayout(buttonRow({m_restore, create, import, quit}));
    // An Access file at the place is brought across, never replaced by a backup.
    const bool copies = m_copies->count() > 0 && !m_accessAtPlace;
    m_restore->setVisible(copies);
    m_copies->setVisible(copies);
    connect(m_restore, &QPushButton::clicked, this, &frmFirstRun::restoreChosen);

    connect(create, &QPushButton::clicked, this, [this] {
        m_userForImported = false;
        askNewUser();
    });
    connect(import, &QPushButton::clicked, this, [this] {
        if (m_accessAtPlace)
            bringAcross(m_place, false);
        else
            chooseAccessFile();
    });
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

// The backups of the database, newest first, the newest chosen.
QListWidget *frmFirstRun::buildCopies(QWidget *page)
{
    auto *copies = new QListWidget(page);
    copies->setObjectName(QStringLiteral("lstCadangan"));
    const QLocale indonesian(QLocale::Indonesian, QLocale::Indonesia);
    for (const store::backup::Copy &copy : store::backup::list(m_place)) {
        auto *item = new QListWidgetItem(
            QStringLiteral("%1   %2   (%3)")
                .arg(indonesian.toString(copy.date, QStringLiteral("dddd, d MMMM yyyy")),
                     QFileInfo(copy.path).fileName(), indonesian.formattedDataSize(copy.size)),
            copies);
        item->setData(Qt::UserRole, copy.path);
    }
    copies->setCurrentRow(0);
    copies->setMinimumHeight(120);
    connect(copies, &QListWidget::itemActivated, this, &frmFirstRun::restoreChosen);
    return copies;
}

void frmFirstRun::offerRestore(const QString &problem)
{
    m_intro->setText(QStringLiteral("Database Kelvara tidak dapat dibuka:\n%1\n\n%2\n\n"
                                    "Pulihkan dari salah satu cadangan di bawah ini. File yang "
                                    "rusak tidak dihapus: ia dipindahkan ke sampingnya dengan "
                                    "nama \"(rusak ...)\".")
                         .arg(QDir::toNativeSeparators(m_place), problem));
    m_create->hide();
    m_import->hide();
    adjustSize();
}

void frmFirstRun::restoreChosen()
{
    const QListWidgetItem *chosen = m_copies->currentItem();
    if (!chosen)
        return;
    const QString copy = chosen->data(Qt::UserRole).toString();
    QString kept;
    store::Status status;
    {
        const platform::busy::Scope busy;
        store::Database::close();
        status = store::backup::restore(copy, m_place, &kept);
    }
    if (!status.ok()) {
        refuse(QStringLiteral("Database tidak dapat dipulihkan dari cadangan:\n%1\n\n%2")
                   .arg(QDir::toNativeSeparators(copy), status.kind() == store::Status::Kind::Other
                                                            ? status.engineText()
                                                            : status.message()));
        return;
    }
    QString text = QStringLiteral("Database dipulihkan dari cadangan:\n%1")
                       .arg(QDir::toNativeSeparators(copy));
    if (!kept.isEmpty())
        text += QStringLiteral("\n\nFile yang diganti disimpan sebagai:\n%1")
                    .arg(QDir::toNativeSeparators(kept));
    refuse(text);
    signIn();
}

QWidget *frmFirstRun::buildNewUser()
{
    auto *page = new QWidget;
    m_userIntro = makeText(page, "lblUserIntro");
    m_userName = makeBox(page, "txtUserName");
    m_password = makeBox(page, "txtPassword");
    m_repeat = makeBox(page, "txtPassword2");
    shell::showPasswordAsStars(m_password);
    shell::showPasswordAsStars(m_repeat);
    QPushButton *create = makeButton(page, "cmdCreate", QStringLiteral("&Buat"));
    m_userBack = makeButton(page, "cmdBack", QStringLiteral("Ke&mbali"));

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Nama pengguna:"), m_userName);
    fields->addRow(QStringLiteral("&Password:"), m_password);
    fields->addRow(QStringLiteral("&Ulangi password:"), m_repeat);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_userIntro);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttonRow({create, m_userBack}));

    connect(create, &QPushButton::clicked, this, &frmFirstRun::createWithUser);
    for (QLineEdit *box : {m_userName, m_password, m_repeat})
        connect(box, &QLineEdit::returnPressed, this, &frmFirstRun::createWithUser);
    connect(m_userBack, &QPushButton::clicked, this,
            [this] { m_pages->setCurrentIndex(ChoicePage); });
    return page;
}

QWidget *frmFirstRun::buildImport()
{
    auto *page = new QWidget;
    m_progressText = makeText(page, "lblProgress");
    m_progress = new QProgressBar(page);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, int(accessimport::targetTables().size()) * StepsPerTable);
    m_report = new QPlainTextEdit(page);
    m_report->setObjectName(QStringLiteral("txtReport"));
    m_report->setReadOnly(true);
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_report->setMinimumHeight(180);
    m_skipBad =
        makeButton(page, "cmdSkipBad", QStringLiteral("Pindahkan &tanpa baris yang ditolak"));
    m_signIn = makeButton(page, "cmdSignIn", QStringLiteral("&Lanjut ke Login"));
    m_importBack = makeButton(page, "cmdImportBack", QStringLiteral("Ke&mbali"));
    m_importQuit = makeButton(page, "cmdImportQuit", QStringLiteral("&Keluar"));

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_progressText);
    layout->addWidget(m_progress);
    layout->addWidget(m_report, 1);
    layout->addLayout(buttonRow({m_skipBad, m_signIn, m_importBack, m_importQuit}));

    connect(m_skipBad, &QPushButton::clicked, this, [this] { bringAcross(m_source, true); });
    connect(m_signIn, &QPushButton::clicked, this, &frmFirstRun::signIn);
    connect(m_importBack, &QPushButton::clicked, this,
            [this] { m_pages->setCurrentIndex(ChoicePage); });
    connect(m_importQuit, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

void frmFirstRun::askNewUser()
{
    m_userIntro->setText(
        m_userForImported
            ? QStringLiteral("Database Access itu tidak punya pengguna. Buat pengguna pertama "
                             "database baru:")
            : QStringLiteral("Pengguna pertama database baru:"));
    m_userBack->setVisible(!m_userForImported);
    m_pages->setCurrentIndex(UserPage);
    m_userName->setFocus();
}

void frmFirstRun::createWithUser()
{
    const QString name = m_userName->text();
    if (name.trimmed().isEmpty()) {
        refuse(QStringLiteral("Nama pengguna tidak boleh kosong."));
        m_userName->setFocus();
        return;
    }
    if (m_password->text().isEmpty() || m_password->text() != m_repeat->text()) {
        refuse(m_password->text().isEmpty()
                   ? QStringLiteral("Password tidak boleh kosong.")
                   : QStringLiteral("Kedua password tidak sama. Ketik lagi keduanya."));
        m_password->clear();
        m_repeat->clear();
        m_password->setFocus();
        return;
    }
    bool created = false;
    store::Status status;
    if (!m_userForImported) {
        status = store::Database::create(m_place);
        created = status.ok();
    }
    if (status.ok())
        status = store::Database::open();
    if (status.ok())
        status = store::users::add(name, m_password->text());
    if (!status.ok()) {
        store::Database::close();
        if (created)
            removeDatabaseFiles(m_place);
        refuse(QStringLiteral("Database tidak dapat dibuat:\n%1\n\n%2")
                   .arg(QDir::toNativeSeparators(m_place), status.message()));
        return;
    }
    signIn();
}

void frmFirstRun::chooseAccessFile()
{
    const QString file =
        Messages::instance().openFileName(QStringLiteral("Pilih database Access yang lama"),
                                          QStringLiteral("Database Access (*.mdb *.MDB);;Semua "
                                                         "file (*)"));
    if (!file.isEmpty())
        bringAcross(file, false);
}

void frmFirstRun::bringAcross(const QString &source, bool skipBad)
{
    m_source = source;
    m_pages->setCurrentIndex(ImportPage);
    for (QPushButton *button : {m_skipBad, m_signIn, m_importBack, m_importQuit})
        button->hide();
    m_progress->setValue(0);
    m_report->clear();
    m_progressText->setText(
        QStringLiteral("Memindahkan data dari:\n%1").arg(QDir::toNativeSeparators(source)));
    if (m_accessAtPlace && store::placeOf(asidePath(m_place)) != store::Place::Nothing) {
        m_report->setPlainText(QStringLiteral("File %1 sudah ada. File Access tidak dipindahkan "
                                              "ke sana; pindahkan dulu file itu.")
                                   .arg(QDir::toNativeSeparators(asidePath(m_place))));
        m_importQuit->show();
        return;
    }

    const QString scratch = scratchPath(m_place);
    accessimport::Outcome outcome;
    m_busy = true;
    {
        QString error;
        const std::unique_ptr<accessimport::Source> access =
            accessimport::openAccess(source, error);
        if (access) {
            accessimport::Importer importer(*access);
            importer.setSkipBad(skipBad);
            importer.setProgress(ProgressEvery,
                                 [this](const QString &table, qint64 done, qint64 total) {
                                     showProgress(table, done, total);
                                 });
            outcome = importer.run(scratch);
        } else {
            outcome.error = error;
        }
    }
    m_busy = false;
    finishImport(outcome, scratch);
}

void frmFirstRun::showProgress(const QString &table, qint64 done, qint64 total)
{
    const int step = total > 0 ? int(std::min(done, total) * StepsPerTable / total) : 0;
    m_progress->setValue(tableIndex(table) * StepsPerTable + step);
    m_progressText->setText(
        QStringLiteral("Memindahkan %1: %2 dari %3 baris...").arg(table).arg(done).arg(total));
    // The bar moves while the import runs; clicks wait until it has finished.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmFirstRun::finishImport(const accessimport::Outcome &outcome, const QString &scratch)
{
    QStringList lines;
    for (const accessimport::Tally &tally : outcome.tallies)
        lines << accessimport::describe(tally, outcome.written);
    if (!outcome.ignoredColumns.isEmpty())
        lines << QStringLiteral("Kolom sumber yang tidak dipindahkan: ") +
                     outcome.ignoredColumns.join(QStringLiteral(", "));
    for (const accessimport::Refusal &refusal : outcome.refusals)
        lines << QStringLiteral("Ditolak: ") + accessimport::describe(refusal);
    const qsizetype refused = outcome.refusals.size();

    QString problem = outcome.error;
    if (outcome.written)
        problem = placeImported(scratch);
    if (!outcome.written || !problem.isEmpty()) {
        if (problem.isEmpty())
            problem = QStringLiteral("Tidak ada yang dipindahkan: %1 baris melanggar aturan "
                                     "database. Perbaiki baris itu di database Access, atau "
                                     "pindahkan data tanpa baris itu (daftarnya disimpan di "
                                     "samping database baru).")
                          .arg(refused);
        lines << QString() << problem;
        m_report->setPlainText(lines.join(u'\n'));
        m_progressText->setText(QStringLiteral("Data tidak dipindahkan."));
        m_skipBad->setVisible(outcome.error.isEmpty() && !outcome.written && refused > 0);
        m_importBack->setVisible(!m_accessAtPlace);
        m_importQuit->show();
        return;
    }

    m_progress->setValue(m_progress->maximum());
    lines << QString();
    if (refused > 0) {
        const QString csv = accessimport::refusalsPath(m_place);
        QString error;
        lines << (accessimport::writeRefusals(csv, outcome.refusals, error)
                      ? QStringLiteral("%1 baris ditolak; daftarnya ada di: %2")
                            .arg(refused)
                            .arg(QDir::toNativeSeparators(csv))
                      : QStringLiteral("%1 baris ditolak; daftarnya tidak dapat ditulis ke %2: %3")
                            .arg(refused)
                            .arg(QDir::toNativeSeparators(csv), error));
    }
    lines << QStringLiteral("Selesai. Database baru: %1").arg(QDir::toNativeSeparators(m_place));
    m_report->setPlainText(lines.join(u'\n'));
    m_progressText->setText(QStringLiteral("Data sudah dipindahkan."));

    QList<store::users::User> users;
    store::Status status = store::Database::open();
    if (status.ok())
        status = store::users::readAll(users);
    if (status.ok() && users.isEmpty()) {
        m_userForImported = true;
        askNewUser();
        return;
    }
    m_signIn->show();
    m_importQuit->show();
    m_signIn->setFocus();
}

// Moves the finished import to the place, the Access file that stood there beside it first.
// Returns why it could not; then everything is where it was before.
QString frmFirstRun::placeImported(const QString &imported)
{
    const QString aside = asidePath(m_place);
    if (m_accessAtPlace && !QFile::rename(m_place, aside)) {
        removeDatabaseFiles(imported);
        return QStringLiteral("File Access tidak dapat dipindahkan ke %1; tidak ada yang "
                              "diubah.")
            .arg(QDir::toNativeSeparators(aside));
    }
    if (!QFile::rename(imported, m_place)) {
        if (m_accessAtPlace)
            QFile::rename(aside, m_place);
        removeDatabaseFiles(imported);
        return QStringLiteral("Database baru tidak dapat dipindahkan ke %1; tidak ada yang "
                              "diubah.")
            .arg(QDir::toNativeSeparators(m_place));
    }
    return {};
}

void frmFirstRun::refuse(const QString &text)
{
    Messages::instance().message(text, QString(), platform::Icon::Information,
                                 platform::Buttons::Ok);
}

void frmFirstRun::signIn()
{
    // The sign-in window is shown before this one closes, so the program goes on.
    shell::showSignIn();
    close();
}

void frmFirstRun::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
