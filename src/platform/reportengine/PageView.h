#pragma once

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/Report.h"

#include <QAbstractScrollArea>

#include <memory>
#include <utility>

namespace platform::reportengine {

// The pages of a report stacked one under another on a grey desk. Only the pages that show
// in the viewport are built and painted, so thousands of pages scroll as fast as one.
// Home and End (with or without Ctrl) go to the first and last page, PageUp and PageDown
// from page to page.
class PageView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit PageView(QWidget *parent = nullptr);
    ~PageView() override;

    void setDocument(const Document *document);
    int zoom() const { return m_zoom; }
    void setZoom(int percent);

    int currentPage() const;
    void scrollToPage(int page);
    // The first and last page that show in the viewport; (0, -1) when none does.
    std::pair<int, int> visiblePages() const;

Q_SIGNALS:
    void currentPageChanged(int page);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    double pixelsPerTwip() const;
    QSize pagePixels() const;
    int pageStride() const;
    qint64 pageTop(int page) const;
    // Pixels from the top of the first page's desk to the top of the view.
    qint64 viewTop() const;
    int pageLeft() const;
    void updateScrollBars();

    const Document *m_document = nullptr;
    std::unique_ptr<PagePainter> m_painter;
    int m_zoom = 100;
    int m_scrollUnit = 1; // pixels per step of the vertical scroll bar
};

} // namespace platform::reportengine
