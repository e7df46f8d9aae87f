#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QPageSize>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

// A banded report: its definition (sections of controls placed in twips) and the pages that
// laying it out produces (plain drawing items in twips from the page's top-left corner).
namespace platform::report {

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
    QString dataSource = QStringLiteral("DataEnvironment1");
    QString dataMember;
    QMargins margins;
    int width = 0;
    QSize previewSize;        // the preview window's client area
    std::vector<QFont> fonts; // the default font first
    std::vector<Section> sections;

    // Adds a font unless an equal one is there; returns its index.
    int addFont(const QFont &font);
    Section *section(SectionRole role);
    const Section *section(SectionRole role) const;
    Section *sectionNamed(const QString &name);
    // The first control of that name in any section; null when there is none.
    Control *control(const QString &name);
    const Control *control(const QString &name) const;
};

enum class ItemKind { Text, Rectangle, Line };

// One thing to draw on a page. Text never leaves its rectangle: what does not fit is cut off.
struct Item
{
    ItemKind kind = ItemKind::Text;
    QString name; // the control it comes from
    QRect rect;   // twips from the page's top-left corner
    QString text;
    int font = DefaultFont;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool wordWrap = false;
    QColor fill;
};

struct Page
{
    std::vector<Item> items;
};

struct Document
{
    QString title;
    QPageSize pageSize;
    QSize pageTwips;
    std::vector<QFont> fonts;
    std::vector<Page> pages;
    int rowCount = 0;

    int pageCount() const { return int(pages.size()); }
};

// Twips of a page size (1440 to the inch), portrait.
QSize twipsOf(const QPageSize &size);

} // namespace platform::report
