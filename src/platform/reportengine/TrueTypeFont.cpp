#include "platform/reportengine/TrueTypeFont.h"

#include <QFont>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRawFont>
#include <QTransform>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace platform::reportengine::truetype {

namespace {

// Outlines drawn from curves stay within half a font unit of them.
constexpr double CurveTolerance = 0.5;

quint16 u16(const QByteArray &table, qsizetype at)
{
    return at >= 0 && at + 2 <= table.size() ? qFromBigEndian<quint16>(table.constData() + at) : 0;
}

quint32 u32(const QByteArray &table, qsizetype at)
{
    return at >= 0 && at + 4 <= table.size() ? qFromBigEndian<quint32>(table.constData() + at) : 0;
}

void put16(QByteArray &table, qsizetype at, quint16 value)
{
    qToBigEndian(value, table.data() + at);
}

void put32(QByteArray &table, qsizetype at, quint32 value)
{
    qToBigEndian(value, table.data() + at);
}

void padToFour(QByteArray &data)
{
    data.append(QByteArray((4 - data.size() % 4) % 4, '\0'));
}

// The tables of a face of TrueType outlines, and where each glyph's outline starts in glyf.
struct TrueTypeTables
{
    QByteArray head, hhea, maxp, hmtx, loca, glyf, cvt, fpgm, prep;
    std::vector<quint32> offsets; // one more than there are glyphs
};

// Where each glyph's outline starts and the last one ends; none when the tables disagree.
std::vector<quint32> glyphOffsets(const TrueTypeTables &t)
{
    if (t.head.size() < 54 || t.maxp.size() < 6)
        return {};
    const qsizetype count = u16(t.maxp, 4);
    const bool longOffsets = u16(t.head, 50) != 0;
    if (t.loca.size() < (count + 1) * (longOffsets ? 4 : 2))
        return {};
    std::vector<quint32> offsets(size_t(count) + 1);
    for (qsizetype i = 0; i <= count; ++i) {
        offsets[size_t(i)] = longOffsets ? u32(t.loca, 4 * i) : quint32(u16(t.loca, 2 * i)) * 2;
        if (offsets[size_t(i)] > quint32(t.glyf.size()) ||
            (i > 0 && offsets[size_t(i)] < offsets[size_t(i) - 1]))
            return {};
    }
    return offsets;
}

std::optional<TrueTypeTables> tablesOf(const QRawFont &font)
{
    TrueTypeTables t{font.fontTable("head"), font.fontTable("hhea"),
                     font.fontTable("maxp"), font.fontTable("hmtx"),
                     font.fontTable("loca"), font.fontTable("glyf"),
                     font.fontTable("cvt "), font.fontTable("fpgm"),
                     font.fontTable("prep"), {}};
    if (t.hhea.isEmpty() || t.hmtx.isEmpty() || t.glyf.isEmpty())
        return std::nullopt;
    t.offsets = glyphOffsets(t);
    if (t.offsets.size() < 2)
        return std::nullopt;
    return t;
}

// Marks the glyphs that the kept composite glyphs are built of.
void keepComponents(const TrueTypeTables &t, std::vector<bool> &keep)
{
    std::vector<quint32> todo;
    for (quint32 g = 0; g < keep.size(); ++g) {
        if (keep[g])
            todo.push_back(g);
    }
    while (!todo.empty()) {
        const quint32 glyph = todo.back();
        todo.pop_back();
        qsizetype at = t.offsets[glyph];
        const qsizetype end = t.offsets[glyph + 1];
        if (end - at < 10 || qint16(u16(t.glyf, at)) >= 0)
            continue;
        for (at += 10; at + 4 <= end;) {
            const quint16 flags = u16(t.glyf, at);
            const quint16 part = u16(t.glyf, at + 2);
            if (part < keep.size() && !keep[part]) {
                keep[part] = true;
                todo.push_back(part);
            }
            at += 4 + ((flags & 0x1) ? 4 : 2); // the arguments: words or bytes
            at += (flags & 0x8)    ? 2
                  : (flags & 0x40) ? 4
                                   :     // a scale, x and y scales,
                      (flags & 0x80) ? 8 // or a two by two matrix
                                     : 0;
            if (!(flags & 0x20)) // no more components
                break;
        }
    }
}

quint32 checksum(const QByteArray &data)
{
    quint32 sum = 0;
    for (qsizetype at = 0; at < data.size(); at += 4) {
        quint32 word = 0;
        for (qsizetype i = at; i < at + 4; ++i)
            word = (word << 8) | (i < data.size() ? uchar(data[i]) : 0);
        sum += word;
    }
    return sum;
}

// A font file of the tables, in the order of their tags, each starting on four bytes.
QByteArray fontFile(std::vector<std::pair<QByteArray, QByteArray>> tables)
{
    std::sort(tables.begin(), tables.end());
    const auto count = quint16(tables.size());
    quint16 power = 1;
    quint16 log = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log;
    }
    QByteArray file(12 + 16 * count, '\0');
    put32(file, 0, 0x00010000);
    put16(file, 4, count);
    put16(file, 6, quint16(power * 16));
    put16(file, 8, log);
    put16(file, 10, quint16(count * 16 - power * 16));
    qsizetype head = -1;
    for (size_t i = 0; i < tables.size(); ++i) {
        const auto &[tag, data] = tables[i];
        const qsizetype record = 12 + 16 * qsizetype(i);
        std::memcpy(file.data() + record, tag.constData(), 4);
        put32(file, record + 4, checksum(data));
        put32(file, record + 8, quint32(file.size()));
        put32(file, record + 12, quint32(data.size()));
        if (tag == "head")
            head = file.size();
        file.append(data);
        padToFour(file);
    }
    if (head >= 0)
        put32(file, head + 8, 0xB1B0AFBA - checksum(file));
    return file;
}

// The face with every glyph but the used ones, and the parts of those, left without outline.
QByteArray subsetOf(const TrueTypeTables &t, const std::vector<quint32> &used)
{
    const size_t count = t.offsets.size() - 1;
    std::vector<bool> keep(count, false);
    keep[0] = true; // the glyph of a missing character
    for (const quint32 glyph : used) {
        if (glyph < count)
            keep[glyph] = true;
    }
    keepComponents(t, keep);
    QByteArray glyf;
    QByteArray loca(4 * qsizetype(count + 1), '\0');
    for (size_t g = 0; g < count; ++g) {
        if (keep[g]) {
            glyf.append(t.glyf.constData() + t.offsets[g], t.offsets[g + 1] - t.offsets[g]);
            padToFour(glyf);
        }
        put32(loca, 4 * qsizetype(g + 1), quint32(glyf.size()));
    }
    QByteArray head = t.head;
    put32(head, 8, 0);  // the file's checksum, set once the file is whole
    put16(head, 50, 1); // long offsets in loca
    std::vector<std::pair<QByteArray, QByteArray>> tables{{"head", head},   {"hhea", t.hhea},
                                                          {"maxp", t.maxp}, {"hmtx", t.hmtx},
                                                          {"loca", loca},   {"glyf", glyf}};
    for (const auto &[tag, data] :
         {std::pair{"cvt ", &t.cvt}, std::pair{"fpgm", &t.fpgm}, std::pair{"prep", &t.prep}}) {
        if (!data->isEmpty())
            tables.emplace_back(tag, *data);
    }
    return fontFile(std::move(tables));
}

void add16(QByteArray &out, int value)
{
    out.append(char((value >> 8) & 0xff));
    out.append(char(value & 0xff));
}

void add32(QByteArray &out, quint32 value)
{
    add16(out, int(value >> 16));
    add16(out, int(value & 0xffff));
}

// A glyph's outline as TrueType draws it: contours of points on the curve and quadratic
// control points between them, in font units running up.
struct Contours
{
    std::vector<QPoint> points;
    std::vector<bool> onCurve;
    std::vector<int> ends; // the last point of each contour

    void add(const QPointF &point, bool on)
    {
        const QPoint p(qBound(-16000, qRound(point.x()), 16000),
                       qBound(-16000, qRound(point.y()), 16000));
        const bool start = points.size() == size_t(ends.empty() ? 0 : ends.back() + 1);
        if (!start && on && onCurve.back() && points.back() == p)
            return;
        points.push_back(p);
        onCurve.push_back(on);
    }
    // A cubic curve as quadratic ones: one when the cubic is close enough to it, otherwise
    // the two halves of the cubic each on their own.
    void addCubic(const QPointF &p0, const QPointF &c1, const QPointF &c2, const QPointF &p3,
                  int depth = 0)
    {
        const QPointF d = p3 - 3 * c2 + 3 * c1 - p0;
        if (depth >= 8 || std::hypot(d.x(), d.y()) * std::sqrt(3.0) / 36 <= CurveTolerance) {
            add((3 * (c1 + c2) - p0 - p3) / 4, false);
            add(p3, true);
            return;
        }
        const QPointF a = (p0 + c1) / 2, b = (c1 + c2) / 2, c = (c2 + p3) / 2;
        const QPointF e = (a + b) / 2, f = (b + c) / 2, m = (e + f) / 2;
        addCubic(p0, a, e, m, depth + 1);
        addCubic(m, f, c, p3, depth + 1);
    }
    // Closes the contour begun last; one of fewer than three points draws nothing.
    void close()
    {
        const size_t start = ends.empty() ? 0 : size_t(ends.back() + 1);
        if (points.size() > start + 1 && onCurve.back() && points.back() == points[start]) {
            points.pop_back();
            onCurve.pop_back();
        }
        if (points.size() < start + 3) {
            points.resize(start);
            onCurve.resize(start);
            return;
        }
        ends.push_back(int(points.size()) - 1);
    }
};

// The contours of a path in font units running down, as painter paths do.
Contours contoursOf(const QPainterPath &path)
{
    Contours contours;
    const auto up = [](const QPointF &p) {
        return QPointF(p.x(), -p.y());
    };
    QPointF last;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (i > 0)
                contours.close();
            contours.add(up(e), true);
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            contours.addCubic(up(last), up(e), up(path.elementAt(i + 1)),
                              up(path.elementAt(i + 2)));
            i += 2;
        } else {
            contours.add(up(e), true);
        }
        last = path.elementAt(i);
    }
    if (path.elementCount() > 0)
        contours.close();
    return contours;
}

// A simple glyph of the glyf table: contours, no instructions, every coordinate a word.
QByteArray glyphRecord(const Contours &c, QRect *bounds)
{
    if (c.ends.empty())
        return {};
    QRect box(c.points.front(), c.points.front());
    for (const QPoint &p : c.points)
        box |= QRect(p, p);
    *bounds = box;
    QByteArray out;
    add16(out, int(c.ends.size()));
    for (const int v : {box.left(), box.top(), box.right(), box.bottom()})
        add16(out, v);
    for (const int end : c.ends)
        add16(out, end);
    add16(out, 0);
    for (const bool on : c.onCurve)
        out.append(char(on ? 1 : 0));
    for (const bool x : {true, false}) {
        int previous = 0;
        for (const QPoint &p : c.points) {
            const int v = x ? p.x() : p.y();
            add16(out, v - previous);
            previous = v;
        }
    }
    return out;
}

} // namespace

bool hasOutlines(const QRawFont &font)
{
    return tablesOf(font).has_value();
}

QByteArray subset(const QRawFont &font, const std::vector<quint32> &glyphs, QRectF *box)
{
    const std::optional<TrueTypeTables> tables = tablesOf(font);
    if (!tables)
        return {};
    const auto at = [&](qsizetype offset) {
        return qint16(u16(tables->head, offset));
    };
    *box = QRectF(QPointF(at(36), at(38)), QPointF(at(40), at(42)));
    return subsetOf(*tables, glyphs);
}

QByteArray fontOf(const std::vector<Outline> &glyphs, qreal unitsPerEm,
                  const std::pair<qreal, qreal> &ascentAndDescent, QRectF *box)
{
    QByteArray glyf, loca, hmtx;
    add32(loca, 0);
    add32(hmtx, 0); // the glyph of a missing character: no outline, no advance
    add32(loca, 0);
    QRect bounds;
    int maxPoints = 0, maxContours = 0, maxAdvance = 0;
    for (const Outline &glyph : glyphs) {
        const Contours contours = contoursOf(glyph.path);
        QRect glyphBounds;
        glyf.append(glyphRecord(contours, &glyphBounds));
        padToFour(glyf);
        add32(loca, quint32(glyf.size()));
        const int advance = glyph.advance;
        add16(hmtx, advance);
        add16(hmtx, glyphBounds.left());
        bounds |= glyphBounds;
        maxPoints = std::max(maxPoints, int(contours.points.size()));
        maxContours = std::max(maxContours, int(contours.ends.size()));
        maxAdvance = std::max(maxAdvance, advance);
    }
    *box = QRectF(QPointF(bounds.left(), bounds.top()), QPointF(bounds.right(), bounds.bottom()));
    const int count = int(glyphs.size()) + 1;
    QByteArray head;
    add32(head, 0x00010000);
    add32(head, 0x00010000);
    add32(head, 0);          // the file's checksum, set once the file is whole
    add32(head, 0x5F0F3CF5); // the table's magic number
    add16(head, 0x0003);     // baseline at 0, left side bearing at 0
    add16(head, qRound(unitsPerEm));
    head.append(QByteArray(16, '\0')); // created and modified
    for (const int v : {bounds.left(), bounds.top(), bounds.right(), bounds.bottom()})
        add16(head, v);
    for (const int v : {0, 8, 2, 1, 0}) // style, smallest size, direction, long loca, format
        add16(head, v);
    QByteArray hhea;
    add32(hhea, 0x00010000);
    const auto [ascent, descent] = ascentAndDescent;
    add16(hhea, qRound(ascent));
    add16(hhea, -qRound(descent));
    add16(hhea, 0);
    add16(hhea, maxAdvance);
    for (const int v : {bounds.left(), 0, bounds.right(), 1, 0, 0, 0, 0, 0, 0, 0})
        add16(hhea, v); // bearings, extent, caret, reserved, metric format
    add16(hhea, count);
    QByteArray maxp;
    add32(maxp, 0x00010000);
    add16(maxp, count);
    add16(maxp, maxPoints);
    add16(maxp, maxContours);
    for (const int v : {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0})
        add16(maxp, v); // no composites, instructions or storage
    return fontFile({{"head", head},
                     {"hhea", hhea},
                     {"maxp", maxp},
                     {"hmtx", hmtx},
                     {"loca", loca},
                     {"glyf", glyf}});
}

Synthesis synthesisOf(const QRawFont &font)
{
    // The face's own style, as FreeType reads it: the OS/2 table's selection, the head
    // table's style, or a face without either's name.
    const QByteArray os2 = font.fontTable("OS/2");
    const QByteArray head = font.fontTable("head");
    const QString style = font.styleName();
    bool bold = style.contains(QLatin1String("bold"), Qt::CaseInsensitive);
    bool italic = style.contains(QLatin1String("italic"), Qt::CaseInsensitive) ||
                  style.contains(QLatin1String("oblique"), Qt::CaseInsensitive);
    if (os2.size() >= 64) {
        bold = u16(os2, 62) & 0x20;
        italic = u16(os2, 62) & 0x01;
    } else if (head.size() >= 46) {
        bold = u16(head, 44) & 0x1;
        italic = u16(head, 44) & 0x2;
    }
    return {font.weight() >= QFont::Bold && !bold, font.style() != QFont::StyleNormal && !italic};
}

QPainterPath synthesized(const QPainterPath &outline, const Synthesis &synthesis, qreal unitsPerEm)
{
    QPainterPath path = outline;
    if (synthesis.oblique)
        path = QTransform(1, 0, -0.2126, 1, 0, 0).map(path); // runs down: up is to the right
    if (synthesis.bold && !path.isEmpty()) {
        QPainterPathStroker stroker;
        stroker.setWidth(unitsPerEm / 36);
        stroker.setJoinStyle(Qt::MiterJoin);
        path = path.united(stroker.createStroke(path));
    }
    return path;
}

std::pair<qreal, qreal> ascentAndDescent(const QRawFont &em)
{
    const QByteArray hhea = em.fontTable("hhea");
    const auto ascent = qint16(u16(hhea, 4));
    const auto descent = qint16(u16(hhea, 6));
    if (hhea.size() >= 8 && ascent > 0)
        return {ascent, -descent};
    return {em.ascent(), em.descent()};
}

namespace {

// The face's PostScript name from its name table, or one made of its family and style.
QString faceName(const QRawFont &font)
{
    const QByteArray names = font.fontTable("name");
    const qsizetype strings = u16(names, 4);
    for (qsizetype record = 6; record + 12 <= 6 + 12 * qsizetype(u16(names, 2)); record += 12) {
        const quint16 platform = u16(names, record);
        const QByteArray text =
            names.mid(strings + u16(names, record + 10), u16(names, record + 8));
        if (u16(names, record + 6) != 6 || text.isEmpty())
            continue;
        if (platform == 1)
            return QString::fromLatin1(text);
        if (platform == 3 || platform == 0) {
            QString name;
            for (qsizetype at = 0; at + 1 < text.size(); at += 2)
                name.append(QChar(u16(text, at)));
            return name;
        }
    }
    return font.familyName() + u'-' + font.styleName();
}

} // namespace

QByteArray postScriptName(const QRawFont &font)
{
    QByteArray name;
    for (const QChar c : faceName(font)) {
        if (c.unicode() < 128 && (c.isLetterOrNumber() || c == u'-'))
            name.append(char(c.unicode()));
    }
    return name.isEmpty() ? QByteArray("Font") : name;
}

} // namespace platform::reportengine::truetype
