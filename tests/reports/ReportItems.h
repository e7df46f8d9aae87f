#pragma once

#include "TestDatabase.h"
#include "platform/reportengine/Report.h"

#include <QStringList>

#include <vector>

// Looking up the drawing items of a laid-out report by the control they come from.
namespace reporttest {

using platform::reportengine::Document;
using platform::reportengine::Item;
using platform::reportengine::Page;

inline std::vector<const Item *> itemsNamed(const Page &page, const QString &name)
{
    std::vector<const Item *> found;
    for (const Item &item : page.items) {
        if (item.name == name)
            found.push_back(&item);
    }
    return found;
}

// The first item of that name on the page; null when there is none.
inline const Item *item(const Page &page, const QString &name)
{
    for (const Item &item : page.items) {
        if (item.name == name)
            return &item;
    }
    return nullptr;
}

// The texts of every item of that name, page after page.
inline QStringList textsOf(const Document &document, const QString &name)
{
    QStringList texts;
    for (int p = 0; p < document.pageCount(); ++p) {
        const Page page = document.page(p);
        for (const Item *item : itemsNamed(page, name))
            texts << item->text;
    }
    return texts;
}

// count leave records of employees N00001, N00002, ... in one department, in that order.
inline bool addLeaveRows(TestDatabase &db, int count, const QString &department = "Personalia")
{
    return db.exec("INSERT INTO Departemen VALUES ('DX', ?)", {department}) &&
           db.exec("INSERT INTO Peringkat VALUES ('PX', 1000, 'Staf')") &&
           db.exec("INSERT INTO Periode VALUES ('KX', '2024-01-01', '2024-12-31')") &&
           db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                   "INSERT INTO Pegawai SELECT printf('N%05d', i), 'Nama ' || i, '', '', NULL, "
                   "2000, 'PX', 'Staf', 'DX' FROM n",
                   {count}) &&
           db.exec("INSERT INTO Cuti (Nip, KartuCuti, Hakcuti, SisaCuti, \"Penggantian Cuti\") "
                   "SELECT Nip, 'KX', 18, 10, 8 FROM Pegawai WHERE KodeDepartemen = 'DX' "
                   "ORDER BY Nip");
}

} // namespace reporttest
