#pragma once

#include <QPoint>

#include <array>

namespace store {

// A department with a payment report of its own. Everything that tells the four apart is
// here: the schemas' views, the data environment's commands, the report layouts and the
// report selection are all made from this table.
struct DepartmentReport
{
    const char *department; // Departemen.Keterangan, as the selection dialog lists it
    const char *view;       // the view of its leave records
    const char *command;    // the data environment's command that reads the view
    const char *report;     // the report's name, which is also its window's class
    const char *caption;    // the report's caption and window title
    const char *title;      // the heading printed on its pages
    int width;              // of the report, in twips
    // How its layout differs from the all-staff report: where the column labels, the text
    // boxes and the line under the second row of labels move, and its bands' heights.
    QPoint labelShift;
    QPoint textShift;
    QPoint line3;
    int pageHeader, detail, reportFooter;
};

inline constexpr std::array<DepartmentReport, 4> DepartmentReports = {{
    {"Sumber Daya Manusia",
     "QlapSDM",
     "LapBagianSDM",
     "LaporanSDM",
     "Laporan Karyawan Bagian Sumber Daya Manusia",
     "LAPORAN KARYAWAN BAGIAN SUMBER DAYA MANUSIA",
     8940,
     {15, -15},
     {-15, -30},
     {225, 1875},
     1905,
     615,
     1485},
    {"Personalia",
     "QlapPersonalia",
     "LapBagianPersonalia",
     "Laporanpersonalia",
     "Laporan Karyawan Bagian Personalia",
     "LAPORAN KARYAWAN BAGIAN PERSONALIA",
     8850,
     {15, 150},
     {-15, 75},
     {180, 2055},
     2115,
     690,
     1485},
    {"Produksi",
     "QlapProduksi",
     "LapBagianProduksi",
     "Laporanproduksi",
     "Laporan Karyawan Bagian Produksi",
     "LAPORAN KARYAWAN BAGIAN PRODUKSI",
     8865,
     {15, 60},
     {0, -15},
     {90, 1995},
     2025,
     690,
     1485},
    {"Sistem Informasi",
     "QlapSI",
     "LapBagianSistemInformasi",
     "Laporansi",
     "Laporan Karyawan Bagian Sistem Informasi",
     "LAPORAN KARYAWAN BAGIAN SISTEM INFORMASI",
     8895,
     {15, -60},
     {-45, -30},
     {225, 1845},
     1905,
     615,
     450},
}};

} // namespace store
