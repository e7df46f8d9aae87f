#include "BenchData.h"

#include "store/Leave.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QStringList>

#include <array>

namespace {

constexpr int Ranks = 100;
constexpr int Cards = 50;

const std::array<const char *, 12> FirstNames = {"Budi", "Siti", "Agus", "Dewi",    "Bunga", "Rudi",
                                                 "Ani",  "Joko", "Sri",  "Bambang", "Wati",  "Eko"};
const std::array<const char *, 8> LastNames = {"Santoso", "Wijaya", "Saputra", "Lestari",
                                               "Hidayat", "Kusuma", "Pratama", "Utami"};
const std::array<const char *, 10> DepartmentNames = {"Sumber Daya Manusia",
                                                      "Personalia",
                                                      "Sistem Informasi",
                                                      "Produksi",
                                                      "Gudang",
                                                      "Keuangan",
                                                      "Pemasaran",
                                                      "Pembelian",
                                                      "Umum",
                                                      "Hukum"};
const std::array<const char *, 4> Titles = {"Kepala Bagian", "Karyawan Staf", "Satpam",
                                            "Cleaning Service"};

class Writer
{
public:
    explicit Writer(sqlite3 *db) : m_db(db) {}
    ~Writer() { sqlite3_finalize(m_stmt); }

    bool prepare(const char *sql)
    {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        return sqlite3_prepare_v2(m_db, sql, -1, &m_stmt, nullptr) == SQLITE_OK;
    }
    void text(int i, const QByteArray &v)
    {
        sqlite3_bind_text(m_stmt, i, v.constData(), int(v.size()), SQLITE_TRANSIENT);
    }
    void real(int i, double v) { sqlite3_bind_double(m_stmt, i, v); }
    void integer(int i, qint64 v) { sqlite3_bind_int64(m_stmt, i, v); }
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        return rc == SQLITE_DONE;
    }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

QByteArray code(const char *prefix, int n, int width)
{
    return QByteArray(prefix) + QByteArray::number(n).rightJustified(width, '0');
}

bool fillMasters(Writer &w, int departments)
{
    if (!w.prepare("INSERT INTO Departemen VALUES (?, ?)"))
        return false;
    for (int d = 0; d < departments; ++d) {
        w.text(1, code("D", d, 2));
        w.text(2, d < int(DepartmentNames.size()) ? QByteArray(DepartmentNames[size_t(d)])
                                                  : "Departemen " + QByteArray::number(d));
        if (!w.step())
            return false;
    }
    if (!w.prepare("INSERT INTO Peringkat VALUES (?, ?, ?)"))
        return false;
    for (int r = 0; r < Ranks; ++r) {
        w.text(1, code("P", r, 3));
        w.real(2, 60000 + 1500.5 * r);
        w.text(3, Titles[size_t(r % 4)]);
        if (!w.step())
            return false;
    }
    if (!w.prepare("INSERT INTO Periode VALUES (?, ?, ?)"))
        return false;
    for (int k = 0; k < Cards; ++k) {
        w.text(1, code("K", 2000 + k, 4));
        w.text(2, QByteArray::number(2000 + k) + "-01-01");
        w.text(3, QByteArray::number(2000 + k) + "-12-31");
        if (!w.step())
            return false;
    }
    return true;
}

bool fillPeople(Writer &w, int rows, int departments)
{
    if (!w.prepare("INSERT INTO Pegawai VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"))
        return false;
    for (int n = 0; n < rows; ++n) {
        const int r = n % Ranks;
        w.text(1, benchNip(n).toUtf8());
        w.text(2, QByteArray(FirstNames[size_t(n % 12)]) + ' ' + LastNames[size_t((n / 12) % 8)]);
        w.text(3, "Jl. Merdeka No. " + QByteArray::number(n % 500));
        w.text(4, "Bandung");
        w.text(5, QByteArray::number(1960 + n % 40) + "-0" + QByteArray::number(1 + n % 9) + "-15");
        w.integer(6, 1990 + n % 30);
        w.text(7, code("P", r, 3));
        w.text(8, Titles[size_t(r % 4)]);
        w.text(9, code("D", n % departments, 2));
        if (!w.step())
            return false;
    }
    if (!w.prepare("INSERT INTO Cuti (Nip, KartuCuti, Hakcuti, SisaCuti, \"Penggantian Cuti\") "
                   "VALUES (?, ?, ?, ?, ?)"))
        return false;
    for (int n = 0; n < rows; ++n) {
        const int taken = n % (store::LeaveEntitlementDays + 1);
        w.text(1, benchNip(n).toUtf8());
        w.text(2, code("K", 2000 + n % Cards, 4));
        w.real(3, store::LeaveEntitlementDays);
        w.real(4, store::LeaveEntitlementDays - taken);
        w.real(5, taken);
        if (!w.step())
            return false;
    }
    return true;
}

} // namespace

QString benchNip(int n)
{
    return QStringLiteral("19%1").arg(n, 7, 10, QLatin1Char('0'));
}

bool fillBenchData(const QString &path, int rows, int departments, QString *error)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    sqlite3_exec(db, "PRAGMA foreign_keys = ON; BEGIN", nullptr, nullptr, nullptr);
    bool ok = false;
    {
        Writer w(db);
        ok = fillMasters(w, departments) && fillPeople(w, rows, departments);
    }
    if (!ok)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_exec(db, ok ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return ok;
}
