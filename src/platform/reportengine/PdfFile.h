#pragma once

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/PdfFonts.h"
#include "platform/reportengine/PdfObjects.h"

#include <QByteArray>
#include <QPageSize>
#include <QSizeF>

#include <vector>

class QIODevice;

namespace platform::reportengine {

// A PDF file written page by page as a report's pages are drawn on it: each page goes to the
// device once it is drawn and only its number is kept. Coordinates are twips from the page's
// top-left corner; texts are written as the glyphs their layout placed, in fonts embedded with
// only the glyphs used.
class PdfFile final : public PageCanvas
{
public:
    PdfFile(QIODevice &device, const QString &title, const QPageSize &paper);
    ~PdfFile() override;

    void fill(const QRect &rect, const QColor &colour) override;
    void frame(const QRect &rect) override;
    void line(const QPoint &from, const QPoint &to) override;
    void text(const LaidText &laid, const QRect &box) override;
    // Writes the page drawn since the last one; false when the device refused it.
    bool endPage();
    // Writes the fonts, the page tree and the document's information; false when the device
    // refused any of it.
    bool finish();

private:
    void glyph(const PdfGlyph &glyph, int x, int y, qreal size);
    void closeArray();
    void endText();
    void rect(const QRect &rect, const char *op);

    PdfObjects m_objects;
    PdfFonts m_fonts;
    QString m_title;
    QSizeF m_paper; // points
    int m_catalog, m_pages, m_resources;
    std::vector<int> m_pageIds;
    QByteArray m_page; // the content of the page being drawn

    // Where the page's text stands: in a text object, in an array of glyphs, at which font and
    // size, the line's start and where the next glyph goes without a move.
    bool m_inText = false;
    bool m_inArray = false;
    bool m_inHex = false;
    bool m_lineSet = false;
    int m_font = -1;
    qreal m_size = 0;
    int m_lineX = 0;
    int m_lineY = 0;
    double m_pen = 0;
};

} // namespace platform::reportengine
