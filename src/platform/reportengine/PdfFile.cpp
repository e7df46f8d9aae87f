#include "platform/reportengine/PdfFile.h"

#include <QDateTime>

#include <cmath>

namespace platform::reportengine {

namespace {

// How far a glyph may stand from where the last one's advance puts it before the file moves
// it: half a twip, the rounding of the layout's places.
constexpr double Tolerance = 0.5;

} // namespace

PdfFile::PdfFile(QIODevice &device, const QString &title, const QPageSize &paper)
    : m_objects(device), m_fonts(m_objects), m_title(title), m_paper(paper.size(QPageSize::Point)),
      m_catalog(m_objects.reserve()), m_pages(m_objects.reserve()), m_resources(m_objects.reserve())
{
    m_page.reserve(1 << 16);
}

PdfFile::~PdfFile() = default;

void PdfFile::rect(const QRect &rect, const char *op)
{
    endText();
    for (const int v : {rect.left(), rect.top(), rect.width(), rect.height()}) {
        appendInt(m_page, v);
        m_page.append(' ');
    }
    m_page.append(op);
}

void PdfFile::fill(const QRect &rect, const QColor &colour)
{
    if (colour.alpha() == 0)
        return;
    endText();
    const QColor rgb = colour.toRgb();
    for (const float c : {rgb.redF(), rgb.greenF(), rgb.blueF()}) {
        appendReal(m_page, c, 3);
        m_page.append(' ');
    }
    m_page.append("rg ");
    // The texts after it are black again.
    this->rect(rect, "re f 0 g\n");
}

void PdfFile::frame(const QRect &rect)
{
    this->rect(rect, "re S\n");
}

void PdfFile::line(const QPoint &from, const QPoint &to)
{
    endText();
    for (const int v : {from.x(), from.y()}) {
        appendInt(m_page, v);
        m_page.append(' ');
    }
    m_page.append("m ");
    for (const int v : {to.x(), to.y()}) {
        appendInt(m_page, v);
        m_page.append(' ');
    }
    m_page.append("l S\n");
}

void PdfFile::text(const LaidText &laid, const QRect &box)
{
    if (laid.clipped) {
        endText();
        m_page.append("q ");
        rect(box, "re W n\n");
    }
    for (const QGlyphRun &run : laid.runs) {
        const QRawFont font = run.rawFont();
        const std::vector<PdfGlyph> &glyphs = m_fonts.glyphs(run, font, laid.text);
        const QList<QPointF> positions = run.positions();
        const qreal size = font.pixelSize();
        for (size_t i = 0; i < glyphs.size(); ++i) {
            const QPointF at = positions[qsizetype(i)];
            glyph(glyphs[i], box.left() + qRound(at.x()), box.top() + qRound(at.y()), size);
        }
    }
    if (laid.clipped) {
        endText();
        m_page.append("Q\n");
        m_font = -1; // the font is the clip's state, gone with it
    }
}

// Glyphs on one baseline in one font go in one array, moved only where the layout placed a
// glyph away from the advance of the one before; the pen follows what the file says, so that
// the rounding of the moves never adds up.
void PdfFile::glyph(const PdfGlyph &glyph, int x, int y, qreal size)
{
    if (glyph.font < 0)
        return;
    if (!m_inText) {
        m_page.append("BT\n");
        m_inText = true;
        m_lineSet = false;
    }
    if (glyph.font != m_font || size != m_size) {
        closeArray();
        m_page.append("/F");
        appendInt(m_page, glyph.font);
        m_page.append(' ');
        appendReal(m_page, size, 2);
        m_page.append(" Tf\n");
        m_font = glyph.font;
        m_size = size;
    }
    if (m_inArray && y == m_lineY) {
        const long long adjust =
            std::abs(x - m_pen) > Tolerance ? qRound64((m_pen - x) * 1000 / size) : 0;
        if (adjust != 0) {
            if (m_inHex)
                m_page.append('>');
            m_inHex = false;
            appendInt(m_page, adjust);
            m_pen -= adjust * size / 1000;
        }
    } else {
        closeArray();
        // The page's space runs down, so text is drawn upright through a flipped matrix.
        if (m_lineSet) {
            appendInt(m_page, x - m_lineX);
            m_page.append(' ');
            appendInt(m_page, m_lineY - y);
            m_page.append(" Td\n");
        } else {
            m_page.append("1 0 0 -1 ");
            appendInt(m_page, x);
            m_page.append(' ');
            appendInt(m_page, y);
            m_page.append(" Tm\n");
            m_lineSet = true;
        }
        m_lineX = x;
        m_lineY = y;
        m_pen = x;
        m_page.append('[');
        m_inArray = true;
    }
    if (!m_inHex) {
        m_page.append('<');
        m_inHex = true;
    }
    appendHex(m_page, glyph.code, 2);
    m_pen += glyph.advance * size;
}

void PdfFile::closeArray()
{
    if (!m_inArray)
        return;
    m_page.append(m_inHex ? ">]TJ\n" : "]TJ\n");
    m_inArray = false;
    m_inHex = false;
}

void PdfFile::endText()
{
    closeArray();
    if (m_inText)
        m_page.append("ET\n");
    m_inText = false;
}

bool PdfFile::endPage()
{
    endText();
    const int content = m_objects.reserve();
    // Twips from the top-left corner, with the pen of the painter.
    QByteArray start("0.05 0 0 -0.05 0 ");
    appendReal(start, m_paper.height(), 4);
    start.append(" cm 15 w 2 J 2 j\n");
    m_objects.writeStream(content, QByteArray(), start + m_page);
    m_page.truncate(0);
    m_font = -1;
    const int page = m_objects.reserve();
    QByteArray object("<< /Type /Page /Parent ");
    appendInt(object, m_pages);
    object.append(" 0 R /MediaBox [0 0 ");
    appendReal(object, m_paper.width(), 4);
    object.append(' ');
    appendReal(object, m_paper.height(), 4);
    object.append("] /Resources ");
    appendInt(object, m_resources);
    object.append(" 0 R /Contents ");
    appendInt(object, content);
    object.append(" 0 R >>");
    m_objects.write(page, object);
    m_pageIds.push_back(page);
    return m_objects.ok();
}

bool PdfFile::finish()
{
    m_fonts.write();
    m_objects.write(m_resources,
                    "<< /ProcSet [/PDF /Text] /Font << " + m_fonts.resources() + ">> >>");
    QByteArray kids;
    for (const int page : m_pageIds) {
        appendInt(kids, page);
        kids.append(" 0 R ");
    }
    QByteArray pages("<< /Type /Pages /Kids [" + kids + "] /Count ");
    appendInt(pages, qint64(m_pageIds.size()));
    m_objects.write(m_pages, pages + " >>");
    QByteArray catalog("<< /Type /Catalog /Pages ");
    appendInt(catalog, m_pages);
    m_objects.write(m_catalog, catalog + " 0 R >>");
    const int info = m_objects.reserve();
    const QString now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
    m_objects.write(info, "<< /Title " + pdfString(m_title) + " /Creator " +
                              pdfString(QStringLiteral("Kelvara")) + " /Producer " +
                              pdfString(QStringLiteral("Kelvara")) +
                              " /CreationDate (D:" + now.toLatin1() + "Z) >>");
    return m_objects.finish(m_catalog, info);
}

} // namespace platform::reportengine
