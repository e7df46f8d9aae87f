#pragma once

#include <QByteArray>
#include <QGlyphRun>
#include <QRawFont>
#include <QRectF>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace platform::reportengine {

class PdfObjects;

// What a glyph is written as: the font it is in (the n of /Fn), its two-byte code there, and
// how far it moves the pen, in ems of the font's size.
struct PdfGlyph
{
    int font = -1;
    quint16 code = 0;
    double advance = 0;
};

// The fonts of a PDF file. Each face is embedded once as a TrueType CID font with only the
// glyphs the pages use: a face of TrueType outlines as a subset of its own file, any other
// face (PostScript outlines, a bold or slant made by Qt) as a font made of the outlines the
// texts are drawn with. Every font maps its glyphs back to the characters they show, so that
// the words of the file can be read, searched and copied.
class PdfFonts
{
public:
    explicit PdfFonts(PdfObjects &objects);
    ~PdfFonts();

    // The codes of a run's glyphs, in the run's order; font is the run's and chars the text
    // the run comes from.
    const std::vector<PdfGlyph> &glyphs(const QGlyphRun &run, const QRawFont &font,
                                        const QString &chars);
    // The entries of a resource dictionary's /Font: every font's name and object.
    QByteArray resources() const;
    // Writes every font with the glyphs used.
    void write();

private:
    struct Face;
    Face &faceOf(const QRawFont &font);
    void use(Face &face, quint32 glyph, const QString &chars);
    int newFont();
    void writeFont(const Face &face);
    void writeToUnicode(int id, const Face &face,
                        const std::vector<std::pair<quint16, quint32>> &codes);

    PdfObjects &m_objects;
    std::vector<std::unique_ptr<Face>> m_faces;
    // The sizes the texts come in, each with its face: most runs find theirs first.
    std::vector<std::pair<QRawFont, Face *>> m_sized;
    std::vector<int> m_fontIds; // the object of each font, by its number
    std::vector<PdfGlyph> m_codes;
};

} // namespace platform::reportengine
