#include "reports/Dialog.h"

#include "platform/Appearance.h"
#include "platform/DataCombo.h"
#include "platform/Messages.h"
#include "platform/Twips.h"
#include "platform/WindowRegistry.h"
#include "reports/PaymentReports.h"
#include "store/DataEnvironment.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

namespace twips = platform::twips;

// The system colour of the application workspace behind the option buttons.
const QColor Workspace(171, 171, 171);

void paint(QWidget *widget, const QColor &background, const QColor &text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    platform::fillBackground(widget, background);
}

template <typename W> W *place(W *widget, const char *name, QRect geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *b = place(new QPushButton(caption, parent), name, geometry);
    // Neither button answers Enter or Escape.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

Dialog::Dialog(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Seleksi Laporan"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(platform::twips::size(6030, 1890));
    build();
}

void Dialog::build()
{
    // The grey panel first, so that the options and the list lie on it.
    auto *panel = place(new QLabel(QStringLiteral("LAPORAN BERDASARKAN :"), this), "Label1",
                        twips::rect(120, 240, 4335, 1455));
    panel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    paint(panel, QColor(128, 128, 128), QColor(255, 255, 0));

    m_department = place(new QRadioButton(QStringLiteral("Departemen"), this), "Option1",
                         twips::rect(360, 600, 1215, 195));
    paint(m_department, Workspace, QColor(0, 255, 0));
    m_department->setChecked(true);

    m_departments =
        place(new platform::DataCombo(this), "DataCombo1", twips::rect(1680, 600, 2295, 315));
    store::Status status;
    store::Snapshot *rows =
        store::DataEnvironment::instance().bind(QStringLiteral("Departemen"), this, &status);
    m_departments->setRowSource(rows, QStringLiteral("Keterangan"), QStringLiteral("Keterangan"));
    m_departments->setValue(QString());

    m_allStaff = place(new QRadioButton(QStringLiteral("Laporan Seluruh Jabatan"), this), "Option5",
                       twips::rect(360, 1200, 3015, 195));
    paint(m_allStaff, Workspace, QColor(0, 255, 0));

    QPushButton *okButton =
        button(this, "OKButton", QStringLiteral("OK"), twips::rect(4680, 120, 1215, 375));
    QPushButton *cancelButton =
        button(this, "CancelButton", QStringLiteral("Cancel"), twips::rect(4680, 600, 1215, 375));
    connect(okButton, &QPushButton::clicked, this, &Dialog::ok);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);

    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, m_allStaff);
    setTabOrder(m_allStaff, m_departments);
    setTabOrder(m_departments, m_department);
    okButton->setFocus();

    if (!status.ok())
        platform::Messages::instance().message(status.message(), QString(),
                                               platform::Icon::Information, platform::Buttons::Ok);
}

void Dialog::ok()
{
    if (m_department->isChecked()) {
        // The dialog stays on screen whether a report was shown or not.
        showDepartmentReport(m_departments->value(), this);
        return;
    }
    platform::WindowRegistry::show<DataReport1>();
    hide();
}
