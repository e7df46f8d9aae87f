#pragma once

#include <QByteArray>
#include <QPainterPath>
#include <QRectF>

#include <utility>
#include <vector>

class QRawFont;

// Font files of the TrueType kind for embedding in a PDF file: a subset of a face's own file,
// or a font made of outlines. Sizes are in the face's font units.
namespace platform::reportengine::truetype {

// True when the face has TrueType outlines of its own that a subset can be made of.
bool hasOutlines(const QRawFont &font);
// The face's file with the outlines of only the given glyphs, and of the parts of those that
// are built of others; box gets the face's bounds. Empty when the face has no outlines of its
// own.
QByteArray subset(const QRawFont &font, const std::vector<quint32> &glyphs, QRectF *box);

// A glyph of a font made of outlines: its path running down, as painter paths do, and its
// advance.
struct Outline
{
    QPainterPath path;
    int advance = 0;
};
// A font of the glyphs from 1 on, after the glyph of a missing character; box gets the bounds
// of them all.
QByteArray fontOf(const std::vector<Outline> &glyphs, qreal unitsPerEm,
                  const std::pair<qreal, qreal> &ascentAndDescent, QRectF *box);

// What Qt makes of a face that lacks the weight or slant a text asks for: outlines drawn
// bolder, by a 36th of an em (as bold as Qt's own PDF files drew them), or slanted by 12
// degrees, as FreeType slants them.
struct Synthesis
{
    bool bold = false;
    bool oblique = false;
};
// What Qt makes of the face for the font the texts ask for.
Synthesis synthesisOf(const QRawFont &font);
// The outline of a glyph, in font units, as Qt draws it with the synthesis.
QPainterPath synthesized(const QPainterPath &outline, const Synthesis &synthesis, qreal unitsPerEm);

// How far the face reaches above and below the baseline, as its horizontal header says:
// readers place the words they find by it.
std::pair<qreal, qreal> ascentAndDescent(const QRawFont &font);
// The face's PostScript name, in the characters a PDF name may hold.
QByteArray postScriptName(const QRawFont &font);

} // namespace platform::reportengine::truetype
