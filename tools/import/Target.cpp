#include "Target.h"

namespace migration {

int TargetTable::columnIndex(const QString &column) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

namespace {

TargetColumn of(const char *name, TargetKind kind)
{
    TargetColumn column;
    column.name = QString::fromLatin1(name);
    column.kind = kind;
    return column;
}

TargetColumn text(const char *name)
{
    return of(name, TargetKind::Text);
}

TargetColumn code(const char *name)
{
    TargetColumn column = text(name);
    column.required = true;
    return column;
}

TargetColumn reference(const char *name, const char *table, bool required = false)
{
    TargetColumn column = text(name);
    column.required = required;
    column.refersTo = QString::fromLatin1(table);
    return column;
}

QList<TargetTable> build()
{
    using K = TargetKind;
    TargetTable departemen{QStringLiteral("Departemen"),
                           {code("Kodedepartemen"), text("Keterangan")},
                           QStringLiteral("Kodedepartemen"),
                           {{QStringLiteral("Kodedepartemen")}}};
    TargetTable peringkat{QStringLiteral("Peringkat"),
                          {code("KodePeringkat"), of("UpahPerhari", K::Real), text("Jabatan")},
                          QStringLiteral("KodePeringkat"),
                          {{QStringLiteral("KodePeringkat")}}};
    TargetTable pegawai{QStringLiteral("Pegawai"),
                        {code("Nip"), text("Nama"), text("Alamat"), text("TempatLahir"),
                         of("Tgllahir", K::Date), of("TahunMasuk", K::Integer),
                         reference("KodePeringkat", "Peringkat"), text("Jabatan"),
                         reference("KodeDepartemen", "Departemen")},
                        QStringLiteral("Nip"),
                        {{QStringLiteral("Nip")}}};
    TargetTable periode{QStringLiteral("Periode"),
                        {code("Kartucuti"), of("PeriodeAwal", K::Date), of("Periodeahir", K::Date)},
                        QStringLiteral("Kartucuti"),
                        {{QStringLiteral("Kartucuti")}}};
    TargetColumn idCuti = of("IdCuti", K::Integer);
    idCuti.optional = true;
    TargetTable cuti{
        QStringLiteral("Cuti"),
        {reference("Nip", "Pegawai", true), reference("KartuCuti", "Periode", true),
         of("Hakcuti", K::Real), of("SisaCuti", K::Real), of("Penggantian Cuti", K::Real), idCuti},
        {},
        {{QStringLiteral("Nip"), QStringLiteral("KartuCuti")}, {QStringLiteral("IdCuti")}}};
    TargetTable password{QStringLiteral("TPassword"),
                         {code("Nama"), text("Password")},
                         QStringLiteral("Nama"),
                         {{QStringLiteral("Nama")}}};
    return {departemen, peringkat, pegawai, periode, cuti, password};
}

} // namespace

const QList<TargetTable> &targetTables()
{
    static const QList<TargetTable> tables = build();
    return tables;
}

} // namespace migration
