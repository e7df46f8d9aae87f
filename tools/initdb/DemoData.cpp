#include "DemoData.h"

#include "store/Database.h"
#include "store/Leave.h"
#include "store/Users.h"

#include <QVariant>

#include <initializer_list>

namespace {

// A leave record starts with the entitlement; the days left are what was not taken.
constexpr double Entitlement = store::LeaveEntitlementDays;

struct Employee
{
    const char *nip;
    const char *name;
    const char *address;
    const char *birthPlace;
    const char *birthDate; // nullptr: not known
    int yearJoined;
    const char *rank;
    const char *department;
};

struct Leave
{
    const char *nip;
    const char *card;
    double daysTaken;
};

const char *const Departments[][2] = {
    {"D01", "Sumber Daya Manusia"}, {"D02", "Personalia"},
    {"D03", "Sistem Informasi"},    {"D04", "Produksi"},
    {"D05", "Gudang & Logistik"},
};

struct Rank
{
    const char *code;
    double dailyWage;
    const char *title;
};

const Rank Ranks[] = {
    {"P01", 250000, "Kepala Bagian"},
    {"P02", 150000, "Karyawan Staf"},
    {"P03", 110000, "Satpam"},
    {"P04", 95000, "Cleaning Service"},
};

const Employee Employees[] = {
    {"1985001", "Budi Santoso", "Jl. Merdeka No. 12", "Bandung", "1962-03-14", 1985, "P01", "D01"},
    {"1987002", "Siti Aminah", "Jl. Diponegoro No. 5", "Semarang", "1965-07-02", 1987, "P02",
     "D01"},
    {"1988003", "Agus Salim", "Jl. Sudirman No. 44", "Jakarta", "1966-11-20", 1988, "P01", "D02"},
    {"1990004", "Bunga Lestari", "Jl. Mawar No. 3", "Bogor", nullptr, 1990, "P02", "D02"},
    {"1991005", "Dewi Kartika", "Jl. Gajah Mada No. 18", "Surabaya", "1970-01-09", 1991, "P01",
     "D03"},
    {"1993006", "Rudi Hartono", "Jl. Ahmad Yani No. 77", "Malang", "1971-05-23", 1993, "P02",
     "D03"},
    {"1994007", "Sri Wahyuni", "Jl. Kartini No. 9", "Yogyakarta", "1972-08-17", 1994, "P01", "D04"},
    {"1995008", "Joko Susilo", "Jl. Pemuda No. 21", "Solo", nullptr, 1995, "P02", "D04"},
    {"1996009", "Burhanuddin", "Jl. Cendana No. 2", "Makassar", "1974-12-30", 1996, "P03", "D04"},
    {"1997010", "Rina Marlina", "Jl. Melati No. 15", "Cirebon", "1975-04-11", 1997, "P04", "D04"},
    {"1998011", "Hendra Gunawan", "Jl. Veteran No. 8", "Medan", "1976-09-05", 1998, "P02", "D05"},
    {"1999012", "Yuliana Putri", "Jl. Anggrek No. 27", "Denpasar", "1978-02-28", 1999, "P04",
     "D01"},
    {"2001013", "Eko Prasetyo", "Jl. Pahlawan No. 40", "Madiun", "1979-06-13", 2001, "P03", "D02"},
    {"2003014", "Wulan Sari", "Jl. Kenanga No. 6", "Tasikmalaya", nullptr, 2003, "P02", "D03"},
    {"2005015", "Andi Wijaya", "Jl. Hasanuddin No. 31", "Palembang", "1983-10-01", 2005, "P02",
     "D04"},
    {"2007016", "Fitri Handayani", "Jl. Dahlia No. 11", "Padang", "1985-03-22", 2007, "P04", "D05"},
    {"2009017", "Bulan Purnama", "Jl. Flamboyan No. 4", "Pontianak", "1987-07-07", 2009, "P02",
     "D01"},
    {"2012018", "Teguh Santoso", "Jl. Imam Bonjol No. 19", "Kediri", nullptr, 2012, "P03", "D05"},
    {"2015019", "Maya Sari", "Jl. Seroja No. 8", "Balikpapan", "1992-12-12", 2015, "P02", "D03"},
    {"2018020", "Dedi Kurniawan", "Jl. Cempaka No. 23", "Bekasi", "1995-05-05", 2018, "P04", "D04"},
};

const char *const Cards[][3] = {
    {"K2023", "2023-01-01", "2023-12-31"},
    {"K2024", "2024-01-01", "2024-12-31"},
};

const Leave Leaves[] = {
    {"1985001", "K2023", 5},   {"1987002", "K2023", 12}, {"1988003", "K2023", 0},
    {"1991005", "K2023", 7.5}, {"1994007", "K2023", 18}, {"1996009", "K2023", 3},
    {"1985001", "K2024", 2},   {"1990004", "K2024", 10}, {"1993006", "K2024", 6},
    {"1998011", "K2024", 14},  {"2005015", "K2024", 1},  {"2015019", "K2024", 9},
};

QVariant textOrNull(const char *text)
{
    return text ? QVariant(QString::fromUtf8(text)) : QVariant(QMetaType(QMetaType::QString));
}

// Runs one insert with bound values.
store::Status insert(const QString &sql, std::initializer_list<QVariant> values)
{
    return store::Database::connection().execute(sql, QVariantList(values));
}

QString rankTitle(const char *code)
{
    for (const Rank &rank : Ranks) {
        if (qstrcmp(rank.code, code) == 0)
            return QString::fromUtf8(rank.title);
    }
    return {};
}

store::Status fillMasters()
{
    store::Status status;
    for (const auto &department : Departments) {
        status = insert(QStringLiteral("INSERT INTO \"Departemen\" VALUES (?, ?)"),
                        {QString::fromUtf8(department[0]), QString::fromUtf8(department[1])});
        if (!status.ok())
            return status;
    }
    for (const Rank &rank : Ranks) {
        status =
            insert(QStringLiteral("INSERT INTO \"Peringkat\" VALUES (?, ?, ?)"),
                   {QString::fromUtf8(rank.code), rank.dailyWage, QString::fromUtf8(rank.title)});
        if (!status.ok())
            return status;
    }
    for (const auto &card : Cards) {
        status = insert(
            QStringLiteral("INSERT INTO \"Periode\" VALUES (?, ?, ?)"),
            {QString::fromUtf8(card[0]), QString::fromUtf8(card[1]), QString::fromUtf8(card[2])});
        if (!status.ok())
            return status;
    }
    return status;
}

store::Status fillEmployees()
{
    for (const Employee &e : Employees) {
        const store::Status status = insert(
            QStringLiteral(
                "INSERT INTO \"Pegawai\" (\"Nip\", \"Nama\", \"Alamat\", \"TempatLahir\", "
                "\"Tgllahir\", \"TahunMasuk\", \"KodePeringkat\", \"Jabatan\", "
                "\"KodeDepartemen\") "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {QString::fromUtf8(e.nip), QString::fromUtf8(e.name), QString::fromUtf8(e.address),
             QString::fromUtf8(e.birthPlace), textOrNull(e.birthDate), e.yearJoined,
             QString::fromUtf8(e.rank), rankTitle(e.rank), QString::fromUtf8(e.department)});
        if (!status.ok())
            return status;
    }
    return store::Status::success();
}

store::Status fillLeave()
{
    for (const Leave &leave : Leaves) {
        const store::Status status =
            insert(QStringLiteral(
                       "INSERT INTO \"Cuti\" (\"Nip\", \"KartuCuti\", \"Hakcuti\", \"SisaCuti\", "
                       "\"Penggantian Cuti\") VALUES (?, ?, ?, ?, ?)"),
                   {QString::fromUtf8(leave.nip), QString::fromUtf8(leave.card), Entitlement,
                    Entitlement - leave.daysTaken, leave.daysTaken});
        if (!status.ok())
            return status;
    }
    return store::Status::success();
}

} // namespace

store::Status fillDemo()
{
    return store::inTransaction([] {
        store::Status status = fillMasters();
        if (status.ok())
            status = fillEmployees();
        if (status.ok())
            status = fillLeave();
        if (status.ok())
            status = store::users::add(QStringLiteral("admin"), QStringLiteral("admin"));
        return status;
    });
}
