#pragma once

#include "platform/reportengine/Report.h"

#include <QGlyphRun>
#include <QHash>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class QPrinter;

namespace platform::reportengine {

// A line or a rectangle's border is one pixel of a 96 dpi screen.
constexpr int PenTwips = 15;

// A text laid out in its box: its glyphs, placed on whole twips from the box's top-left
// corner, its width and whether it must be clipped to the box.
struct LaidText
{
    QString text; // the characters the glyphs show
    QList<QGlyphRun> runs;
    qreal width = 0;
    bool clipped = false;
};

// Lays out the pages of a report and tells a canvas what to draw; a painter whose coordinates
// are twips draws them on the screen or a printer. Fonts are sized in twips once, so the same
// drawing serves every device and a PDF file.
class PagePainter
{
public:
    explicit PagePainter(const Document &document);
    ~PagePainter();

    // Builds the page's items and draws them.
    void paint(QPainter &painter, int page) const;
    void paint(QPainter &painter, const Page &page) const;

private:
    struct TextKey
    {
        QString text;
        QSize box;
        int flags = 0;
        int font = 0;
        int pixelSize = 0; // the font's size in twips, smaller than its own for a shrunk value
        bool operator==(const TextKey &) const = default;
        friend size_t qHash(const TextKey &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.text, key.box.width(), key.box.height(), key.flags,
                              key.font, key.pixelSize);
        }
    };

    static LaidText layText(const QFont &font, qreal leading, qreal drop, const QSizeF &box,
                            int flags, const QString &text);
    const LaidText &laidOut(const Item &item, int font) const;
    const LaidText &laidAt(const Item &item, int font, int pixelSize) const;

    const Document &m_document;
    std::vector<QFont> m_fonts;
    std::vector<qreal> m_leadings; // of each font, the room between two lines
    // Texts laid out once and drawn as glyphs wherever they come again: the labels of every
    // band, and the values that repeat from row to row.
    mutable QHash<TextKey, LaidText> m_laid;
};

// Told after each page that has been written or printed, with the number done and the number
// to do; answers false to stop the work.
using Progress = std::function<bool(int done, int total)>;

// Writes every page into a PDF file on the document's paper, one page after another. The file
// takes its place only once it is whole: when writing fails or is stopped, whatever stood at
// the path is left as it was. False, with the reason in error when writing failed, otherwise.
bool writePdf(const Document &document, const QString &path, QString *error = nullptr,
              const Progress &progress = {});

// Prints the pages from first to last (1-based, 0 for all) on a printer set up by the
// caller; the paper is set to the document's. A stopped print is aborted.
bool printPages(const Document &document, QPrinter &printer, int first = 0, int last = 0,
                const Progress &progress = {});

} // namespace platform::reportengine
