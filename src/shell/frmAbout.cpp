#include "shell/frmAbout.h"

#include "platform/Appearance.h"
#include "platform/Messages.h"
#include "platform/Registry.h"
#include "platform/Twips.h"
#include "shell/ShellSupport.h"
#include "shell/SystemInfo.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

using platform::twips::px;
namespace twips = platform::twips;

const QColor White(255, 255, 255);
const QColor Grey(128, 128, 128);
const QColor NameColour(128, 128, 255);

const QString Credit =
    QStringLiteral("Dirancang dan dibuat oleh Tim Pengembang Kelvara untuk PT. MARDEKO INDONESIA.");
const QString Disclaimer = QStringLiteral(
    "Peringatan: program ini dilindungi hak cipta. Dilarang memakai, mengubah atau menjual "
    "program ini tanpa izin tertulis dari pembuatnya.");

QFont textFont(bool bold)
{
    QFont font = platform::font(QStringLiteral("MS Sans Serif"), 8.25, bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QLabel *whiteLabel(QWidget *parent, const QString &name, const QString &text, const QRect &place)
{
    QLabel *label = shell::makeLabel(parent, name, text, place, platform::colors::teal(), White);
    label->setFont(textFont(true));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// The program's icon, or a standard one when the build carries none.
QPixmap iconImage()
{
    const QPixmap logo = shell::logoPixmap();
    if (!logo.isNull())
        return logo;
    return QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(px(720), px(600));
}

// A line given by its end points, drawn as a filled strip of its colour and width.
void makeLine(QWidget *parent, const QString &name, QPoint from, QPoint to, int width,
              const QColor &colour)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::NoFrame);
    line->setGeometry(px(from.x()), px(from.y()), px(to.x()) - px(from.x()) + 1, width);
    platform::fillBackground(line, colour);
}

} // namespace

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    // A caption-only title bar, no task-bar button.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // A tool window would not keep the program running once the main window is gone.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(platform::twips::size(5730, 3555));
    platform::fillBackground(this, platform::colors::teal());

    buildTexts();
    buildSeparator();
    buildButtons();

    setWindowTitle(QStringLiteral("About Program"));
    // The build's version, from the project's version number.
    m_version->setText(
        versionText(KELVARA_VERSION_MAJOR, KELVARA_VERSION_MINOR, KELVARA_VERSION_PATCH));
    platform::centreOnScreen(this);
}

void frmAbout::buildTexts()
{
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(twips::rect(120, 120, 720, 600));
    image->setScaledContents(true);
    image->setPixmap(iconImage());

    QLabel *name =
        shell::makeLabel(this, QStringLiteral("Label2"), QStringLiteral("KELVARA"),
                         twips::rect(960, 120, 2055, 615), platform::colors::teal(), NameColour);
    QFont nameFont = platform::font(QStringLiteral("Times New Roman"), 26.25, true);
    nameFont.setStyleHint(QFont::Serif);
    name->setFont(nameFont);
    // The name is never cut off: where the serif face at hand is wider, the label grows to the
    // right, into free space.
    name->resize(qMax(name->width(), name->sizeHint().width()), name->height());

    m_version = whiteLabel(this, QStringLiteral("lblVersion"), QStringLiteral("Version"),
                           twips::rect(2040, 840, 3405, 225));
    whiteLabel(this, QStringLiteral("Label1"), Credit, twips::rect(120, 1800, 5085, 450));
    whiteLabel(this, QStringLiteral("lblDisclaimer"), Disclaimer,
               twips::rect(240, 2640, 3870, 825));
}

void frmAbout::buildSeparator()
{
    // Grey over white: an etched rule.
    makeLine(this, QStringLiteral("Line1(1)"), {90, 2445}, {5654, 2445}, 1, Grey);
    makeLine(this, QStringLiteral("Line1(0)"), {105, 2460}, {5654, 2460}, 2, White);
}

void frmAbout::buildButtons()
{
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setFont(textFont(false));
    m_ok->setGeometry(twips::rect(4245, 2625, 1260, 345));
    // OK is the default button; no other button takes Enter over when it has the focus.
    m_ok->setAutoDefault(false);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QWidget::close);

    auto *sysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setFont(textFont(false));
    sysInfo->setGeometry(twips::rect(4260, 3075, 1245, 345));
    sysInfo->setAutoDefault(false);
    connect(sysInfo, &QPushButton::clicked, this, &frmAbout::showSystemInfo);

    setTabOrder(m_ok, sysInfo);
    m_ok->setFocus();
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    // OK is both the default and the cancel button.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        m_ok->click();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void frmAbout::showSystemInfo()
{
    if (!shell::startSystemInfo(platform::Registry::instance(), shell::Programs::instance()))
        platform::Messages::instance().message(
            QStringLiteral("System Information Is Unavailable At This Time"), QString(),
            platform::Icon::None, platform::Buttons::Ok);
}
