// Pages in a PDF: what a reader finds in the file and what it draws, for texts of every kind.

#include "ProgramRun.h"
#include "platform/reportengine/PagePainter.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform::reportengine;

namespace {

Item text(const QString &chars, const QRect &rect, int font = DefaultFont)
{
    Item item;
    item.name = QStringLiteral("Text");
    item.rect = rect;
    item.text = chars;
    item.font = font;
    item.wordWrap = true;
    return item;
}

Item filled(const QRect &rect, const QColor &colour)
{
    Item item;
    item.kind = ItemKind::Rectangle;
    item.rect = rect;
    item.fill = colour;
    return item;
}

// Writes one page of the items, in the reports' Arial, in P052 Bold, in DejaVu Sans, whose
// shaping joins "fi" into one glyph, and in URW Gothic's Demi as it is and made bold by Qt.
bool write(const QString &path, const std::vector<Item> &items)
{
    Document document;
    document.title = QStringLiteral("Uji");
    document.pageSize = QPageSize(QPageSize::A4);
    document.pageTwips = twipsOf(document.pageSize);
    document.fonts = {QFont(QStringLiteral("Arial"), 10), QFont(QStringLiteral("P052"), 12),
                      QFont(QStringLiteral("DejaVu Sans"), 10),
                      QFont(QStringLiteral("URW Gothic"), 14),
                      QFont(QStringLiteral("URW Gothic"), 14)};
    document.fonts[1].setBold(true);
    document.fonts[3].setWeight(QFont::DemiBold);
    document.fonts[4].setBold(true);
    // As the reports write theirs: no margins, twips for units.
    QPdfWriter writer(path);
    writer.setPageSize(document.pageSize);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(1440);
    QPainter painter(&writer);
    PagePainter(document).paint(painter, Page{items});
    return painter.end();
}

// The words pdftotext reads, each with its box in points.
QList<std::pair<QString, QRectF>> words(const QString &pdf)
{
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<std::pair<QString, QRectF>> found;
    for (const auto &m : word.globalMatch(runProgram("pdftotext", {"-bbox", pdf, "-"}).out)) {
        QString text = m.captured(5);
        text.replace("&apos;", "'").replace("&quot;", "\"").replace("&lt;", "<");
        text.replace("&gt;", ">").replace("&amp;", "&");
        found.append({text, QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                   QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return found;
}

QImage rendered(const QString &pdf)
{
    // 72 dots to the inch: a pixel is a point, 20 twips.
    const QString png = pdf + QStringLiteral("-page");
    runProgram("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, png});
    return QImage(png + QStringLiteral(".png"));
}

// The pixels of a part of a rendered page that are of a kind: dark, or the grey of a fill.
int pixelsIn(const QImage &page, const QRect &points, bool (*ofKind)(QRgb))
{
    int found = 0;
    for (int y = points.top(); y <= points.bottom(); ++y) {
        for (int x = points.left(); x <= points.right(); ++x)
            found += ofKind(page.pixel(x, y));
    }
    return found;
}

int inkIn(const QImage &page, const QRect &points)
{
    return pixelsIn(page, points, [](QRgb pixel) { return qGray(pixel) < 100; });
}

} // namespace

class TestPdfFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textsReadBackWhole_data();
    void textsReadBackWhole();
    void drawsInOrderAndInsideClips();
    void boldMadeByQtStaysBold();
};

void TestPdfFile::textsReadBackWhole_data()
{
    QTest::addColumn<QString>("chars");
    QTest::addColumn<int>("font");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("ligatures") << "Profil efisien offline" << 2
                               << QStringList{"Profil", "efisien", "offline"};
    QTest::newRow("a face drawn from its outlines")
        << "Profil Ñúñez" << 1 << QStringList{"Profil", "Ñúñez"};
    QStringList letters; // glyphs past the codes of one byte
    for (const auto &[first, last] : {std::pair{u'A', u'Z'},
                                      {u'a', u'z'},
                                      {u'\u00c0', u'\u017f'},
                                      {u'\u0391', u'\u03a1'},
                                      {u'\u03a3', u'\u03c9'}}) {
        for (char16_t c = first; c <= last; ++c) {
            if (letters.isEmpty() || letters.last().size() == 16)
                letters << QString();
            letters.last() += QChar(c);
        }
    }
    QTest::newRow("many glyphs from outlines") << letters.join(' ') << 1 << letters;
    QTest::newRow("letters beyond ASCII")
        << "Ñúñez d'Ávila Øre" << 0 << QStringList{"Ñúñez", "d'Ávila", "Øre"};
    QTest::newRow("a character from a fallback font")
        << "Lunas ✓ ya" << 0 << QStringList{"Lunas", "✓", "ya"};
    QTest::newRow("line breaks and tabs")
        << "Baris\tsatu\r\nBaris\ndua" << 0 << QStringList{"Baris", "satu", "Baris", "dua"};
    QTest::newRow("a character no font has")
        << QString("Awal ") + QChar(0xE000) + " akhir" << 0 << QStringList{"Awal", "akhir"};
}

void TestPdfFile::textsReadBackWhole()
{
    QFETCH(QString, chars);
    QFETCH(int, font);
    QFETCH(QStringList, words);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("uji.pdf");
    const QRect box(1440, 1440, 6000, 8000);
    QVERIFY(write(pdf, {text(chars, box, font)}));
    QStringList read;
    for (const auto &[word, place] : ::words(pdf)) {
        read << word;
        // Every word stands in the box it was drawn in.
        QVERIFY2(QRectF(72, 72, 300, 400).adjusted(-0.5, -0.5, 0.5, 0.5).contains(place),
                 qPrintable(word));
    }
    // Where one word ends and the next starts is the reader's guess, from the gaps; a ligature
    // reads back as its own character ("ﬁ"), which readers search as the letters it joins.
    QCOMPARE(read.join(QString()).normalized(QString::NormalizationForm_KC),
             words.join(QString()).normalized(QString::NormalizationForm_KC));
}

void TestPdfFile::drawsInOrderAndInsideClips()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("uji.pdf");
    // A grey fill over the first text, a second text over the fill, and a long value cut at a
    // narrow box of its own.
    QVERIFY(write(pdf, {text("WWWWWWWW", QRect(1440, 1440, 3000, 300)),
                        filled(QRect(1440, 1440, 3000, 300), QColor(192, 192, 192)),
                        text("MMMMMMMM", QRect(1440, 1800, 3000, 300)),
                        filled(QRect(1440, 1800, 3000, 300), QColor(255, 255, 255, 0)),
                        text("MMMMMMMMMMMMMMMMMMMMMMMM", QRect(1440, 2400, 1000, 300))}));
    const QImage page = rendered(pdf);
    QVERIFY(!page.isNull());
    QCOMPARE(inkIn(page, QRect(73, 73, 148, 13)), 0); // covered by the fill
    QVERIFY(pixelsIn(page, QRect(73, 73, 148, 13), [](QRgb pixel) { return qGray(pixel) == 192; }) >
            1500);
    QVERIFY(inkIn(page, QRect(73, 91, 148, 13)) > 100); // black, over a fill that is not there
    QVERIFY(inkIn(page, QRect(73, 121, 48, 13)) > 100);
    QCOMPARE(inkIn(page, QRect(123, 118, 200, 18)), 0); // nothing beyond the box
    QCOMPARE(words(pdf).value(1).first, QString("MMMMMMMM"));
}

void TestPdfFile::boldMadeByQtStaysBold()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("uji.pdf");
    QVERIFY(write(pdf, {text("SLIP PEMBAYARAN", QRect(1440, 1440, 6000, 400), 3),
                        text("SLIP PEMBAYARAN", QRect(1440, 2440, 6000, 400), 4)}));
    const QImage page = rendered(pdf);
    const int demi = inkIn(page, QRect(72, 72, 300, 20));
    QVERIFY(demi > 0);
    QVERIFY2(inkIn(page, QRect(72, 122, 300, 20)) > demi * 1.1, "no bolder than the face itself");
}

QTEST_MAIN(TestPdfFile)
#include "test_pdffile.moc"
