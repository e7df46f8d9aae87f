#include "platform/reportengine/ReportWindow.h"

#include "platform/BusyPointer.h"
#include "platform/Messages.h"
#include "platform/Twips.h"
#include "platform/reportengine/Layout.h"
#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/PageView.h"
#include "platform/reportengine/Spreadsheet.h"
#include "store/Database.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <iterator>

namespace platform::reportengine {

namespace {

const int ZoomSteps[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};

// Room for the window manager's frame and title bar around the client area.
const QSize FrameAllowance(16, 48);

// The client area asked for, no larger than the screen's free area can show with a frame.
QSize fittingSize(const QSize &wanted)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return wanted;
    return wanted.boundedTo(screen->availableGeometry().size() - FrameAllowance);
}

void tell(const QString &text)
{
    Messages::instance().message(text, QString(), Icon::Information, Buttons::Ok);
}

// The progress of writing or printing page after page (or row after row): the busy pointer at
// once, and a progress dialog with a Batal button once the work turns out to take longer than
// the delay. The dialog blocks every window, so that nothing lays the report out anew while it
// is written.
class WorkProgress
{
public:
    WorkProgress(QWidget *window, const QString &action, int delay,
                 const QString &unit = QStringLiteral("halaman"))
        : m_dialog(action, QStringLiteral("Batal"), 0, 1, window), m_action(action), m_unit(unit)
    {
        m_dialog.setObjectName(QStringLiteral("progressDialog"));
        m_dialog.setWindowTitle(window->windowTitle());
        m_dialog.setWindowModality(Qt::ApplicationModal);
        m_dialog.setMinimumDuration(delay);
        m_dialog.setValue(0);
        busy::setBusy();
    }
    ~WorkProgress() { busy::setNormal(); }

    bool step(int done, int total)
    {
        m_dialog.setMaximum(total);
        m_dialog.setValue(done);
        if (m_dialog.isVisible()) {
            // The pointer over the Batal button is an arrow again.
            busy::setNormal();
            m_dialog.setLabelText(
                QStringLiteral("%1 %2 %3 dari %4").arg(m_action, m_unit).arg(done).arg(total));
        }
        return !m_dialog.wasCanceled();
    }
    Progress progress() { return std::bind_front(&WorkProgress::step, this); }
    bool cancelled() const { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
    QString m_action;
    QString m_unit;
};

} // namespace

ReportWindow::ReportWindow(ReportDefinition definition, QWidget *parent)
    : QWidget(parent, Qt::Window), m_definition(std::move(definition))
{
    setWindowTitle(m_definition.caption);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    m_view = new PageView(this);
    m_view->setObjectName(QStringLiteral("pageView"));
    layout->addWidget(m_view, 1);
    connect(m_view, &PageView::currentPageChanged, this, &ReportWindow::updatePageLabel);
    resize(fittingSize(
        twips::size(m_definition.previewSize.width(), m_definition.previewSize.height())));
    layOutRows();
    m_view->setFocus();
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::layOutRows()
{
    busy::setBusy();
    const store::Status status = layOut(m_definition, defaultPageSize(), &m_document);
    busy::setNormal();
    m_view->setDocument(&m_document);
    updatePageLabel();
    if (!status.ok())
        tell(status.message());
}

void ReportWindow::shownAgain()
{
    layOutRows();
}

void ReportWindow::buildToolBar()
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("previewToolBar"));
    layout()->addWidget(bar);

    QAction *printAction = bar->addAction(QStringLiteral("Cetak..."), this, &ReportWindow::print);
    printAction->setObjectName(QStringLiteral("printAction"));
    printAction->setShortcut(QKeySequence::Print);
    QAction *pdfAction =
        bar->addAction(QStringLiteral("Simpan PDF..."), this, &ReportWindow::saveAsPdf);
    pdfAction->setObjectName(QStringLiteral("pdfAction"));
    pdfAction->setShortcut(QKeySequence::Save);
    QAction *xlsxAction =
        bar->addAction(QStringLiteral("Ekspor ke Excel..."), this, &ReportWindow::exportToExcel);
    xlsxAction->setObjectName(QStringLiteral("xlsxAction"));
    // Ctrl+W closes the preview as its close box does.
    auto *closeAction = new QAction(this);
    closeAction->setObjectName(QStringLiteral("closeAction"));
    closeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);
    bar->addSeparator();

    QAction *smaller = bar->addAction(QStringLiteral("Perkecil"), this, [this] {
        auto below = std::find_if(std::rbegin(ZoomSteps), std::rend(ZoomSteps),
                                  [this](int step) { return step < zoom(); });
        if (below != std::rend(ZoomSteps))
            setZoom(*below);
    });
    smaller->setShortcut(QKeySequence::ZoomOut);
    m_zoom = new QComboBox(bar);
    m_zoom->setObjectName(QStringLiteral("zoomBox"));
    for (int step : ZoomSteps)
        m_zoom->addItem(QStringLiteral("%1%").arg(step), step);
    m_zoom->setCurrentIndex(m_zoom->findData(100));
    connect(m_zoom, &QComboBox::activated, this, [this](int index) {
        setZoom(m_zoom->itemData(index).toInt());
        // The page keys go to the pages again.
        m_view->setFocus();
    });
    bar->addWidget(m_zoom);
    QAction *larger = bar->addAction(QStringLiteral("Perbesar"), this, [this] {
        auto above = std::find_if(std::begin(ZoomSteps), std::end(ZoomSteps),
                                  [this](int step) { return step > zoom(); });
        if (above != std::end(ZoomSteps))
            setZoom(*above);
    });
    larger->setShortcut(QKeySequence::ZoomIn);
    bar->addSeparator();

    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_pageLabel);
}

int ReportWindow::zoom() const
{
    return m_view->zoom();
}

void ReportWindow::setZoom(int percent)
{
    m_view->setZoom(percent);
    const int index = m_zoom->findData(m_view->zoom());
    if (index >= 0) {
        m_zoom->setCurrentIndex(index);
    } else {
        m_zoom->setCurrentIndex(-1);
        m_zoom->setPlaceholderText(QStringLiteral("%1%").arg(m_view->zoom()));
    }
    updatePageLabel();
}

int ReportWindow::currentPage() const
{
    return m_view->currentPage();
}

void ReportWindow::showPage(int page)
{
    m_view->scrollToPage(page);
    updatePageLabel();
}

void ReportWindow::updatePageLabel()
{
    m_pageLabel->setText(QStringLiteral("Halaman %1 dari %2")
                             .arg(m_view->currentPage() + 1)
                             .arg(m_document.pageCount()));
}

void ReportWindow::setProgressDelay(int milliseconds)
{
    m_progressDelay = milliseconds;
}

bool ReportWindow::savePdf(const QString &path)
{
    return writeFile(QStringLiteral("Menyimpan PDF..."), QStringLiteral("halaman"),
                     [&](QString *error, const Progress &progress) {
                         return writePdf(m_document, path, error, progress);
                     });
}

bool ReportWindow::saveXlsx(const QString &path)
{
    return writeFile(QStringLiteral("Mengekspor ke Excel..."), QStringLiteral("baris"),
                     [&](QString *error, const Progress &progress) {
                         return writeXlsx(m_definition, m_document, path, error, progress);
                     });
}

bool ReportWindow::writeFile(const QString &action, const QString &unit, const FileWriter &write)
{
    QString error;
    bool written = false;
    bool cancelled = false;
    {
        WorkProgress progress(this, action, m_progressDelay, unit);
        written = write(&error, progress.progress());
        cancelled = progress.cancelled();
    }
    if (!written && !cancelled)
        tell(error);
    return written;
}

QString ReportWindow::chooseTarget(const QString &title, const QString &filter,
                                   const QString &suffix)
{
    const QString suggested = QDir::home().filePath(m_definition.caption + suffix);
    QFileDialog dialog(this, title, suggested, filter);
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The question about an existing file comes below, once the suffix is on the name.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    QString path = dialog.selectedFiles().constFirst();
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    if (store::Database::isDatabaseFile(path)) {
        tell(QStringLiteral("%1 adalah database program; laporan tidak disimpan di atasnya.")
                 .arg(QDir::toNativeSeparators(path)));
        return {};
    }
    if (QFileInfo::exists(path) &&
        Messages::instance().message(
            QStringLiteral("File %1 sudah ada. Apakah file itu akan ditimpa?")
                .arg(QDir::toNativeSeparators(path)),
            title, Icon::Question, Buttons::YesNo) != Answer::Yes)
        return {};
    return path;
}

void ReportWindow::saveAsPdf()
{
    const QString path =
        chooseTarget(QStringLiteral("Simpan sebagai PDF"), QStringLiteral("Dokumen PDF (*.pdf)"),
                     QStringLiteral(".pdf"));
    if (!path.isEmpty())
        savePdf(path);
}

void ReportWindow::exportToExcel()
{
    const QString path =
        chooseTarget(QStringLiteral("Ekspor ke Excel"), QStringLiteral("Buku kerja Excel (*.xlsx)"),
                     QStringLiteral(".xlsx"));
    if (!path.isEmpty())
        saveXlsx(path);
}

void ReportWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(m_document.pageSize);
    printer.setDocName(m_document.title);
    printer.setFromTo(1, m_document.pageCount());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, m_document.pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    int first = 0;
    int last = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        first = printer.fromPage();
        last = printer.toPage();
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        first = last = currentPage() + 1;
    }
    bool printed = false;
    bool cancelled = false;
    {
        WorkProgress progress(this, QStringLiteral("Mencetak..."), m_progressDelay);
        printed = printPages(m_document, printer, first, last, progress.progress());
        cancelled = progress.cancelled();
    }
    if (!printed && !cancelled)
        tell(QStringLiteral("Laporan tidak dapat dicetak pada %1.").arg(printer.printerName()));
}

void ReportWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        reportClosed();
}

} // namespace platform::reportengine
