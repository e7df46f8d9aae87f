#pragma once

#include "platform/reportengine/Report.h"

#include <QString>

#include <vector>

class QPainter;
class QPrinter;

namespace platform::reportengine {

// Draws the pages of a laid-out report with a painter whose coordinates are twips. Fonts are
// sized in twips once, so the same drawing serves the screen, a printer and a PDF file.
class PagePainter
{
public:
    explicit PagePainter(const Document &document);

    // Builds the page's items and draws them.
    void paint(QPainter &painter, int page) const;
    void paint(QPainter &painter, const Page &page) const;

private:
    const Document &m_document;
    std::vector<QFont> m_fonts;
};

// Writes every page into a PDF file on the document's paper, one page after another. False, with
// the reason in error, when the file cannot be written.
bool writePdf(const Document &document, const QString &path, QString *error = nullptr);

// Prints the pages from first to last (1-based, 0 for all) on a printer set up by the
// caller; the paper is set to the document's.
bool printPages(const Document &document, QPrinter &printer, int first = 0, int last = 0);

} // namespace platform::reportengine
