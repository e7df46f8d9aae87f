#include "platform/reportengine/PageView.h"

#include "platform/Twips.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform::reportengine {

namespace {

constexpr int Gap = 16;
constexpr int MinZoom = 10;
constexpr int MaxZoom = 400;

} // namespace

PageView::PageView(QWidget *parent) : QAbstractScrollArea(parent)
{
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(40);
    horizontalScrollBar()->setSingleStep(40);
}

PageView::~PageView() = default;

void PageView::setDocument(const Document *document)
{
    m_document = document;
    m_painter = document ? std::make_unique<PagePainter>(*document) : nullptr;
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void PageView::setZoom(int percent)
{
    percent = std::clamp(percent, MinZoom, MaxZoom);
    if (percent == m_zoom)
        return;
    // Keep the page at the top of the view in place.
    const int page = currentPage();
    m_zoom = percent;
    updateScrollBars();
    scrollToPage(page);
    viewport()->update();
}

double PageView::pixelsPerTwip() const
{
    return m_zoom / (100.0 * twips::TwipsPerPixel);
}

QSize PageView::pagePixels() const
{
    if (!m_document)
        return {};
    const double scale = pixelsPerTwip();
    return QSize(int(std::lround(m_document->pageTwips.width() * scale)),
                 int(std::lround(m_document->pageTwips.height() * scale)));
}

int PageView::pageStride() const
{
    return pagePixels().height() + Gap;
}

qint64 PageView::pageTop(int page) const
{
    return Gap + qint64(page) * pageStride();
}

qint64 PageView::viewTop() const
{
    return qint64(verticalScrollBar()->value()) * m_scrollUnit;
}

int PageView::pageLeft() const
{
    const int spare = viewport()->width() - pagePixels().width() - 2 * Gap;
    return spare > 0 ? Gap + spare / 2 : Gap;
}

void PageView::updateScrollBars()
{
    const int pages = m_document ? m_document->pageCount() : 0;
    const QSize page = pagePixels();
    const qint64 height = Gap + qint64(pages) * pageStride();
    // A scroll bar counts in int: a million slips at a large zoom are taller than that, so
    // each step of the bar then stands for several pixels.
    const qint64 range = std::max<qint64>(0, height - viewport()->height());
    m_scrollUnit = 1 + range / std::numeric_limits<int>::max();
    verticalScrollBar()->setRange(0, int(range / m_scrollUnit));
    verticalScrollBar()->setPageStep(std::max(1, int(viewport()->height() / m_scrollUnit)));
    horizontalScrollBar()->setRange(0, std::max(0, page.width() + 2 * Gap - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

std::pair<int, int> PageView::visiblePages() const
{
    if (!m_document || m_document->pageCount() == 0)
        return {0, -1};
    const qint64 top = viewTop();
    const qint64 bottom = top + viewport()->height();
    const int first = int(std::max<qint64>(0, (top - Gap) / pageStride()));
    const int last =
        int(std::min<qint64>(m_document->pageCount() - 1, (bottom - Gap) / pageStride()));
    return {first, std::max(first - 1, last)};
}

int PageView::currentPage() const
{
    if (!m_document || m_document->pageCount() == 0)
        return 0;
    // The page that holds the middle of the view's top half.
    const qint64 y = viewTop() + viewport()->height() / 4;
    return int(std::clamp<qint64>((y - Gap / 2) / pageStride(), 0, m_document->pageCount() - 1));
}

void PageView::scrollToPage(int page)
{
    const qint64 top = pageTop(std::max(0, page)) - Gap / 2;
    verticalScrollBar()->setValue(
        int(std::min<qint64>(top / m_scrollUnit, std::numeric_limits<int>::max())));
}

void PageView::paintEvent(QPaintEvent *event)
{
    if (!m_document || !m_painter)
        return;
    QPainter painter(viewport());
    const QSize size = pagePixels();
    const int left = pageLeft() - horizontalScrollBar()->value();
    const double scale = pixelsPerTwip();
    const auto [first, last] = visiblePages();
    for (int page = first; page <= last; ++page) {
        const QRect paper(left, int(pageTop(page) - viewTop()), size.width(), size.height());
        if (!paper.adjusted(0, 0, 3, 3).intersects(event->rect()))
            continue;
        painter.fillRect(paper.translated(3, 3), QColor(0, 0, 0, 90));
        painter.fillRect(paper, Qt::white);
        painter.save();
        painter.setClipRect(paper);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(paper.topLeft());
        painter.scale(scale, scale);
        m_painter->paint(painter, page);
        painter.restore();
    }
}

void PageView::keyPressEvent(QKeyEvent *event)
{
    if (!m_document) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int last = m_document->pageCount() - 1;
    switch (event->key()) {
    case Qt::Key_Home:
        scrollToPage(0);
        break;
    case Qt::Key_End:
        scrollToPage(last);
        break;
    case Qt::Key_PageDown:
        scrollToPage(std::min(last, currentPage() + 1));
        break;
    case Qt::Key_PageUp: {
        // Back to the top of the page in view, or to the page before when already there.
        const int page = currentPage();
        scrollToPage(viewTop() > pageTop(page) - Gap / 2 ? page : std::max(0, page - 1));
        break;
    }
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PageView::scrollContentsBy(int dx, int dy)
{
    Q_UNUSED(dx);
    Q_UNUSED(dy);
    viewport()->update();
    Q_EMIT currentPageChanged(currentPage());
}

} // namespace platform::reportengine
