#include "masters/Fpegawai.h"

#include "platform/DataCombo.h"
#include "platform/DatePicker.h"
#include "store/DataEnvironment.h"
#include "store/Values.h"

#include <QLineEdit>

namespace {

// Positions read by the look-ups: the rank's title and the department's name.
constexpr int RankTitleField = 2;
constexpr int DepartmentNameField = 1;

forms::FormSettings settings()
{
    forms::FormSettings s;
    s.name = QStringLiteral("Fpegawai");
    s.caption = QStringLiteral("File - Pegawai");
    s.title = QStringLiteral("FORM DATA PEGAWAI");
    s.table = QStringLiteral("Pegawai");
    s.clientTwips = QSize(8430, 6570);
    s.searchPrompt = QStringLiteral("Masukkan NIP :");
    s.searchColumn = QStringLiteral("Nip");
    s.emptyAnswer = QStringLiteral("Anda belum memasukan NIP ");
    s.browseSource = QStringLiteral("Pegawai");
    s.criteria = {{QStringLiteral("NIP"), QStringLiteral("Nip")},
                  {QStringLiteral("Nama"), QStringLiteral("Nama")}};
    s.afterCancel = forms::FormSettings::AfterCancel::Last;
    return s;
}

QString label(int i)
{
    return QStringLiteral("lblFieldLabel(%1)").arg(i);
}

// Reads a field of the record that a look-up found; nothing when it found none.
QString foundText(const store::Recordset &records, int field)
{
    return records.noMatch() ? QString() : store::editText(records.value(field));
}

} // namespace

Fpegawai::Fpegawai(QWidget *parent)
    : RecordForm(settings(), parent), m_ranks(QStringLiteral("Peringkat")),
      m_departments(QStringLiteral("Departemen"))
{
    auto &environment = store::DataEnvironment::instance();
    store::Status status;
    store::Snapshot *ranks = environment.bind(QStringLiteral("Peringkat"), this, &status);
    store::Snapshot *departments =
        status.ok() ? environment.bind(QStringLiteral("Departemen"), this, &status) : nullptr;

    auto *nip = addTextField(QStringLiteral("Nip:"), label(0), QStringLiteral("txtNip"),
                             QStringLiteral("Nip"), 1695);
    auto *name = addTextField(QStringLiteral("Nama:"), label(1), QStringLiteral("txtNama"),
                              QStringLiteral("Nama"), 3495);
    auto *address = addTextField(QStringLiteral("Alamat:"), label(2), QStringLiteral("txtAlamat"),
                                 QStringLiteral("Alamat"), 5895);
    auto *place =
        addTextField(QStringLiteral("Tempat Lahir:"), label(3), QStringLiteral("txtTempatLahir"),
                     QStringLiteral("TempatLahir"), 2415);
    auto *birth = addDateField(QStringLiteral("Tanggal Lahir:"), label(4),
                               QStringLiteral("DTPicker1"), QStringLiteral("Tgllahir"), 1695);
    auto *year = addTextField(QStringLiteral("Tahun Masuk:"), label(5),
                              QStringLiteral("txtTahunMasuk"), QStringLiteral("TahunMasuk"), 735);
    auto *rank =
        addCodeField(QStringLiteral("Kode Jabatan:"), label(6), QStringLiteral("DataCombo1"),
                     QStringLiteral("KodePeringkat"), ranks, QStringLiteral("KodePeringkat"), 1695);
    m_title = addTextField(QStringLiteral("Jabatan:"), label(7), QStringLiteral("txtJabatan"),
                           QStringLiteral("Jabatan"), 2415);
    auto *department = addCodeField(QStringLiteral("Kode Departemen:"), label(8),
                                    QStringLiteral("DataCombo2"), QStringLiteral("KodeDepartemen"),
                                    departments, QStringLiteral("Kodedepartemen"), 1695);
    m_departmentName =
        addDisplayField(QStringLiteral("Departemen: "), label(9), QStringLiteral("Text2"), 2895);
    setModeControls({nip, name, address, birth, place, year, m_title, rank, department});
    setFocusTarget(nip);

    connect(rank, &platform::DataCombo::valueChanged, this, &Fpegawai::lookUpRank);
    connect(department, &platform::DataCombo::valueChanged, this, &Fpegawai::lookUpDepartment);
    if (status.ok())
        status = m_ranks.open();
    if (status.ok())
        status = m_departments.open();
    if (!status.ok())
        reportFailure(status);
    load();
}

store::Status Fpegawai::refreshRankLookup()
{
    return m_ranks.refresh();
}

void Fpegawai::lookUpRank(const QString &code)
{
    // A code that matches no rank, or a look-up that cannot run, leaves the title empty.
    const bool searched =
        m_ranks.isOpen() && m_ranks.findFirst(QStringLiteral("KodePeringkat"), code).ok();
    m_title->setText(searched ? foundText(m_ranks, RankTitleField) : QString());
}

void Fpegawai::lookUpDepartment(const QString &code)
{
    const bool searched = m_departments.isOpen() &&
                          m_departments.findFirst(QStringLiteral("Kodedepartemen"), code).ok();
    m_departmentName->setText(searched ? foundText(m_departments, DepartmentNameField) : QString());
}
