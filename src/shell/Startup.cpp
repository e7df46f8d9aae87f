#include "shell/Startup.h"

#include "platform/Messages.h"
#include "platform/WindowRegistry.h"
#include "shell/frmFirstRun.h"
#include "shell/frmLogin.h"
#include "store/Database.h"
#include "store/Location.h"

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

} // namespace

QString cannotOpenText(const store::Status &status)
{
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

void showSignIn()
{
    if (platform::WindowRegistry::load<frmLogin>()->isReady())
        platform::WindowRegistry::show<frmLogin>();
}

void showFirstWindow()
{
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
        if (status.kind() != store::Status::Kind::Busy) {
            tell(cannotOpenText(status));
            return;
        }
        if (!askTryAgain(path))
            return;
    }
}

} // namespace shell
