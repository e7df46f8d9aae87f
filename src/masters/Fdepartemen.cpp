#include "masters/Fdepartemen.h"

#include <QLineEdit>

namespace {

forms::FormSettings settings()
{
    forms::FormSettings s;
    s.name = QStringLiteral("Fdepartemen");
    s.caption = QStringLiteral("File - Departemen");
    s.title = QStringLiteral("FORM DATA DEPARTEMEN");
    s.table = QStringLiteral("Departemen");
    s.clientTwips = QSize(8295, 4215);
    s.searchPrompt = QStringLiteral("Masukkan Kode Departemen :");
    s.searchColumn = QStringLiteral("Kodedepartemen");
    s.browseSource = QStringLiteral("Departemen");
    s.criteria = {{QStringLiteral("Kode Departemen"), QStringLiteral("Kodedepartemen")},
                  {QStringLiteral("Keterangan"), QStringLiteral("Keterangan")}};
    return s;
}

} // namespace

Fdepartemen::Fdepartemen(QWidget *parent) : RecordForm(settings(), parent)
{
    QLineEdit *code =
        addTextField(QStringLiteral("Kode Departemen:"), QStringLiteral("lblFieldLabel(0)"),
                     QStringLiteral("txtKodedepartemen"), QStringLiteral("Kodedepartemen"), 1335);
    addTextField(QStringLiteral("Departemen :"), QStringLiteral("lblFieldLabel(1)"),
                 QStringLiteral("txtKeterangan"), QStringLiteral("Keterangan"), 5340);
    setFocusTarget(code);
    load();
}
