#include "leave/FCuti.h"

#include "platform/DataCombo.h"
#include "platform/Twips.h"
#include "store/Snapshot.h"
#include "store/Values.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

// Pegawai's Nama: the look-up reads the employee's name by its place in the table.
constexpr int EmployeeNameColumn = 1;

constexpr int BoxHeight = 285;
constexpr int ComboHeight = 315;
constexpr int LabelHeight = 255;
// Room left between a caption and the field it names.
constexpr int LabelGap = 60;

forms::FormSettings settings()
{
    forms::FormSettings s;
    s.name = QStringLiteral("FCuti");
    s.caption = QStringLiteral("Proses - Cuti");
    s.title = QStringLiteral("FORM DATA CUTI");
    s.table = QStringLiteral("Cuti");
    s.clientTwips = QSize(8295, 5940);
    s.placedFields = true;
    s.searchPrompt = QStringLiteral("Masukkan NIP :");
    s.searchColumn = QStringLiteral("Nip");
    s.emptyAnswer = QStringLiteral("Anda belum memasukan NIP ");
    s.browseSource = QStringLiteral("QupahSisaCuti");
    s.criteria = {{QStringLiteral("NIP"), QStringLiteral("Nip")},
                  {QStringLiteral("Nama"), QStringLiteral("Nama")}};
    s.afterCancel = forms::FormSettings::AfterCancel::First;
    return s;
}

QLineEdit *locked(QLineEdit *edit)
{
    edit->setReadOnly(true);
    return edit;
}

// A locked box is narrow: it shows the start of its text, "17.9" rather than ".7.9".
void showFromStart(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    edit->setCursorPosition(0);
}

} // namespace

FCuti::FCuti(QWidget *parent) : RecordForm(settings(), parent), m_names(QStringLiteral("Pegawai"))
{
    // DataCombo1 lists the Nip alone: the other columns of every employee would only cost
    // the time and the memory of reading them.
    m_employees = new store::Snapshot(QStringLiteral("Pegawai"), {QStringLiteral("Nip")}, this);
    m_employees->setObjectName(QStringLiteral("Adopegawai"));
    m_cards = new store::Snapshot(QStringLiteral("Periode"), this);
    m_cards->setObjectName(QStringLiteral("Adodc2"));
    // The lists are taken when the window loads; their columns must be known before the
    // combo boxes pick their list column.
    openLookups();
    buildFields();
    setModeControls({m_nip, m_entitlement, m_remaining, m_taken});
    setFocusTarget(m_nip);
    // Every text DataCombo1 gets, typed or shown by a move, looks up the name.
    connect(m_nip, &platform::DataCombo::valueChanged, this, &FCuti::showEmployeeName);
    load();
}

void FCuti::openLookups()
{
    for (store::Snapshot *rows : {m_employees, m_cards}) {
        const store::Status status = rows->refresh();
        if (!status.ok())
            reportFailure(status);
    }
    const store::Status status = m_names.open();
    if (!status.ok())
        reportFailure(status);
}

void FCuti::buildFields()
{
    // Puts a field at its place with its caption to the left, ending just before the field. A
    // caption that this font makes wider than its room grows to the left rather than be cut.
    const auto put = [this](QWidget *field, int labelLeft, int labelTop, int left, int top,
                            int width, int height) {
        QLabel *label = labelOf(field);
        const int right = left - LabelGap;
        const int needed = label->sizeHint().width() * platform::twips::TwipsPerPixel;
        const int from = std::max(0, std::min(labelLeft, right - needed));
        place(label, from, labelTop, right - from, LabelHeight);
        place(field, left, top, width, height);
    };
    const auto days = [this](const QString &name, int left, int top) {
        auto *label = new QLabel(QStringLiteral("Hari"), inputPage());
        label->setObjectName(name);
        place(label, left, top, 480, LabelHeight);
    };

    m_nip = addCodeField(QStringLiteral("Nip:"), QStringLiteral("lblFieldLabel(0)"),
                         QStringLiteral("DataCombo1"), QStringLiteral("Nip"), m_employees,
                         QStringLiteral("Nip"), 1695);
    put(m_nip, 960, 765, 1680, 720, 1695, ComboHeight);
    m_name = addDisplayField(QStringLiteral("Nama:"), QStringLiteral("lblFieldLabel(5)"),
                             QStringLiteral("Text2"), 1980);
    put(m_name, 1080, 1125, 1680, 1080, 1980, BoxHeight);
    m_card = addCodeField(QStringLiteral("Kartu Cuti:"), QStringLiteral("Label4"),
                          QStringLiteral("DataCombo2"), QStringLiteral("KartuCuti"), m_cards,
                          QStringLiteral("Kartucuti"), 1935);
    put(m_card, 840, 1440, 1680, 1440, 1935, ComboHeight);
    m_entitlement =
        locked(addTextField(QStringLiteral("Hak Cuti:"), QStringLiteral("lblFieldLabel(3)"),
                            QStringLiteral("txtHakcuti"), QStringLiteral("Hakcuti"), 405));
    put(m_entitlement, 915, 1905, 1680, 1860, 405, BoxHeight);

    auto *line = new QFrame(inputPage());
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    place(line, 360, 3120, 7800 - 360, 15);

    m_taken = addTextField(QStringLiteral("Mengambil Cuti :"), QStringLiteral("lblFieldLabel(7)"),
                           QStringLiteral("txtcuti"), QStringLiteral("Penggantian Cuti"), 765);
    put(m_taken, 480, 3240, 1680, 3240, 765, BoxHeight);
    days(QStringLiteral("lblFieldLabel(8)"), 2520, 3240);
    m_remaining =
        locked(addTextField(QStringLiteral("Sisa Cuti:"), QStringLiteral("lblFieldLabel(4)"),
                            QStringLiteral("txtSisaCuti"), QStringLiteral("SisaCuti"), 405));
    put(m_remaining, 6195, 3240, 6960, 3195, 405, BoxHeight);
    days(QStringLiteral("lblFieldLabel(6)"), 7440, 3240);
}

void FCuti::afterAddNew()
{
    const QString entitlement = store::writeNumber(store::LeaveEntitlementDays);
    showFromStart(m_entitlement, entitlement);
    showFromStart(m_remaining, entitlement);
    m_taken->setText(QStringLiteral("0"));
}

std::optional<platform::Refusal> FCuti::checkRecord(platform::DataControl::Action action,
                                                    platform::PendingRecord &record)
{
    // Days typed since the record was read pass the same rules as a save; a record changed
    // otherwise by a move or the close (its leave card, say) is stored as it is.
    if (action != platform::DataControl::Update && !data1()->isChanged(m_taken))
        return std::nullopt;
    const QString field = QStringLiteral("SisaCuti");
    const std::optional<QString> remaining =
        store::remainingAfter(store::readNumber(record.text(field)),
                              store::readNumber(record.text(QStringLiteral("Penggantian Cuti"))),
                              store::readNumber(record.text(QStringLiteral("Hakcuti"))));
    if (!remaining)
        return platform::Refusal{QStringLiteral("Tidak Boleh melebihi jatah Cuti!"),
                                 QStringLiteral("Kesalahan")};
    record.set(field, *remaining);
    return std::nullopt;
}

void FCuti::showEmployeeName(const QString &nip)
{
    QString name;
    if (!nip.isEmpty()) {
        const store::Status status = m_names.findFirst(QStringLiteral("Nip"), nip);
        if (status.ok() && !m_names.noMatch())
            name = m_names.value(EmployeeNameColumn).toString();
    }
    m_name->setText(name);
}
