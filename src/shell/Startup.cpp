#include "shell/Startup.h"

#include "platform/BusyPointer.h"
#include "platform/Messages.h"
#include "platform/WindowRegistry.h"
#include "shell/frmFirstRun.h"
#include "shell/frmLogin.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/Location.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace shell {

namespace {

using platform::Messages;

const QString Title = QStringLiteral("Database Kelvara");

void tell(const QString &text)
{
    Messages::instance().message(text, Title, platform::Icon::Information, platform::Buttons::Ok);
}

bool askTryAgain(const QString &path)
{
    return Messages::instance().message(
               QStringLiteral("Database sedang dipakai program lain:\n%1\n\n"
                              "Tutup program itu, lalu coba lagi. Coba lagi sekarang?")
                   .arg(path),
               Title, platform::Icon::Question, platform::Buttons::YesNo) == platform::Answer::Yes;
}

// Nothing is changed at the place: the user decides what happens to what stands there.
QString placeText(store::Place place, const QString &path)
{
    if (place == store::Place::Folder)
        return QStringLiteral("Di tempat database ada sebuah folder, bukan file database:\n%1\n\n"
                              "Folder itu tidak diubah. Pindahkan folder itu, maka database "
                              "baru dapat dibuat di tempatnya.")
            .arg(path);
    return QStringLiteral("Di tempat database ada tautan simbolik ke file yang tidak ada:\n%1\n"
                          "-> %2\n\nTautan itu tidak diikuti dan tidak diubah. Pulihkan file "
                          "yang ditunjuknya, atau hapus tautan itu.")
        .arg(path, QFileInfo(path).symLinkTarget());
}

// A damaged file at the place, with backups to take its place: the first-run window offers
// them. A database of a later version is not damaged, and no older copy may replace it.
bool offerRestore(const QString &path, const store::Status &status)
{
    if (store::backup::list(path).isEmpty() ||
        store::backup::check(path).kind() != store::Status::Kind::Unreadable)
        return false;
    platform::WindowRegistry::load<frmFirstRun>()->offerRestore(status.message());
    platform::WindowRegistry::show<frmFirstRun>();
    return true;
}

} // namespace

QString cannotOpenText(const store::Status &status)
{
    if (store::Database::onServer()) {
        const QString text =
            QStringLiteral("Database di server tidak dapat dibuka:\n%1\n"
                           "(pengaturan: %2)\n\n%3")
                .arg(store::Database::describe(),
                     QDir::toNativeSeparators(store::Database::serverFile()), status.message());
        if (status.kind() != store::Status::Kind::Unreadable)
            return text;
        return text + QStringLiteral("\n\nTabel program dapat dibuat di database kosong dengan "
                                     "kelvara-initdb --server FILE.");
    }
    const QString path = store::Database::path();
    if (status.kind() == store::Status::Kind::Missing)
        return QStringLiteral("Database tidak dapat dibuka:\n%1\n\n%2\n\n"
                              "Database baru dapat dibuat dengan program kelvara-initdb.")
            .arg(path, status.explanation());
    return QStringLiteral("Database tidak dapat dibuka:\n%1\n\n%2\n\n"
                          "File itu tidak diubah. Bila database baru harus dibuat di tempat "
                          "ini, pindahkan dulu file itu.")
        .arg(path, status.message());
}

void backUpToday()
{
    if (store::Database::onServer())
        return;
    const QString path = store::Database::path();
    QStringList problems;
    if (const QString beforeUpgrade = store::backup::takeProblem(); !beforeUpgrade.isEmpty())
        problems << QStringLiteral("Cadangan sebelum pembaruan versi database tidak dapat "
                                   "dibuat. Database sudah diperbarui.\n\n%1")
                        .arg(beforeUpgrade);
    store::Status status;
    {
        const platform::busy::Scope busy;
        status = store::backup::daily(path, QDateTime::currentDateTime());
    }
    if (!status.ok())
        problems << QStringLiteral("Cadangan harian database tidak dapat dibuat di:\n%1\n\n%2")
                        .arg(QDir::toNativeSeparators(store::backup::folder(path)),
                             status.kind() == store::Status::Kind::Other ? status.engineText()
                                                                         : status.message());
    if (problems.isEmpty())
        return;
    problems << QStringLiteral("Pekerjaan dapat dilanjutkan; cadangan dicoba lagi pada login "
                               "berikutnya.");
    Messages::instance().message(problems.join(QStringLiteral("\n\n")), QStringLiteral("Cadangan"),
                                 platform::Icon::Information, platform::Buttons::Ok);
}

void showSignIn()
{
    if (platform::WindowRegistry::load<frmLogin>()->isReady())
        platform::WindowRegistry::show<frmLogin>();
}

// A desk on a server never makes a database of its own: the server's is the only one.
void openOnServer()
{
    const store::Status status = store::Database::open();
    if (status.ok())
        showSignIn();
    else
        tell(cannotOpenText(status));
}

void showFirstWindow()
{
    if (store::Database::onServer()) {
        openOnServer();
        return;
    }
    const QString path = store::Database::path();
    const store::Place place = store::placeOf(path);
    if (place == store::Place::Nothing || place == store::Place::Access) {
        platform::WindowRegistry::show<frmFirstRun>();
        return;
    }
    if (place != store::Place::File) {
        tell(placeText(place, path));
        return;
    }
    for (;;) {
        const store::Status status = store::Database::open();
        if (status.ok()) {
            showSignIn();
            return;
        }
        if (status.kind() == store::Status::Kind::Unreadable && offerRestore(path, status))
            return;
        if (status.kind() != store::Status::Kind::Busy) {
            tell(cannotOpenText(status));
            return;
        }
        if (!askTryAgain(path))
            return;
    }
}

} // namespace shell
