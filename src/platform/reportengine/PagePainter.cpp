#include "platform/reportengine/PagePainter.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <cmath>
#include <functional>

namespace platform::reportengine {

namespace {

constexpr int TwipsPerInch = 1440;
constexpr int TwipsPerPoint = 20;
// A line or a rectangle's border is one pixel of a 96 dpi screen.
constexpr int PenTwips = 15;

QFont twipsFont(const QFont &font)
{
    QFont sized = font;
    sized.setPixelSize(std::max(1, int(std::lround(font.pointSizeF() * TwipsPerPoint))));
    // Unhinted outlines keep text the same width on every device and zoom.
    sized.setHintingPreference(QFont::PreferNoHinting);
    return sized;
}

void drawText(QPainter &painter, const Item &item)
{
    int flags = int(item.alignment) | Qt::AlignTop;
    if (item.wordWrap)
        flags |= Qt::TextWordWrap;
    // drawText clips to the rectangle whenever the text would leave it.
    painter.drawText(item.rect, flags, item.text);
}

void paintPages(QPainter &painter, const Document &document, int first, int last,
                const std::function<void()> &newPage)
{
    const PagePainter pagePainter(document);
    for (int page = first; page <= last; ++page) {
        if (page > first)
            newPage();
        pagePainter.paint(painter, page);
    }
}

} // namespace

PagePainter::PagePainter(const Document &document) : m_document(document)
{
    m_fonts.reserve(document.fonts.size());
    for (const QFont &font : document.fonts)
        m_fonts.push_back(twipsFont(font));
}

void PagePainter::paint(QPainter &painter, int page) const
{
    if (page >= 0 && page < m_document.pageCount())
        paint(painter, m_document.page(page));
}

void PagePainter::paint(QPainter &painter, const Page &page) const
{
    painter.save();
    QPen pen(Qt::black, PenTwips);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    int currentFont = -1;
    for (const Item &item : page.items) {
        switch (item.kind) {
        case ItemKind::Rectangle:
            if (item.fill.isValid())
                painter.fillRect(item.rect, item.fill);
            painter.drawRect(item.rect);
            break;
        case ItemKind::Line:
            painter.drawLine(item.rect.left(), item.rect.top(),
                             item.rect.left() + item.rect.width(), item.rect.top());
            break;
        case ItemKind::Text:
            if (item.font != currentFont && item.font >= 0 && item.font < int(m_fonts.size())) {
                painter.setFont(m_fonts[size_t(item.font)]);
                currentFont = item.font;
            }
            drawText(painter, item);
            break;
        }
    }
    painter.restore();
}

bool writePdf(const Document &document, const QString &path, QString *error)
{
    QPdfWriter writer(path);
    writer.setPageSize(document.pageSize);
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    // At 1440 dots to the inch the writer's units are twips.
    writer.setResolution(TwipsPerInch);
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("Kelvara"));
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("File PDF tidak dapat ditulis: %1")
                         .arg(QFileInfo(path).absoluteFilePath());
        return false;
    }
    paintPages(painter, document, 0, document.pageCount() - 1, [&] { writer.newPage(); });
    return painter.end();
}

bool printPages(const Document &document, QPrinter &printer, int first, int last)
{
    printer.setFullPage(true);
    printer.setPageSize(document.pageSize);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(document.title);
    const int from = first > 0 ? first - 1 : 0;
    const int to = last > 0 ? std::min(last, document.pageCount()) - 1 : document.pageCount() - 1;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double scale = double(printer.resolution()) / TwipsPerInch;
    painter.scale(scale, scale);
    paintPages(painter, document, from, to, [&] { printer.newPage(); });
    return painter.end();
}

} // namespace platform::reportengine
