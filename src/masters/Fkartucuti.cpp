#include "masters/Fkartucuti.h"

#include "platform/DatePicker.h"

#include <QLineEdit>

namespace {

forms::FormSettings settings()
{
    forms::FormSettings s;
    s.name = QStringLiteral("Fkartucuti");
    s.caption = QStringLiteral("Kartu Cuti");
    s.table = QStringLiteral("Periode");
    s.clientTwips = QSize(6120, 3135);
    s.singlePage = true;
    s.closeBox = true;
    s.searchPrompt = QStringLiteral("Masukkan Kode Kartu Cuti :");
    s.searchColumn = QStringLiteral("Kartucuti");
    return s;
}

} // namespace

Fkartucuti::Fkartucuti(QWidget *parent) : RecordForm(settings(), parent)
{
    auto *code = addTextField(QStringLiteral("Kartucuti:"), QStringLiteral("lblFieldLabel(0)"),
                              QStringLiteral("txtKartucuti"), QStringLiteral("Kartucuti"), 1695);
    addDateField(QStringLiteral("PeriodeAwal:"), QStringLiteral("lblFieldLabel(1)"),
                 QStringLiteral("DTPicker1"), QStringLiteral("PeriodeAwal"), 1695);
    addDateField(QStringLiteral("Periodeahir:"), QStringLiteral("lblFieldLabel(2)"),
                 QStringLiteral("DTPicker2"), QStringLiteral("Periodeahir"), 1695);
    setFocusTarget(code);
    load();
}
