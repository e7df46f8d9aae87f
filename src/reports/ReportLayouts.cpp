#include "reports/ReportLayouts.h"

#include "platform/Appearance.h"

namespace reports {

using platform::font;
using platform::reportengine::Control;
using platform::reportengine::ControlKind;
using platform::reportengine::Section;
using platform::reportengine::SectionRole;

namespace {

constexpr int Margin = 1440;
const QSize PreviewSize(15240, 11115);
const QColor LightGrey(192, 192, 192);
// Every text box of the payment reports is one line of the default font high.
constexpr int ValueHeight = 210;
// Wide enough in the default font for a whole date (dd/mm/yyyy, 830 twips) and for an amount
// of 12 digits with three decimals and a sign (1480 twips). 720 cut the year's last digit and
// the eighth digit of an amount; the amount boxes still end inside every report's width.
constexpr int DateWidth = 960;
constexpr int AmountWidth = 1500;
// The other values reach up to 45 twips short of the next column on their line: the number
// holds 11 digits in the default font (720 cut the ninth), the name and the position about 21
// letters, the department 15. Wider values are drawn smaller to fit, as every text box's are.
constexpr int NipWidth = 1020;
constexpr int NameWidth = 1740;
constexpr int DepartmentWidth = 1290;
// The slip's number, name and position reach across the slip, up to its frame: an 18-digit
// number and a name of some 70 letters print in the default font.
constexpr int SlipValueWidth = 5985;

QFont arial()
{
    return font(QStringLiteral("Arial"), 8.25);
}

Control label(const QString &name, const QString &caption, QRect rect,
              int font = platform::reportengine::DefaultFont,
              Qt::Alignment alignment = Qt::AlignLeft)
{
    return {name, ControlKind::Label, rect, caption, font, alignment, {}};
}

Control textBox(const QString &name, const QString &column, QRect rect)
{
    return {name,
            ControlKind::TextBox,
            rect,
            column,
            platform::reportengine::DefaultFont,
            Qt::AlignLeft,
            {}};
}

Control rectangle(const QString &name, QRect rect, const QColor &fill = {})
{
    return {
        name, ControlKind::Rectangle, rect, {}, platform::reportengine::DefaultFont, Qt::AlignLeft,
        fill};
}

Control line(const QString &name, QRect rect)
{
    return {name, ControlKind::Line, rect, {}, platform::reportengine::DefaultFont, Qt::AlignLeft,
            {}};
}

ReportDefinition blankReport(const QString &name, const QString &caption, const QString &title,
                             int width)
{
    ReportDefinition report;
    report.name = name;
    report.caption = caption;
    report.title = title;
    report.dataMember = QStringLiteral("LaporanUpah");
    report.margins = QMargins(Margin, Margin, Margin, Margin);
    report.width = width;
    report.previewSize = PreviewSize;
    report.addFont(arial());
    report.totals = QStringList{QStringLiteral("SisaCuti"), QStringLiteral("Total Uang Cuti")};
    return report;
}

Section section(const char *name, SectionRole role, int height)
{
    return {QString::fromLatin1(name), role, height, {}};
}

Section paymentPageHeader(ReportDefinition &report)
{
    const int title = report.addFont(font(QStringLiteral("Book Antiqua"), 15.75, true));
    const int heading = report.addFont(font(QStringLiteral("Book Antiqua"), 9, true));
    Section header = section("Section2", SectionRole::PageHeader, 1890);
    header.controls = {
        rectangle(QStringLiteral("Shape1"), {60, 45, 8730, 1065}, LightGrey),
        label(QStringLiteral("Label2"), QStringLiteral("LAPORAN PEMBAYARAN UANG CUTI"),
              {390, 225, 6120, 450}, title),
        label(QStringLiteral("Label3"), QStringLiteral("NIP"), {105, 1305, 750, 270}, heading),
        label(QStringLiteral("Label5"), QStringLiteral("Nama"), {1215, 1305, 750, 270}, heading),
        label(QStringLiteral("Label6"), QStringLiteral("Jabatan"), {1200, 1605, 750, 270}, heading),
        label(QStringLiteral("Label4"), QStringLiteral("Tahun Masuk"), {2970, 1290, 1230, 270},
              heading),
        label(QStringLiteral("Label7"), QStringLiteral("Departemen"), {2955, 1590, 1185, 270},
              heading),
        label(QStringLiteral("Label8"), QStringLiteral("Periode Awal"), {4320, 1305, 1170, 270},
              heading),
        label(QStringLiteral("Label9"), QStringLiteral("Periode Akhir"), {4305, 1605, 1335, 270},
              heading),
        label(QStringLiteral("Label10"), QStringLiteral("Hak Cuti"), {5955, 1305, 1230, 270},
              heading),
        label(QStringLiteral("Label11"), QStringLiteral("Sisa Cuti"), {5940, 1605, 1185, 270},
              heading),
        label(QStringLiteral("Label12"), QStringLiteral("Upah Per Hari"), {7305, 1320, 1380, 270},
              heading),
        label(QStringLiteral("Label13"), QStringLiteral("Total Gaji"), {7290, 1620, 1335, 270},
              heading),
    };
    return header;
}

Section paymentDetail()
{
    // Two lines per row: the first under the first row of column labels, the second under
    // the second. The amount under "Total Gaji" is the query's "Total Uang Cuti".
    const struct
    {
        const char *name;
        const char *column;
        int left, top, width;
    } boxes[] = {
        {"Text1", "Nip", 135, 105, NipWidth},
        {"Text2", "Nama", 1200, 105, NameWidth},
        {"Text3", "Jabatan", 1200, 405, NameWidth},
        {"Text4", "TahunMasuk", 2985, 105, 720},
        {"Text5", "PeriodeAwal", 4320, 75, DateWidth},
        {"Text6", "PeriodeAkhir", 4335, 375, DateWidth},
        {"Text7", "Hakcuti", 5955, 75, 720},
        {"Text8", "SisaCuti", 5970, 375, 720},
        {"Text9", "UpahPerhari", 7365, 90, AmountWidth},
        {"Text10", "Total Uang Cuti", 7365, 390, AmountWidth},
        {"Text11", "Keterangan", 2985, 405, DepartmentWidth},
    };
    Section detail = section("Section1", SectionRole::Detail, 630);
    for (const auto &box : boxes)
        detail.controls.push_back(textBox(QString::fromLatin1(box.name),
                                          QString::fromLatin1(box.column),
                                          {box.left, box.top, box.width, ValueHeight}));
    return detail;
}

constexpr int Line3Length = 8580;

bool isColumnLabel(const Control &control)
{
    if (control.kind != ControlKind::Label || !control.name.startsWith(QLatin1String("Label")))
        return false;
    const int number = control.name.mid(5).toInt();
    return number >= 3 && number <= 13;
}

void applyDepartment(ReportDefinition &report, const store::DepartmentReport &row)
{
    report.name = QString::fromLatin1(row.report);
    report.caption = report.title = QString::fromLatin1(row.caption);
    report.dataMember = QString::fromLatin1(row.command);
    report.width = row.width;

    Section &header = *report.section(SectionRole::PageHeader);
    header.height = row.pageHeader;
    for (auto it = header.controls.begin(); it != header.controls.end(); ++it) {
        if (isColumnLabel(*it))
            it->rect.translate(row.labelShift);
        if (it->name == QLatin1String("Label2")) {
            it->text = QString::fromLatin1(row.title);
            it->rect = QRect(1080, 120, 6450, 855);
            it->alignment = Qt::AlignHCenter;
        }
    }
    const auto afterLabel13 =
        std::find_if(header.controls.begin(), header.controls.end(),
                     [](const Control &c) { return c.name == QLatin1String("Label13"); });
    header.controls.insert(afterLabel13 + 1, line(QStringLiteral("Line3"),
                                                  {row.line3.x(), row.line3.y(), Line3Length, 0}));

    Section &detail = *report.section(SectionRole::Detail);
    detail.height = row.detail;
    for (Control &box : detail.controls)
        box.rect.translate(row.textShift);
    report.section(SectionRole::ReportFooter)->height = row.reportFooter;
}

Section slipDetail(ReportDefinition &report)
{
    const int title = report.addFont(font(QStringLiteral("AvantGarde Md BT"), 14.25, true));
    const QString colon = QStringLiteral(" :");
    Section slip = section("Section1", SectionRole::Detail, 4695);
    slip.controls = {
        rectangle(QStringLiteral("Shape1"), {105, 105, 7785, 585}, LightGrey),
        rectangle(QStringLiteral("Shape2"), {90, 705, 7800, 3690}),
        label(QStringLiteral("Label1"), QStringLiteral("SLIP PEMBAYARAN UANG CUTI"),
              {105, 240, 7785, 360}, title, Qt::AlignHCenter),
        textBox(QStringLiteral("Text1"), QStringLiteral("Nip"), {1755, 915, SlipValueWidth, 285}),
        label(QStringLiteral("Label2"), QStringLiteral("NIP"), {270, 930, 750, 270}),
        label(QStringLiteral("Label3"), colon, {1590, 915, 150, 270}),
        textBox(QStringLiteral("Text2"), QStringLiteral("Nama"), {1755, 1305, SlipValueWidth, 285}),
        label(QStringLiteral("Label4"), QStringLiteral("NAMA "), {270, 1320, 750, 270}),
        label(QStringLiteral("Label5"), colon, {1590, 1305, 150, 270}),
        textBox(QStringLiteral("Text3"), QStringLiteral("Jabatan"),
                {1755, 1695, SlipValueWidth, 285}),
        label(QStringLiteral("Label6"), QStringLiteral("JABATAN"), {270, 1710, 1035, 270}),
        label(QStringLiteral("Label7"), colon, {1590, 1695, 150, 270}),
        textBox(QStringLiteral("Text4"), QStringLiteral("Total Uang Cuti"),
                {1755, 2085, 2235, 285}),
        label(QStringLiteral("Label8"), QStringLiteral("TOTAL UANG"), {270, 2100, 1245, 270}),
        label(QStringLiteral("Label9"), colon, {1590, 2085, 150, 270}),
        rectangle(QStringLiteral("Shape3"), {255, 2490, 7560, 1830}),
        label(QStringLiteral("Label10"), QStringLiteral("BANDUNG, ____/_____________/_______ "),
              {4410, 2745, 3255, 270}),
        label(QStringLiteral("Label11"), QStringLiteral("TANDA TANGAN,"), {5475, 3105, 1605, 270}),
        label(QStringLiteral("Label12"), QStringLiteral("( KABAG KEUANGAN )"),
              {5130, 3990, 1995, 270}, platform::reportengine::DefaultFont, Qt::AlignHCenter),
        label(QStringLiteral("Label13"), QStringLiteral("TANDA TANGAN,"), {870, 3150, 1605, 270}),
        label(QStringLiteral("Label14"), QStringLiteral("( KARYAWAN )"), {525, 4035, 1995, 270},
              platform::reportengine::DefaultFont, Qt::AlignHCenter),
    };
    return slip;
}

// The history of changes: one line per changed column, newest first, across the page's width.
constexpr int HistoryMargin = 720;
constexpr int HistoryWidth = 10440;
constexpr int HistoryLine = 240;

// The history's columns: caption over the column, the value under it.
struct HistoryColumn
{
    const char *caption;
    const char *column;
    int left, width;
};
const HistoryColumn HistoryColumns[] = {
    {"Waktu (UTC)", "Waktu", 0, 1500}, {"Pengguna", "Pengguna", 1560, 1440},
    {"Tabel", "Tabel", 3060, 900},     {"Kunci", "Kunci", 4020, 1020},
    {"Aksi", "Aksi", 5100, 660},       {"Kolom", "Kolom", 5820, 1260},
    {"Lama", "Lama", 7140, 1620},      {"Baru", "Baru", 8820, 1620}};

Section historyPageHeader(ReportDefinition &report)
{
    const int title = report.addFont(font(QStringLiteral("Book Antiqua"), 15.75, true));
    const int heading = report.addFont(font(QStringLiteral("Book Antiqua"), 9, true));
    Section header = section("Section2", SectionRole::PageHeader, 1260);
    header.controls = {
        rectangle(QStringLiteral("Shape1"), {0, 45, HistoryWidth, 630}, LightGrey),
        label(QStringLiteral("Label1"), QStringLiteral("RIWAYAT PERUBAHAN DATA"),
              {0, 150, HistoryWidth, 450}, title, Qt::AlignHCenter),
    };
    int number = 2;
    for (const HistoryColumn &column : HistoryColumns)
        header.controls.push_back(label(QStringLiteral("Label%1").arg(number++),
                                        QString::fromUtf8(column.caption),
                                        {column.left, 840, column.width, 270}, heading));
    header.controls.push_back(line(QStringLiteral("Line1"), {0, 1170, HistoryWidth, 1}));
    return header;
}

Section historyDetail()
{
    Section detail = section("Section1", SectionRole::Detail, HistoryLine);
    int number = 1;
    for (const HistoryColumn &column : HistoryColumns)
        detail.controls.push_back(textBox(QStringLiteral("Text%1").arg(number++),
                                          QString::fromLatin1(column.column),
                                          {column.left, 15, column.width, ValueHeight}));
    return detail;
}

} // namespace

ReportDefinition historyReport()
{
    ReportDefinition report =
        blankReport(QStringLiteral("Riwayat"), QStringLiteral("Riwayat Perubahan Data"),
                    QStringLiteral("Riwayat Perubahan Data"), HistoryWidth);
    report.dataMember = QStringLiteral("Riwayat");
    report.margins = QMargins(HistoryMargin, Margin, HistoryMargin, Margin);
    report.totals.clear();
    Section pageFooter = section("Section3", SectionRole::PageFooter, 60);
    pageFooter.controls = {line(QStringLiteral("Line2"), {0, 30, HistoryWidth, 4})};
    report.sections.push_back(section("Section4", SectionRole::ReportHeader, 0));
    report.sections.push_back(historyPageHeader(report));
    report.sections.push_back(historyDetail());
    report.sections.push_back(std::move(pageFooter));
    report.sections.push_back(section("Section5", SectionRole::ReportFooter, 0));
    return report;
}

ReportDefinition dataReport1()
{
    ReportDefinition report =
        blankReport(QStringLiteral("DataReport1"), QStringLiteral("Laporan Seluruh Data"),
                    QStringLiteral("Laporan Pembayaran Uang Cuti"), 8880);
    const int italic = report.addFont(font(QStringLiteral("Arial"), 8.25, false, true));
    Section reportHeader = section("Section4", SectionRole::ReportHeader, 675);
    reportHeader.controls = {
        label(QStringLiteral("Label1"), QStringLiteral("LAPORAN PEMBAYARAN UANG CUTI"),
              {135, 270, 3045, 300}, italic),
        line(QStringLiteral("Line1"), {105, 600, 8655, 1}),
    };
    Section pageFooter = section("Section3", SectionRole::PageFooter, 60);
    pageFooter.controls = {line(QStringLiteral("Line2"), {105, 30, 8580, 4})};

    report.sections.push_back(std::move(reportHeader));
    report.sections.push_back(paymentPageHeader(report));
    report.sections.push_back(paymentDetail());
    report.sections.push_back(std::move(pageFooter));
    report.sections.push_back(section("Section5", SectionRole::ReportFooter, 480));
    return report;
}

ReportDefinition departmentReport(const store::DepartmentReport &department)
{
    ReportDefinition report = dataReport1();
    applyDepartment(report, department);
    return report;
}

ReportDefinition dataReport2()
{
    ReportDefinition report =
        blankReport(QStringLiteral("DataReport2"), QStringLiteral("Slip Pembayaran Uang Cuti"),
                    QStringLiteral("Slip Pembayaran Upah Cuti"), 7962);
    report.sections.push_back(section("Section4", SectionRole::ReportHeader, 420));
    report.sections.push_back(section("Section2", SectionRole::PageHeader, 0));
    report.sections.push_back(slipDetail(report));
    report.sections.push_back(section("Section3", SectionRole::PageFooter, 360));
    report.sections.push_back(section("Section5", SectionRole::ReportFooter, 360));
    return report;
}

QStringList reportNames()
{
    QStringList names{QStringLiteral("DataReport1")};
    for (const store::DepartmentReport &row : store::DepartmentReports)
        names << QString::fromLatin1(row.report);
    names << QStringLiteral("DataReport2") << QStringLiteral("Riwayat");
    return names;
}

std::optional<ReportDefinition> reportNamed(const QString &name)
{
    if (name == QLatin1String("DataReport1"))
        return dataReport1();
    if (name == QLatin1String("DataReport2"))
        return dataReport2();
    if (name == QLatin1String("Riwayat"))
        return historyReport();
    for (const store::DepartmentReport &row : store::DepartmentReports) {
        if (name == QLatin1String(row.report))
            return departmentReport(row);
    }
    return std::nullopt;
}

} // namespace reports
