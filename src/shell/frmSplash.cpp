#include "shell/frmSplash.h"

#include "platform/Appearance.h"
#include "platform/Timer.h"
#include "platform/Twips.h"
#include "shell/ShellSupport.h"
#include "shell/Startup.h"
#include "store/Values.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

namespace twips = platform::twips;

const QColor DarkGrey(64, 64, 64);
const QColor Yellow(255, 255, 0);
constexpr int ProgressIntervalMs = 2;
constexpr int ColourIntervalMs = 30;
constexpr int FullProgress = 100;
// The waiting line is right-aligned; the trailing blanks push the words away from the edge.
const QString WarningText = QStringLiteral("Loading.... , Please Wait !") + QString(56, u' ');

// A uniform number in [0, 1) from the generator's top 24 bits: the same on every platform.
double uniform(std::mt19937 &generator)
{
    return double(generator() >> 8) / double(1 << 24);
}

} // namespace

frmSplash::frmSplash(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    // Qt takes a splash screen out of the windows that end the program when the last of them
    // closes; this one is often the last window, and must end it.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(platform::twips::size(7380, 4245));
    platform::fillBackground(this, platform::colors::teal());
    // Keys reach the window itself whichever control is under the pointer.
    setFocusPolicy(Qt::StrongFocus);
    buildFrame();
    buildTimers();
    platform::centreOnScreen(this);
}

void frmSplash::buildFrame()
{
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setGeometry(twips::rect(120, 60, 7080, 4155));
    platform::fillBackground(m_frame, platform::colors::teal());
    m_frame->installEventFilter(this);

    const QColor teal = platform::colors::teal();
    const QColor light = shell::highlightText();
    const QString arial = QStringLiteral("Arial");

    QLabel *company = shell::makeLabel(m_frame, QStringLiteral("lblCompany"),
                                       QStringLiteral("PT. MARDEKO INDONESIA"),
                                       twips::rect(120, 240, 6855, 255), DarkGrey, light);
    company->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    company->setFont(platform::font(arial, 8.25));

    QLabel *product =
        shell::makeLabel(m_frame, QStringLiteral("lblCompanyProduct"), QStringLiteral("KELVARA"),
                         twips::rect(240, 600, 6675, 435), teal, light);
    product->setFont(platform::font(arial, 18, true));
    product->adjustSize();

    auto *logo = new QLabel(m_frame);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setGeometry(twips::rect(360, 1320, 1815, 1905));
    logo->setPixmap(shell::logoPixmap());
    logo->setScaledContents(true);

    QLabel *platformName =
        shell::makeLabel(m_frame, QStringLiteral("lblPlatform"), QStringLiteral("KELVARA"),
                         twips::rect(2760, 1320, 855, 360), teal, light);
    platformName->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    platformName->setFont(platform::font(arial, 15.75, true));
    platformName->adjustSize();

    QLabel *version =
        shell::makeLabel(m_frame, QStringLiteral("lblVersion"), QStringLiteral("Version 1.0"),
                         twips::rect(2760, 1800, 1275, 285), teal, light);
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    version->setFont(platform::font(arial, 12, true));
    version->adjustSize();

    QLabel *year =
        shell::makeLabel(m_frame, QStringLiteral("lblCopyright"), QStringLiteral("Hak Cipta 2024"),
                         twips::rect(4560, 2880, 2415, 255), teal, light);
    year->setFont(platform::font(arial, 8.25));
    QLabel *maker = shell::makeLabel(m_frame, QStringLiteral("lblCompany2"),
                                     QStringLiteral("Dibuat oleh Tim Kelvara"),
                                     twips::rect(4560, 3120, 2415, 255), teal, light);
    maker->setFont(platform::font(arial, 8.25));

    m_warning = shell::makeLabel(m_frame, QStringLiteral("lblWarning"), WarningText,
                                 twips::rect(150, 3480, 6855, 195), DarkGrey, Yellow);
    m_warning->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_warning->setFont(platform::font(arial, 8.25));

    m_progress = new QProgressBar(m_frame);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setGeometry(twips::rect(120, 3720, 6375, 375));
    m_progress->setRange(0, FullProgress);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    m_percent = shell::makeLabel(m_frame, QStringLiteral("persen"), QStringLiteral("0"),
                                 twips::rect(6600, 3840, 375, 255), teal, Yellow);
    m_percent->setFont(platform::font(arial, 8.25));
    holdWidestPercent();
}

void frmSplash::holdWidestPercent()
{
    // The label's place is narrower than its last text, "100 %": it grows to the right as far
    // as the frame allows, then to the left.
    const int widest = m_percent->fontMetrics().horizontalAdvance(QStringLiteral("100 %")) + 2;
    QRect place = m_percent->geometry();
    if (widest <= place.width())
        return;
    place.setWidth(widest);
    if (place.right() >= m_frame->width())
        place.moveRight(m_frame->width() - 1);
    m_percent->setGeometry(place);
}

void frmSplash::buildTimers()
{
    m_progressTimer = new platform::Timer(this);
    m_progressTimer->setObjectName(QStringLiteral("Timer1"));
    m_progressTimer->setInterval(ProgressIntervalMs);
    connect(m_progressTimer, &platform::Timer::timeout, this, &frmSplash::progressTick);
    m_progressTimer->start();

    m_colourTimer = new platform::Timer(this);
    m_colourTimer->setObjectName(QStringLiteral("Timer2"));
    m_colourTimer->setInterval(ColourIntervalMs);
    connect(m_colourTimer, &platform::Timer::timeout, this, &frmSplash::colourTick);
    m_colourTimer->start();
}

void frmSplash::progressTick()
{
    // The bar and the label each advance from their own current value.
    m_progress->setValue(m_progress->value() + 1);
    const double shown = store::readNumber(m_percent->text());
    m_percent->setText(store::writeNumber(shown + 1) + QStringLiteral(" %"));
    if (m_progress->value() == FullProgress)
        handOver();
}

void frmSplash::handOver()
{
    m_progressTimer->stop();
    // The next window is shown before the splash closes. When there is none, the user has
    // been told why, and closing the splash ends the program.
    shell::showFirstWindow();
    close();
}

void frmSplash::colourTick()
{
    // Round half to even, so indices 0 and 10 come up half as often as the others.
    const int index = int(std::nearbyint(uniform(m_random) * 10.0));
    QPalette palette = m_warning->palette();
    palette.setColor(QPalette::WindowText, paletteColour(index));
    m_warning->setPalette(palette);
}

QColor frmSplash::paletteColour(int index)
{
    static const std::array<QColor, 16> colours = {
        QColor(0, 0, 0),       QColor(0, 0, 128),   QColor(0, 128, 0),   QColor(0, 128, 128),
        QColor(128, 0, 0),     QColor(128, 0, 128), QColor(128, 128, 0), QColor(192, 192, 192),
        QColor(128, 128, 128), QColor(0, 0, 255),   QColor(0, 255, 0),   QColor(0, 255, 255),
        QColor(255, 0, 0),     QColor(255, 0, 255), QColor(255, 255, 0), QColor(255, 255, 255),
    };
    return colours[size_t(std::clamp(index, 0, 15))];
}

void frmSplash::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool special = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
                         key == Qt::Key_Backspace;
    if (special || !event->text().isEmpty()) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    // Clicks on a label, the picture or the bar bubble up to the frame; only a click on the
    // frame's bare surface closes the splash.
    if (watched == m_frame && event->type() == QEvent::MouseButtonRelease) {
        const auto *click = static_cast<QMouseEvent *>(event);
        if (!m_frame->childAt(click->position().toPoint())) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
