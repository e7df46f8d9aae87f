#include "masters/Fperingkat.h"

#include "masters/Fpegawai.h"
#include "platform/WindowRegistry.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

forms::FormSettings settings()
{
    forms::FormSettings s;
    s.name = QStringLiteral("Fperingkat");
    s.caption = QStringLiteral("File - Peringkat");
    s.title = QStringLiteral("FORM DATA PERINGKAT");
    s.table = QStringLiteral("Peringkat");
    s.clientTwips = QSize(8295, 4215);
    s.searchPrompt = QStringLiteral("Masukkan Kode Peringkat :");
    s.searchColumn = QStringLiteral("KodePeringkat");
    s.browseSource = QStringLiteral("Peringkat");
    s.criteria = {{QStringLiteral("Kode Peringkat"), QStringLiteral("KodePeringkat")},
                  {QStringLiteral("Jabatan"), QStringLiteral("Jabatan")}};
    return s;
}

} // namespace

Fperingkat::Fperingkat(QWidget *parent) : RecordForm(settings(), parent)
{
    auto *code =
        addTextField(QStringLiteral("Kode Jabatan:"), QStringLiteral("lblFieldLabel(0)"),
                     QStringLiteral("txtKodePeringkat"), QStringLiteral("KodePeringkat"), 1335);
    addTextField(QStringLiteral("Upah Perhari:"), QStringLiteral("lblFieldLabel(1)"),
                 QStringLiteral("txtUpahPerhari"), QStringLiteral("UpahPerhari"), 1695);
    addListField(QStringLiteral("Jabatan:"), QStringLiteral("lblFieldLabel(2)"),
                 QStringLiteral("txtJabatan"), QStringLiteral("Jabatan"),
                 {QStringLiteral("Kepala Bagian"), QStringLiteral("Karyawan Staf"),
                  QStringLiteral("Satpam"), QStringLiteral("Cleaning Service")},
                 2775);
    setFocusTarget(code);
    load();
}

void Fperingkat::afterSaveRefresh()
{
    // The employee window is loaded without being shown when it is not open yet.
    auto *employees = platform::WindowRegistry::load<Fpegawai>();
    const store::Status status = employees->refreshRankLookup();
    if (!status.ok())
        reportFailure(status);
}
