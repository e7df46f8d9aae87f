#include "platform/reportengine/PdfFonts.h"

#include "platform/reportengine/PdfObjects.h"
#include "platform/reportengine/TrueTypeFont.h"

#include <QHash>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace platform::reportengine {

namespace {

// A glyph no character gives alone (a ligature) shows at most this many characters.
constexpr size_t MaxLigature = 8;

// The name of a font with some of a face's glyphs: six capitals of its own, a plus, the face.
QByteArray subsetName(int font, const QByteArray &face)
{
    QByteArray tag(6, 'A');
    for (int i = 5, n = font; i >= 0 && n > 0; --i, n /= 26)
        tag[i] = char('A' + n % 26);
    return tag + '+' + face;
}

double hundredths(double value)
{
    return std::round(value * 100) / 100;
}

} // namespace

struct PdfFonts::Face
{
    QRawFont em;                   // sized to its units per em, so that sizes come in font units
    truetype::Synthesis synthesis; // the bold or slant Qt makes for the face
    qreal unitsPerEm = 1000;
    bool trueType = false; // of TrueType outlines of its own, embedded as a subset of them
    QByteArray name;
    QHash<char32_t, quint32> cmap; // the glyphs of the characters met so far
    std::vector<PdfGlyph> glyphs;  // by glyph index; font -1 while unused
    QHash<quint32, QString> shows; // the characters of each used glyph
    int font = -1;
    // The glyphs used, in the order they came. A face of its own outlines keeps its glyph
    // numbers as codes; another face is made a TrueType font of the glyphs in this order,
    // after the glyph of a missing character.
    std::vector<quint32> used;

    // Each used glyph's code with the glyph, in the order of the codes.
    std::vector<std::pair<quint16, quint32>> codes() const
    {
        std::vector<std::pair<quint16, quint32>> all;
        for (const quint32 glyph : used)
            all.emplace_back(glyphs[glyph].code, glyph);
        std::sort(all.begin(), all.end());
        return all;
    }
};

PdfFonts::PdfFonts(PdfObjects &objects) : m_objects(objects)
{
}

PdfFonts::~PdfFonts() = default;

PdfFonts::Face &PdfFonts::faceOf(const QRawFont &font)
{
    for (const auto &[sized, face] : m_sized) {
        if (sized == font)
            return *face;
    }
    const auto same = [&](const std::unique_ptr<Face> &face) {
        return face->em.familyName() == font.familyName() &&
               face->em.styleName() == font.styleName() && face->em.weight() == font.weight() &&
               face->em.style() == font.style();
    };
    auto found = std::find_if(m_faces.begin(), m_faces.end(), same);
    if (found == m_faces.end()) {
        auto face = std::make_unique<Face>();
        face->unitsPerEm = font.unitsPerEm() > 0 ? font.unitsPerEm() : 1000;
        face->em = font;
        face->em.setPixelSize(face->unitsPerEm);
        face->synthesis = truetype::synthesisOf(font);
        // A face drawn bolder or slanted is embedded as drawn.
        face->trueType =
            truetype::hasOutlines(face->em) && !face->synthesis.bold && !face->synthesis.oblique;
        face->name = truetype::postScriptName(font);
        found = m_faces.insert(m_faces.end(), std::move(face));
    }
    m_sized.emplace_back(font, found->get());
    return **found;
}

namespace {

struct Shown
{
    quint32 glyph = 0; // the face's glyph for the character alone; 0 when it has none
    QString text;
    bool blank = false;
};

// The characters of a text with the glyph each would get alone.
std::vector<Shown> charactersOf(const QString &text, const QRawFont &font,
                                QHash<char32_t, quint32> &cmap)
{
    std::vector<Shown> chars;
    for (qsizetype at = 0; at < text.size();) {
        const bool pair =
            text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
        const char32_t code =
            pair ? QChar::surrogateToUcs4(text[at], text[at + 1]) : text[at].unicode();
        const QString one = text.mid(at, pair ? 2 : 1);
        auto found = cmap.find(code);
        if (found == cmap.end())
            found = cmap.insert(code, font.glyphIndexesForString(one).value(0, 0));
        chars.push_back({found.value(), one, QChar::isSpace(code)});
        at += pair ? 2 : 1;
    }
    return chars;
}

// What each glyph of a run shows. A glyph that is a character's own shows that character, the
// first one at or after the last character read; a glyph that none is alone (a ligature, a
// contextual form) shows the characters up to the one the next glyph shows, within the word.
std::vector<QString> glyphTexts(const QList<quint32> &glyphs, const std::vector<Shown> &chars)
{
    std::vector<QString> shown(size_t(glyphs.size()));
    size_t next = 0;
    for (qsizetype i = 0; i < glyphs.size() && next < chars.size(); ++i) {
        if (glyphs[i] == 0)
            continue;
        size_t k = next;
        while (k < chars.size() && chars[k].glyph != glyphs[i])
            ++k;
        if (k < chars.size()) {
            shown[size_t(i)] = chars[k].text;
            next = k + 1;
            continue;
        }
        const quint32 following = i + 1 < glyphs.size() ? glyphs[i + 1] : 0;
        size_t end = next + 1;
        while (end < chars.size() && end < next + MaxLigature && !chars[end].blank &&
               (following == 0 || chars[end].glyph != following))
            ++end;
        for (k = next; k < end; ++k)
            shown[size_t(i)] += chars[k].text;
        next = end;
    }
    return shown;
}

} // namespace

const std::vector<PdfGlyph> &PdfFonts::glyphs(const QGlyphRun &run, const QRawFont &font,
                                              const QString &chars)
{
    Face &face = faceOf(font);
    const QList<quint32> indexes = run.glyphIndexes();
    m_codes.resize(size_t(indexes.size()));
    std::vector<QString> shown; // read only when the run brings a glyph not used before
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        const quint32 glyph = indexes[i] <= 0xffff ? indexes[i] : 0;
        if (glyph >= face.glyphs.size())
            face.glyphs.resize(glyph + 1);
        if (face.glyphs[glyph].font < 0) {
            if (shown.empty())
                shown = glyphTexts(indexes, charactersOf(chars, face.em, face.cmap));
            use(face, glyph, shown[size_t(i)]);
        }
        m_codes[size_t(i)] = face.glyphs[glyph];
    }
    return m_codes;
}

void PdfFonts::use(Face &face, quint32 glyph, const QString &chars)
{
    QPointF advance;
    face.em.advancesForGlyphIndexes(&glyph, &advance, 1, QRawFont::UseDesignMetrics);
    if (face.font < 0)
        face.font = newFont();
    PdfGlyph &pdf = face.glyphs[glyph];
    pdf.font = face.font;
    // Codes of two bytes: a glyph beyond them shows as a missing one.
    if (face.trueType)
        pdf.code = quint16(glyph);
    else
        pdf.code = face.used.size() < 0xfffe ? quint16(face.used.size() + 1) : 0;
    // Widths are written in thousandths of an em.
    pdf.advance = hundredths(advance.x() * 1000 / face.unitsPerEm) / 1000;
    face.used.push_back(glyph);
    if (!chars.isEmpty())
        face.shows.insert(glyph, chars);
}

int PdfFonts::newFont()
{
    m_fontIds.push_back(m_objects.reserve());
    return int(m_fontIds.size()) - 1;
}

QByteArray PdfFonts::resources() const
{
    QByteArray out;
    for (size_t font = 0; font < m_fontIds.size(); ++font) {
        out.append("/F");
        appendInt(out, qint64(font));
        out.append(' ');
        appendInt(out, m_fontIds[font]);
        out.append(" 0 R ");
    }
    return out;
}

void PdfFonts::write()
{
    for (const auto &face : m_faces) {
        if (face->font >= 0)
            writeFont(*face);
    }
}

namespace {

QByteArray reference(int id)
{
    QByteArray out;
    appendInt(out, id);
    out.append(" 0 R");
    return out;
}

// A box as its corners, left bottom right top, in a space that runs up.
void appendCorners(QByteArray &out, const QRectF &box)
{
    for (const qreal v : {box.left(), box.top(), box.right(), box.bottom()}) {
        appendInt(out, std::lround(v));
        out.append(' ');
    }
}

void appendBox(QByteArray &out, const QRectF &box)
{
    out.append('[');
    appendCorners(out, box);
    out.append(']');
}

// The face's metrics in thousandths of an em, which place the words a reader finds.
QByteArray descriptor(const QRawFont &em, qreal unitsPerEm, const QByteArray &name,
                      const QRectF &box, const QByteArray &file)
{
    const qreal scale = 1000 / unitsPerEm;
    QByteArray out("<< /Type /FontDescriptor /FontName /" + name + " /Flags 4 /FontBBox ");
    appendBox(out, QRectF(box.topLeft() * scale, box.bottomRight() * scale));
    out.append(" /ItalicAngle 0 /Ascent ");
    const auto [ascent, descent] = truetype::ascentAndDescent(em);
    appendReal(out, ascent * scale, 2);
    out.append(" /Descent ");
    appendReal(out, -descent * scale, 2);
    out.append(" /CapHeight ");
    appendReal(out, ascent * scale, 2);
    out.append(" /StemV 80 " + file + ">>");
    return out;
}

} // namespace

void PdfFonts::writeFont(const Face &face)
{
    const auto codes = face.codes();
    const QByteArray name = subsetName(face.font, face.name);
    const int cid = m_objects.reserve();
    const int described = m_objects.reserve();
    const int file = m_objects.reserve();
    const int unicode = m_objects.reserve();
    m_objects.write(m_fontIds[size_t(face.font)],
                    "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                        " /Encoding /Identity-H /DescendantFonts [" + reference(cid) +
                        "] /ToUnicode " + reference(unicode) + " >>");
    // Widths of runs of codes that follow one another: first [w1 w2 ...]
    QByteArray widths;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i == 0 || codes[i].first != codes[i - 1].first + 1) {
            if (i > 0)
                widths.append("] ");
            appendInt(widths, codes[i].first);
            widths.append(" [");
        } else {
            widths.append(' ');
        }
        appendReal(widths, face.glyphs[codes[i].second].advance * 1000, 2);
    }
    if (!codes.empty())
        widths.append(']');
    m_objects.write(cid, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                             " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) "
                             "/Supplement 0 >> /FontDescriptor " +
                             reference(described) + " /CIDToGIDMap /Identity /DW 0 /W [" + widths +
                             "] >>");
    QRectF box;
    QByteArray program;
    if (face.trueType) {
        program = truetype::subset(face.em, face.used, &box);
    } else {
        // The outlines as the texts are drawn with them, in font units.
        std::vector<truetype::Outline> outlines;
        for (const auto &[code, glyph] : codes) {
            outlines.push_back({truetype::synthesized(face.em.pathForGlyph(glyph), face.synthesis,
                                                      face.unitsPerEm),
                                qRound(face.glyphs[glyph].advance * face.unitsPerEm)});
        }
        program =
            truetype::fontOf(outlines, face.unitsPerEm, truetype::ascentAndDescent(face.em), &box);
    }
    if (!program.isEmpty()) {
        QByteArray length("/Length1 ");
        appendInt(length, program.size());
        m_objects.writeStream(file, length, program);
    }
    m_objects.write(
        described,
        descriptor(face.em, face.unitsPerEm, name, box,
                   program.isEmpty() ? QByteArray() : "/FontFile2 " + reference(file) + ' '));
    writeToUnicode(unicode, face, codes);
}

// The map from the codes of a font to the characters they show.
void PdfFonts::writeToUnicode(int id, const Face &face,
                              const std::vector<std::pair<quint16, quint32>> &codes)
{
    constexpr int bytes = 2;
    QByteArray map("/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                   "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                   "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                   "1 begincodespacerange\n<");
    appendHex(map, 0, bytes);
    map.append("> <");
    appendHex(map, 0xffff, bytes);
    map.append(">\nendcodespacerange\n");
    std::vector<std::pair<unsigned, QString>> entries;
    for (const auto &[code, glyph] : codes) {
        const QString shown = face.shows.value(glyph);
        if (!shown.isEmpty())
            entries.emplace_back(code, shown);
    }
    // A block holds at most a hundred entries.
    for (size_t first = 0; first < entries.size(); first += 100) {
        const size_t end = std::min(entries.size(), first + 100);
        appendInt(map, qint64(end - first));
        map.append(" beginbfchar\n");
        for (size_t i = first; i < end; ++i) {
            map.append('<');
            appendHex(map, entries[i].first, bytes);
            map.append("> <");
            for (const QChar c : entries[i].second)
                appendHex(map, c.unicode(), 2);
            map.append(">\n");
        }
        map.append("endbfchar\n");
    }
    map.append("endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n");
    m_objects.writeStream(id, QByteArray(), map);
}

} // namespace platform::reportengine
