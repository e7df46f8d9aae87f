#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QPageSize>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

namespace store {
class Snapshot;
}

// A banded report: its definition (sections of controls placed in twips) and the pages that
// laying it out gives (plain drawing items in twips from the page's top-left corner).
namespace platform::reportengine {

enum class SectionRole { ReportHeader, PageHeader, Detail, PageFooter, ReportFooter };

enum class ControlKind {
    Label,     // fixed text
    TextBox,   // the value of one column of the current row
    Rectangle, // filled when it has a fill colour, outline only otherwise
    Line       // horizontal, along the top of its box
};

// Index into ReportDefinition::fonts; the default font is always the first.
constexpr int DefaultFont = 0;

struct Control
{
    QString name;
    ControlKind kind = ControlKind::Label;
    QRect rect;   // twips from the top-left corner of the section
    QString text; // a label's caption, or a text box's column
    int font = DefaultFont;
    Qt::Alignment alignment = Qt::AlignLeft;
    QColor fill; // rectangles only; invalid means outline only
};

struct Section
{
    QString name;
    SectionRole role = SectionRole::Detail;
    int height = 0;
    std::vector<Control> controls; // in drawing order, later ones over earlier ones
};

struct ReportDefinition
{
    QString name;
    QString caption; // the preview window's caption
    QString title;   // the document title of a printed or saved report; printed on no page
    QString dataMember;
    QMargins margins;
    int width = 0;
    QSize previewSize;        // the preview window's client area
    std::vector<QFont> fonts; // the default font first
    std::vector<Section> sections;
    // The columns whose sums end the report's spreadsheet, where the report shows them.
    QStringList totals;

    // Adds a font unless an equal one is there; returns its index.
    int addFont(const QFont &font);
    Section *section(SectionRole role);
    const Section *section(SectionRole role) const;
    // The first control of that name in any section; null when there is none.
    Control *control(const QString &name);
    const Control *control(const QString &name) const;
};

enum class ItemKind { Text, Rectangle, Line };

// One thing to draw on a page. Text never leaves its rectangle: what does not fit is cut off.
// A value that shrinks to fit is first drawn smaller, down to a floor, before it is cut.
struct Item
{
    ItemKind kind = ItemKind::Text;
    QString name; // the control it comes from
    QRect rect;   // twips from the page's top-left corner
    QString text;
    int font = DefaultFont;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool wordWrap = false;
    bool shrinkToFit = false;
    QColor fill;
};

struct Page
{
    std::vector<Item> items;
};

// A section turned into items once, placed at the left margin and top 0; every band of it is
// a copy moved down to its place, with the text boxes filled from the row.
struct Band
{
    int height = 0;
    std::vector<Item> items;
    std::vector<int> columns; // per item: the bound column, -1 for fixed content
};

// A laid-out report. Every band has a fixed height, so the rows a page holds follow from the
// section heights, the margins and the paper: the document keeps the rows and that
// arithmetic, and builds a page's drawing items only when the page is drawn.
class Document
{
public:
    QString title;
    QPageSize pageSize;
    QSize pageTwips;
    std::vector<QFont> fonts;

    int rowCount() const;
    // The rows the report shows; null when its command could not run.
    const store::Snapshot *rows() const { return m_rows.get(); }
    int pageCount() const { return m_pageCount; }
    // The rows of a page, from first up to (not including) end.
    std::pair<int, int> rowsOn(int page) const;
    // The items of a page in drawing order; none for a page that does not exist.
    Page page(int index) const;

private:
    friend Document layOut(const ReportDefinition &definition,
                           std::shared_ptr<const store::Snapshot> rows, const QPageSize &paper);
    int placeBand(const Band &band, int row, int top, Page &page) const;

    std::shared_ptr<const store::Snapshot> m_rows;
    Band m_reportHeader, m_pageHeader, m_detail, m_pageFooter, m_reportFooter;
    int m_top = 0;       // where the first band of a page starts
    int m_footerTop = 0; // where the page footer starts
    int m_freshTop = 0;  // below the page header of every page but the first
    int m_firstRows = 0; // rows on the first page
    int m_rowsPerPage = 1;
    bool m_footerPage = false; // the report footer moved to a page of its own
    int m_pageCount = 1;
};

// Twips of a page size (1440 to the inch), portrait.
QSize twipsOf(const QPageSize &size);

} // namespace platform::reportengine
