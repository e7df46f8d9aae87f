#include "platform/reportengine/PagePainter.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRawFont>
#include <QSaveFile>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace platform::reportengine {

namespace {

constexpr int TwipsPerInch = 1440;
constexpr int TwipsPerPoint = 20;
// A bound on the texts a painter keeps laid out: the preview keeps its painter while it is
// open.
constexpr qsizetype MaxLaidTexts = 8192;
// The smallest size a value is drawn at to fit its box, before it is cut: 5 points still
// reads on paper and holds an 18-digit employee number in the reports' NIP column.
constexpr int MinShrunkPixels = 5 * TwipsPerPoint;

QFont twipsFont(const QFont &font)
{
    QFont sized = font;
    sized.setPixelSize(std::max(1, int(std::lround(font.pointSizeF() * TwipsPerPoint))));
    // Unhinted outlines keep text the same width on every device and zoom.
    sized.setHintingPreference(QFont::PreferNoHinting);
    return sized;
}

int textFlags(const Item &item)
{
    int flags = int(item.alignment) | Qt::AlignTop;
    if (item.wordWrap)
        flags |= Qt::TextWordWrap;
    return flags;
}

// The text as QPainter::drawText reads it: a line feed breaks the line, a carriage return
// and a tab are blanks.
QString layoutText(const QString &text)
{
    QString laid = text; // shared with the item's until a character changes
    for (qsizetype i = 0; i < laid.size(); ++i) {
        const QChar c = laid.at(i);
        if (c == u'\n')
            laid[i] = QChar::LineSeparator;
        else if (c == u'\r' || c == u'\t')
            laid[i] = u' ';
    }
    return laid;
}

// False when the progress stopped the work.
bool paintPages(QPainter &painter, const Document &document, int first, int last,
                const std::function<void()> &newPage, const Progress &progress)
{
    const PagePainter pagePainter(document);
    for (int page = first; page <= last; ++page) {
        if (page > first)
            newPage();
        pagePainter.paint(painter, page);
        if (progress && !progress(page - first + 1, last - first + 1))
            return false;
    }
    return true;
}

// The glyphs of a page's texts, gathered and drawn with one call per font: a printer's page
// then holds one text object per font instead of one per text.
class GlyphBatch
{
public:
    void add(QPainter &painter, const QGlyphRun &run, const QPoint &origin)
    {
        // A run that carries a decoration or a direction is drawn as it is.
        if (run.flags() != QGlyphRun::GlyphRunFlags()) {
            painter.drawGlyphRun(origin, run);
            return;
        }
        const QRawFont font = run.rawFont();
        auto glyphs = std::find_if(m_fonts.begin(), m_fonts.end(),
                                   [&](const Glyphs &g) { return g.font == font; });
        if (glyphs == m_fonts.end())
            glyphs = m_fonts.insert(m_fonts.end(), Glyphs{font, {}, {}});
        glyphs->indexes.append(run.glyphIndexes());
        for (const QPointF &position : run.positions())
            glyphs->positions.append(position + origin);
    }

    void draw(QPainter &painter)
    {
        for (const Glyphs &glyphs : m_fonts) {
            QGlyphRun run;
            run.setRawFont(glyphs.font);
            run.setGlyphIndexes(glyphs.indexes);
            run.setPositions(glyphs.positions);
            painter.drawGlyphRun(QPointF(0, 0), run);
        }
        m_fonts.clear();
    }

private:
    struct Glyphs
    {
        QRawFont font;
        QList<quint32> indexes;
        QList<QPointF> positions;
    };
    std::vector<Glyphs> m_fonts;
};

// Draws on a painter whose coordinates are twips.
class PainterCanvas
{
public:
    explicit PainterCanvas(QPainter &painter) : m_painter(painter)
    {
        m_painter.save();
        m_painter.setPen(QPen(Qt::black, PenTwips));
        m_painter.setBrush(Qt::NoBrush);
    }
    ~PainterCanvas()
    {
        m_batch.draw(m_painter);
        m_painter.restore();
    }

    void fill(const QRect &rect, const QColor &colour)
    {
        // The texts drawn so far go under the fill, as their order says.
        m_batch.draw(m_painter);
        m_painter.fillRect(rect, colour);
    }
    void frame(const QRect &rect) { m_painter.drawRect(rect); }
    void line(const QPoint &from, const QPoint &to) { m_painter.drawLine(from, to); }
    void text(const LaidText &laid, const QRect &box)
    {
        if (!laid.clipped) {
            for (const QGlyphRun &run : laid.runs)
                m_batch.add(m_painter, run, box.topLeft());
            return;
        }
        m_painter.save();
        m_painter.setClipRect(box, Qt::IntersectClip);
        for (const QGlyphRun &run : laid.runs)
            m_painter.drawGlyphRun(box.topLeft(), run);
        m_painter.restore();
    }

private:
    QPainter &m_painter;
    GlyphBatch m_batch;
};

} // namespace

PagePainter::PagePainter(const Document &document) : m_document(document)
{
    std::vector<QFont> fonts = document.fonts;
    if (fonts.empty())
        fonts.emplace_back();
    for (const QFont &font : fonts) {
        m_fonts.push_back(twipsFont(font));
        m_leadings.push_back(QFontMetricsF(m_fonts.back()).leading());
    }
}

PagePainter::~PagePainter() = default;

// Lays a text out in a box of the given size as QPainter::drawText(rect, flags, text) does:
// lines a whole number of units apart, as many as reach the bottom of the box, each aligned
// on its own; clipped when the text leaves the box. Each glyph stands on a whole twip, a grid
// finer than any printer's, which keeps a PDF's numbers short. Drop moves the text down.
LaidText PagePainter::layText(const QFont &font, qreal leading, qreal drop, const QSizeF &box,
                              int flags, const QString &text)
{
    const bool wrap = flags & Qt::TextWordWrap;
    LaidText laid;
    laid.text = layoutText(text);
    QTextLayout layout(laid.text, font);
    QTextOption option(Qt::AlignLeft);
    if (!wrap)
        option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    // Shaped once, for the line breaks and for the glyphs.
    layout.setCacheEnabled(true);
    qreal height = -leading;
    qreal width = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(wrap ? std::max<qreal>(0, box.width()) : qreal(0x01000000));
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        width = std::max(width, line.naturalTextWidth());
        if (height >= box.height())
            break;
    }
    layout.endLayout();

    const auto indent = [&](qreal advance) {
        if (flags & Qt::AlignRight)
            return box.width() - advance;
        if (flags & Qt::AlignHCenter)
            return (box.width() - advance) / 2;
        return qreal(0);
    };
    laid.width = width;
    laid.clipped =
        !QRectF(QPointF(0, 0), box).contains(QRectF(indent(width), 0, width, height + drop));
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const qreal x = indent(line.horizontalAdvance());
        for (QGlyphRun run : line.glyphRuns()) {
            QList<QPointF> positions = run.positions();
            for (QPointF &position : positions)
                position = QPointF(std::round(position.x() + x), std::round(position.y() + drop));
            run.setPositions(positions);
            laid.runs.push_back(std::move(run));
        }
    }
    return laid;
}

void PagePainter::paint(QPainter &painter, int page) const
{
    if (page >= 0 && page < m_document.pageCount())
        paint(painter, m_document.page(page));
}

void PagePainter::paint(QPainter &painter, const Page &page) const
{
    PainterCanvas canvas(painter);
    for (const Item &item : page.items) {
        switch (item.kind) {
        case ItemKind::Rectangle:
            if (item.fill.isValid())
                canvas.fill(item.rect, item.fill);
            canvas.frame(item.rect);
            break;
        case ItemKind::Line:
            canvas.line(item.rect.topLeft(),
                        QPoint(item.rect.left() + item.rect.width(), item.rect.top()));
            break;
        case ItemKind::Text:
            if (!item.text.isEmpty()) {
                const bool known = item.font >= 0 && item.font < int(m_fonts.size());
                canvas.text(laidOut(item, known ? item.font : DefaultFont), item.rect);
            }
            break;
        }
    }
}

// A value wider than its box is laid out again a size smaller until it fits or reaches the
// floor, on the baseline the box's own font gives it, so that it stays in line with its row.
const LaidText &PagePainter::laidOut(const Item &item, int font) const
{
    const int fullSize = m_fonts[size_t(font)].pixelSize();
    const LaidText &full = laidAt(item, font, fullSize);
    const qreal room = item.rect.width();
    if (!item.shrinkToFit || full.width <= room || fullSize <= MinShrunkPixels)
        return full;
    // Widths of unhinted outlines grow with the size, so the first guess mostly fits.
    int size = std::max(MinShrunkPixels, int(fullSize * room / full.width));
    for (;;) {
        const LaidText &shrunk = laidAt(item, font, size);
        if (shrunk.width <= room || size <= MinShrunkPixels)
            return shrunk;
        --size;
    }
}

const LaidText &PagePainter::laidAt(const Item &item, int font, int pixelSize) const
{
    TextKey key{item.text, item.rect.size(), textFlags(item), font, pixelSize};
    auto found = m_laid.find(key);
    if (found != m_laid.end())
        return found.value();
    if (m_laid.size() >= MaxLaidTexts)
        m_laid.clear();
    // A shrunk value keeps the baseline of the font it is drawn smaller than.
    const QFont &own = m_fonts[size_t(font)];
    QFont sized = own;
    sized.setPixelSize(pixelSize);
    const bool shrunk = pixelSize != own.pixelSize();
    const qreal leading = shrunk ? QFontMetricsF(sized).leading() : m_leadings[size_t(font)];
    const qreal drop = shrunk ? QFontMetricsF(own).ascent() - QFontMetricsF(sized).ascent() : 0;
    return m_laid.insert(key, layText(sized, leading, drop, item.rect.size(), key.flags, item.text))
        .value();
}

bool writePdf(const Document &document, const QString &path, QString *error,
              const Progress &progress)
{
    const auto failed = [&] {
        if (error)
            *error = QStringLiteral("File PDF tidak dapat ditulis: %1")
                         .arg(QFileInfo(path).absoluteFilePath());
        return false;
    };
    // The pages go to a file beside the target that replaces it only once it is whole; it
    // holds personnel and pay data, so only its owner may read it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
        return failed();
    QPdfWriter writer(&file);
    writer.setPageSize(document.pageSize);
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    // At 1440 dots to the inch the writer's units are twips.
    writer.setResolution(TwipsPerInch);
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("Kelvara"));
    QPainter painter;
    if (!painter.begin(&writer))
        return failed();
    const bool whole = paintPages(
        painter, document, 0, document.pageCount() - 1, [&] { writer.newPage(); }, progress);
    if (!painter.end())
        return failed();
    if (!whole) {
        file.cancelWriting();
        return false;
    }
    return file.commit() || failed();
}

bool printPages(const Document &document, QPrinter &printer, int first, int last,
                const Progress &progress)
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
    const bool whole = paintPages(
        painter, document, from, to, [&] { printer.newPage(); }, progress);
    if (!whole)
        printer.abort();
    return painter.end() && whole;
}

} // namespace platform::reportengine
