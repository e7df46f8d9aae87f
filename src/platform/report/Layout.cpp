#include "platform/report/Layout.h"

#include "store/DataEnvironment.h"
#include "store/Snapshot.h"

#include <QPrinterInfo>

namespace platform::report {

namespace {

// A section turned into items once, placed at the left margin and top 0; every band of it
// is a copy moved down to its place, with the text boxes filled from the row.
struct Band
{
    int height = 0;
    std::vector<Item> items;
    std::vector<int> columns; // per item: the bound column, -1 for fixed content
};

ItemKind itemKind(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Rectangle:
        return ItemKind::Rectangle;
    case ControlKind::Line:
        return ItemKind::Line;
    default:
        return ItemKind::Text;
    }
}

Band makeBand(const Section *section, int left, const store::Snapshot *rows)
{
    Band band;
    if (!section)
        return band;
    band.height = section->height;
    band.items.reserve(section->controls.size());
    band.columns.reserve(section->controls.size());
    for (const Control &control : section->controls) {
        Item item;
        item.kind = itemKind(control.kind);
        item.name = control.name;
        item.rect = control.rect.translated(left, 0);
        item.font = control.font;
        item.alignment = control.alignment;
        item.fill = control.fill;
        // Captions wrap inside their box; values stay on one line and are cut off.
        item.wordWrap = control.kind == ControlKind::Label;
        int column = -1;
        if (control.kind == ControlKind::TextBox) {
            column = rows ? rows->columnIndex(control.text) : -1;
        } else {
            item.text = control.text;
        }
        band.items.push_back(std::move(item));
        band.columns.push_back(column);
    }
    return band;
}

class Pager
{
public:
    Pager(const ReportDefinition &definition, const store::Snapshot *rows, Document &document)
        : m_document(document), m_rows(rows), m_top(definition.margins.top()),
          m_reportHeader(makeBand(definition.section(SectionRole::ReportHeader),
                                  definition.margins.left(), rows)),
          m_pageHeader(makeBand(definition.section(SectionRole::PageHeader),
                                definition.margins.left(), rows)),
          m_detail(
              makeBand(definition.section(SectionRole::Detail), definition.margins.left(), rows)),
          m_pageFooter(makeBand(definition.section(SectionRole::PageFooter),
                                definition.margins.left(), rows)),
          m_reportFooter(makeBand(definition.section(SectionRole::ReportFooter),
                                  definition.margins.left(), rows))
    {
        m_footerTop =
            document.pageTwips.height() - definition.margins.bottom() - m_pageFooter.height;
        m_freshTop = m_top + m_pageHeader.height;
    }

    void run()
    {
        const int rowCount = m_rows ? m_rows->rowCount() : 0;
        reserve(rowCount);
        startPage(true);
        for (int row = 0; row < rowCount; ++row)
            placeWhole(m_detail, row);
        placeWhole(m_reportFooter, -1);
        endPage();
        m_document.rowCount = rowCount;
    }

private:
    void reserve(int rowCount)
    {
        const int perPage = m_detail.height > 0
                                ? std::max(1, (m_footerTop - m_freshTop) / m_detail.height)
                                : std::max(1, rowCount);
        m_perPageItems = m_reportHeader.items.size() + m_pageHeader.items.size() +
                         m_pageFooter.items.size() + m_reportFooter.items.size() +
                         size_t(perPage) * m_detail.items.size();
        m_document.pages.reserve(size_t(rowCount / perPage + 2));
    }

    void startPage(bool first)
    {
        m_document.pages.emplace_back();
        m_document.pages.back().items.reserve(m_perPageItems);
        m_cursor = m_top;
        if (first)
            place(m_reportHeader, -1);
        place(m_pageHeader, -1);
    }

    void endPage()
    {
        const int cursor = m_cursor;
        m_cursor = m_footerTop;
        place(m_pageFooter, -1);
        m_cursor = cursor;
    }

    // A band that does not fit moves whole to the next page; on a page that holds nothing
    // but its page header it is placed anyway, so that an oversized band cannot loop.
    void placeWhole(const Band &band, int row)
    {
        if (m_cursor + band.height > m_footerTop && m_cursor > m_freshTop) {
            endPage();
            startPage(false);
        }
        place(band, row);
    }

    void place(const Band &band, int row)
    {
        std::vector<Item> &items = m_document.pages.back().items;
        for (size_t i = 0; i < band.items.size(); ++i) {
            Item item = band.items[i];
            item.rect.translate(0, m_cursor);
            if (band.columns[i] >= 0)
                item.text = m_rows->text(row, band.columns[i]);
            items.push_back(std::move(item));
        }
        m_cursor += band.height;
    }

    Document &m_document;
    const store::Snapshot *m_rows;
    int m_top;
    Band m_reportHeader, m_pageHeader, m_detail, m_pageFooter, m_reportFooter;
    int m_footerTop = 0;
    int m_freshTop = 0;
    int m_cursor = 0;
    size_t m_perPageItems = 0;
};

} // namespace

QPageSize defaultPageSize()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull()) {
        const QPageSize size = printer.defaultPageSize();
        if (size.isValid())
            return size;
    }
    return QPageSize(QPageSize::A4);
}

Document layOut(const ReportDefinition &definition, const store::Snapshot *rows,
                const QPageSize &paper)
{
    Document document;
    document.title = definition.title;
    document.pageSize = paper;
    document.pageTwips = twipsOf(paper);
    document.fonts = definition.fonts;
    if (document.fonts.empty())
        document.fonts.push_back(QFont());
    Pager(definition, rows, document).run();
    return document;
}

store::Status layOut(const ReportDefinition &definition, const QPageSize &paper, Document *document)
{
    store::Status status;
    const std::unique_ptr<store::Snapshot> rows =
        store::DataEnvironment::instance().command(definition.dataMember, &status);
    *document = layOut(definition, rows.get(), paper);
    return status;
}

} // namespace platform::report
