#include "platform/reportengine/Layout.h"

#include "store/DataEnvironment.h"
#include "store/Snapshot.h"

#include <QPrinterInfo>

#include <algorithm>
#include <limits>

namespace platform::reportengine {

namespace {

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
    band.height = std::max(0, section->height);
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
        // Captions wrap inside their box; values stay on one line, drawn smaller when they
        // are wider than their box, so that a long employee number or name still prints whole.
        item.wordWrap = control.kind == ControlKind::Label;
        item.shrinkToFit = control.kind == ControlKind::TextBox;
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

// How many bands of a height fit from top down to the footer. A band that does not fit
// moves whole to the next page, but on a page that holds nothing but its page header it is
// placed anyway, so that an oversized band cannot loop.
qint64 bandsFitting(int top, int freshTop, int footerTop, int height, qint64 rows)
{
    if (height <= 0)
        return top <= footerTop || top <= freshTop ? rows : 0;
    const qint64 fit = top + height <= footerTop ? (footerTop - top) / height : 0;
    return fit == 0 && top <= freshTop ? 1 : fit;
}

} // namespace

int Document::rowCount() const
{
    return m_rows ? m_rows->rowCount() : 0;
}

std::pair<int, int> Document::rowsOn(int page) const
{
    if (page < 0 || page >= m_pageCount || (m_footerPage && page == m_pageCount - 1))
        return {rowCount(), rowCount()};
    if (page == 0)
        return {0, std::min(rowCount(), m_firstRows)};
    const qint64 first = m_firstRows + qint64(page - 1) * m_rowsPerPage;
    return {int(std::min<qint64>(first, rowCount())),
            int(std::min<qint64>(first + m_rowsPerPage, rowCount()))};
}

Page Document::page(int index) const
{
    Page page;
    if (index < 0 || index >= m_pageCount)
        return page;
    const auto [first, end] = rowsOn(index);
    page.items.reserve((index == 0 ? m_reportHeader.items.size() : 0) + m_pageHeader.items.size() +
                       m_pageFooter.items.size() + m_reportFooter.items.size() +
                       size_t(end - first) * m_detail.items.size());
    int cursor = m_top;
    if (index == 0)
        cursor = placeBand(m_reportHeader, -1, cursor, page);
    cursor = placeBand(m_pageHeader, -1, cursor, page);
    for (int row = first; row < end; ++row)
        cursor = placeBand(m_detail, row, cursor, page);
    // A report footer that holds nothing is never placed, so it cannot start a page.
    if (index == m_pageCount - 1 && !m_reportFooter.items.empty())
        placeBand(m_reportFooter, -1, cursor, page);
    placeBand(m_pageFooter, -1, m_footerTop, page);
    return page;
}

int Document::placeBand(const Band &band, int row, int top, Page &page) const
{
    for (size_t i = 0; i < band.items.size(); ++i) {
        Item item = band.items[i];
        item.rect.translate(0, top);
        if (band.columns[i] >= 0)
            item.text = m_rows->text(row, band.columns[i]);
        page.items.push_back(std::move(item));
    }
    return top + band.height;
}

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

Document layOut(const ReportDefinition &definition, std::shared_ptr<const store::Snapshot> rows,
                const QPageSize &paper)
{
    Document d;
    d.title = definition.title;
    d.pageSize = paper;
    d.pageTwips = twipsOf(paper);
    d.fonts = definition.fonts;
    if (d.fonts.empty())
        d.fonts.push_back(QFont());
    const int left = definition.margins.left();
    const auto band = [&](SectionRole role) {
        return makeBand(definition.section(role), left, rows.get());
    };
    d.m_reportHeader = band(SectionRole::ReportHeader);
    d.m_pageHeader = band(SectionRole::PageHeader);
    d.m_detail = band(SectionRole::Detail);
    d.m_pageFooter = band(SectionRole::PageFooter);
    d.m_reportFooter = band(SectionRole::ReportFooter);
    d.m_rows = std::move(rows);

    d.m_top = definition.margins.top();
    d.m_footerTop = d.pageTwips.height() - definition.margins.bottom() - d.m_pageFooter.height;
    d.m_freshTop = d.m_top + d.m_pageHeader.height;
    const int firstTop = d.m_freshTop + d.m_reportHeader.height;
    const qint64 rowCount = d.rowCount();
    const int detail = d.m_detail.height;
    const qint64 first = bandsFitting(firstTop, d.m_freshTop, d.m_footerTop, detail, rowCount);
    const qint64 perPage = std::max<qint64>(
        1, bandsFitting(d.m_freshTop, d.m_freshTop, d.m_footerTop, detail, rowCount));
    d.m_firstRows = int(std::min(first, rowCount));
    d.m_rowsPerPage = int(std::min<qint64>(perPage, std::max<qint64>(1, rowCount)));
    const qint64 rest = rowCount - d.m_firstRows;
    qint64 pages = 1 + (rest + d.m_rowsPerPage - 1) / d.m_rowsPerPage;

    // The report footer follows the last band and moves whole to a page of its own when it
    // does not fit under it.
    const qint64 lastRows = pages == 1 ? d.m_firstRows : rest - (pages - 2) * d.m_rowsPerPage;
    const qint64 cursor = (pages == 1 ? firstTop : d.m_freshTop) + lastRows * detail;
    d.m_footerPage = !d.m_reportFooter.items.empty() &&
                     cursor + d.m_reportFooter.height > d.m_footerTop && cursor > d.m_freshTop;
    if (d.m_footerPage)
        ++pages;
    d.m_pageCount = int(std::min<qint64>(pages, std::numeric_limits<int>::max()));
    return d;
}

QStringList boundColumns(const ReportDefinition &definition)
{
    QStringList columns;
    for (const Section &section : definition.sections) {
        for (const Control &control : section.controls) {
            if (control.kind == ControlKind::TextBox &&
                !columns.contains(control.text, Qt::CaseInsensitive))
                columns << control.text;
        }
    }
    return columns;
}

store::Status layOut(const ReportDefinition &definition, const QPageSize &paper, Document *document)
{
    store::Status status;
    std::shared_ptr<const store::Snapshot> rows = store::DataEnvironment::instance().command(
        definition.dataMember, &status, boundColumns(definition));
    *document = layOut(definition, std::move(rows), paper);
    return status;
}

} // namespace platform::reportengine
