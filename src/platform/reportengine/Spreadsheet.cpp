#include "platform/reportengine/Spreadsheet.h"

#include "store/Snapshot.h"
#include "store/Values.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>

namespace platform::reportengine {

namespace {

// Controls whose tops lie this close stand on one line.
constexpr int LineTolerance = 150;
// What one worksheet holds.
constexpr qint64 SheetRows = 1048576;
constexpr int CellCharacters = 32767;
constexpr int SheetNameCharacters = 31;
constexpr int WidestColumn = 60;
constexpr int ProgressRows = 100;
// The title, then the captions, then the records.
constexpr int CaptionRow = 1;
constexpr int FirstRecordRow = 2;

bool isCaption(const Control &control)
{
    return control.kind == ControlKind::Label &&
           std::any_of(control.text.begin(), control.text.end(),
                       [](QChar c) { return c.isLetter(); });
}

std::vector<const Control *> captionsOf(const Section *section)
{
    std::vector<const Control *> found;
    if (!section)
        return found;
    for (const Control &control : section->controls) {
        if (isCaption(control))
            found.push_back(&control);
    }
    return found;
}

// The tops at which the controls' lines begin, top to bottom.
std::vector<int> lineStarts(const std::vector<const Control *> &controls)
{
    std::vector<int> tops;
    for (const Control *control : controls)
        tops.push_back(control->rect.top());
    std::sort(tops.begin(), tops.end());
    std::vector<int> starts;
    for (int top : tops) {
        if (starts.empty() || top - starts.back() > LineTolerance)
            starts.push_back(top);
    }
    return starts;
}

int lineOf(const std::vector<int> &starts, int top)
{
    return int(std::upper_bound(starts.begin(), starts.end(), top + LineTolerance) -
               starts.begin()) -
           1;
}

int overlap(const QRect &a, const QRect &b)
{
    return std::min(a.x() + a.width(), b.x() + b.width()) - std::max(a.x(), b.x());
}

// Finds the label a value is printed under or beside.
class CaptionFinder
{
public:
    explicit CaptionFinder(const ReportDefinition &definition)
        : m_heads(captionsOf(definition.section(SectionRole::PageHeader))),
          m_sides(captionsOf(definition.section(SectionRole::Detail))),
          m_headLines(lineStarts(m_heads))
    {
        std::vector<const Control *> boxes;
        if (const Section *detail = definition.section(SectionRole::Detail)) {
            for (const Control &control : detail->controls) {
                if (control.kind == ControlKind::TextBox)
                    boxes.push_back(&control);
            }
        }
        m_boxLines = lineStarts(boxes);
    }

    // The caption and its place in the order of the columns.
    std::pair<QString, size_t> find(const Control &box) const
    {
        if (const auto head = over(box))
            return {m_heads[*head]->text.simplified(), *head};
        if (const auto side = beside(box))
            return {m_sides[*side]->text.simplified(), m_heads.size() + *side};
        return {box.text, m_heads.size() + m_sides.size()};
    }

private:
    std::optional<size_t> over(const Control &box) const
    {
        const int line =
            int(m_headLines.size()) - int(m_boxLines.size()) + lineOf(m_boxLines, box.rect.top());
        std::optional<size_t> best;
        int widest = 0;
        for (size_t i = 0; i < m_heads.size(); ++i) {
            const int shared = overlap(m_heads[i]->rect, box.rect);
            if (lineOf(m_headLines, m_heads[i]->rect.top()) == line && shared > widest) {
                best = i;
                widest = shared;
            }
        }
        return best;
    }

    std::optional<size_t> beside(const Control &box) const
    {
        std::optional<size_t> nearest;
        for (size_t i = 0; i < m_sides.size(); ++i) {
            const QRect &label = m_sides[i]->rect;
            const int middle = label.top() + label.height() / 2;
            if (label.x() < box.rect.x() && middle >= box.rect.top() &&
                middle <= box.rect.top() + box.rect.height() &&
                (!nearest || label.x() > m_sides[*nearest]->rect.x()))
                nearest = i;
        }
        return nearest;
    }

    std::vector<const Control *> m_heads, m_sides;
    std::vector<int> m_headLines, m_boxLines;
};

// A record's value as a table takes it: numbers as the report prints them (15 significant
// digits, so that 17.9 days at 95,000 is 1700500 and not 1700499.9999999998), dates of the
// date columns as dates.
struct Value
{
    enum class Kind { Empty, Number, Date, Text } kind = Kind::Empty;
    QString text; // a number as printed, a date as stored (ISO)
    double number = 0;
    QDate date;
};

Value valueAt(const store::Snapshot &rows, int row, int column)
{
    const QVariant value = rows.value(row, column);
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Double) {
        const QString printed = store::displayText(value, false);
        return {Value::Kind::Number, printed, printed.toDouble(), {}};
    }
    const QString text = value.toString();
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (rows.isDateColumn(column) && date.isValid())
        return {Value::Kind::Date, text, 0, date};
    return {Value::Kind::Text, text, 0, {}};
}

// The report's columns found in its rows; -1 for one its command does not give.
std::vector<int> columnIndexes(const std::vector<SheetColumn> &columns, const store::Snapshot *rows)
{
    std::vector<int> indexes;
    for (const SheetColumn &column : columns)
        indexes.push_back(rows ? rows->columnIndex(column.column) : -1);
    return indexes;
}

// A file beside the target that takes its place when committed, readable by its owner only
// (the reports hold names and wages).
bool openBeside(QSaveFile &file)
{
    return file.open(QIODevice::WriteOnly) &&
           file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString cannotWrite(const QString &kind, const QString &path, const QString &reason)
{
    return QStringLiteral("File %1 tidak dapat ditulis: %2 (%3)")
        .arg(kind, QFileInfo(path).absoluteFilePath(), reason);
}

// A worksheet's name: the report's caption up to the last whole word that fits, without the
// characters a sheet's name may not hold.
QByteArray sheetName(const QString &caption)
{
    QString name = caption;
    for (QChar forbidden : QStringLiteral("[]:*?/\\'"))
        name.replace(forbidden, QLatin1Char(' '));
    name = name.simplified();
    if (name.size() > SheetNameCharacters) {
        const qsizetype space = name.lastIndexOf(QLatin1Char(' '), SheetNameCharacters);
        name.truncate(space > 0 ? space : SheetNameCharacters);
    }
    return (name.isEmpty() ? QStringLiteral("Laporan") : name).toUtf8();
}

// Writes a workbook into a scratch file with libxlsxwriter, which opens files by name itself;
// rows go to its file as they come (its constant-memory mode), so a long report holds no
// more than a row in memory.
class Workbook
{
public:
    Workbook(const QString &file, const ReportDefinition &definition, const Document &document)
        : m_name(QFile::encodeName(file)), m_title(document.title.toUtf8())
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        m_book = workbook_new_opt(m_name.constData(), &options);
        if (!m_book)
            return;
        lxw_doc_properties properties{};
        properties.title = m_title.data();
        properties.author = const_cast<char *>("Kelvara");
        workbook_set_properties(m_book, &properties);
        m_sheet = workbook_add_worksheet(m_book, sheetName(definition.caption).constData());
        addFormats();
    }
    ~Workbook() { close(); }

    bool isOpen() const { return m_sheet; }
    lxw_error close()
    {
        lxw_error closed = m_book ? workbook_close(m_book) : LXW_NO_ERROR;
        m_book = nullptr;
        m_sheet = nullptr;
        return m_failed != LXW_NO_ERROR ? m_failed : closed;
    }

    void title()
    {
        check(worksheet_write_string(m_sheet, 0, 0, m_title.constData(), m_titleFormat));
    }

    void captions(const std::vector<SheetColumn> &columns)
    {
        m_widths.assign(columns.size(), 0);
        for (size_t c = 0; c < columns.size(); ++c)
            text(CaptionRow, c, columns[c].caption, m_captionFormat);
        worksheet_freeze_panes(m_sheet, FirstRecordRow, 0);
    }

    void cell(int row, size_t column, const Value &value)
    {
        switch (value.kind) {
        case Value::Kind::Empty:
            return;
        case Value::Kind::Number:
            check(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(column), value.number,
                                         nullptr));
            widen(column, value.text.size());
            return;
        case Value::Kind::Date: {
            lxw_datetime date{value.date.year(), value.date.month(), value.date.day(), 0, 0, 0};
            check(worksheet_write_datetime(m_sheet, lxw_row_t(row), lxw_col_t(column), &date,
                                           m_dateFormat));
            widen(column, 10);
            return;
        }
        case Value::Kind::Text:
            text(row, column, value.text, nullptr);
            return;
        }
    }

    // The sums' row: "Jumlah", then each total as a formula over the records with the sum
    // the program counted as its value, for readers that do not calculate.
    void sums(int row, int records, const std::vector<std::pair<size_t, double>> &totals)
    {
        text(row, 0, QStringLiteral("Jumlah"), m_sumFormat);
        for (const auto &[column, sum] : totals) {
            char range[32];
            lxw_rowcol_to_range(range, FirstRecordRow, lxw_col_t(column),
                                lxw_row_t(FirstRecordRow + std::max(records, 1) - 1),
                                lxw_col_t(column));
            const QByteArray formula = QByteArray("=SUM(") + range + ')';
            check(worksheet_write_formula_num(m_sheet, lxw_row_t(row), lxw_col_t(column),
                                              formula.constData(), m_sumFormat, sum));
            widen(column, store::writeNumber(sum).size());
        }
    }

    // Every column as wide as its widest text, within reason.
    void fitColumns()
    {
        for (size_t c = 0; c < m_widths.size(); ++c)
            check(worksheet_set_column(m_sheet, lxw_col_t(c), lxw_col_t(c),
                                       std::min(m_widths[c] + 2, WidestColumn), nullptr));
    }

private:
    void addFormats()
    {
        m_titleFormat = workbook_add_format(m_book);
        format_set_bold(m_titleFormat);
        format_set_font_size(m_titleFormat, 14);
        m_captionFormat = workbook_add_format(m_book);
        format_set_bold(m_captionFormat);
        format_set_bottom(m_captionFormat, LXW_BORDER_THIN);
        m_dateFormat = workbook_add_format(m_book);
        format_set_num_format(m_dateFormat, "dd/mm/yyyy");
        m_sumFormat = workbook_add_format(m_book);
        format_set_bold(m_sumFormat);
        format_set_top(m_sumFormat, LXW_BORDER_THIN);
    }

    void text(int row, size_t column, const QString &text, lxw_format *format)
    {
        // A cell holds at most 32,767 characters; a longer text keeps its beginning.
        const QByteArray utf8 = text.left(CellCharacters).toUtf8();
        check(worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column), utf8.constData(),
                                     format));
        widen(column, text.size());
    }
    void widen(size_t column, qsizetype characters)
    {
        if (column < m_widths.size())
            m_widths[column] =
                std::max(m_widths[column], int(std::min<qsizetype>(characters, WidestColumn)));
    }
    void check(lxw_error error)
    {
        if (m_failed == LXW_NO_ERROR)
            m_failed = error;
    }

    QByteArray m_name, m_title;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_titleFormat = nullptr, *m_captionFormat = nullptr, *m_dateFormat = nullptr,
               *m_sumFormat = nullptr;
    std::vector<int> m_widths;
    lxw_error m_failed = LXW_NO_ERROR;
};

// Copies the finished scratch file into the target's place.
bool copyInto(QFile &scratch, const QString &path, QString *reason)
{
    QSaveFile target(path);
    if (!scratch.open(QIODevice::ReadOnly) || !openBeside(target)) {
        *reason = scratch.isOpen() ? target.errorString() : scratch.errorString();
        return false;
    }
    while (!scratch.atEnd()) {
        const QByteArray block = scratch.read(1 << 20);
        if (block.isEmpty() || target.write(block) != block.size()) {
            *reason = block.isEmpty() ? scratch.errorString() : target.errorString();
            return false;
        }
    }
    if (!target.commit()) {
        *reason = target.errorString();
        return false;
    }
    return true;
}

// Writes the records, telling the progress every hundred rows; false when it stopped them.
template <typename Write>
bool eachRecord(const Document &document, const std::vector<int> &indexes, const Progress &progress,
                Write write)
{
    const store::Snapshot *rows = document.rows();
    const int count = document.rowCount();
    for (int row = 0; row < count; ++row) {
        for (size_t c = 0; c < indexes.size(); ++c)
            write(row, c, indexes[c] < 0 ? Value{} : valueAt(*rows, row, indexes[c]));
        if (progress && ((row + 1) % ProgressRows == 0 || row + 1 == count) &&
            !progress(row + 1, count))
            return false;
    }
    return true;
}

QByteArray csvField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n') ||
        field.contains('\r')) {
        field.replace("\"", "\"\"");
        field = '"' + field + '"';
    }
    return field;
}

} // namespace

std::vector<SheetColumn> sheetColumns(const ReportDefinition &definition)
{
    const CaptionFinder finder(definition);
    std::vector<std::pair<size_t, SheetColumn>> found;
    const Section *detail = definition.section(SectionRole::Detail);
    if (!detail)
        return {};
    for (const Control &box : detail->controls) {
        const bool shown = std::any_of(found.begin(), found.end(), [&](const auto &f) {
            return f.second.column.compare(box.text, Qt::CaseInsensitive) == 0;
        });
        if (box.kind != ControlKind::TextBox || shown)
            continue;
        auto [caption, rank] = finder.find(box);
        found.push_back({rank, {caption, box.text}});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<SheetColumn> columns;
    for (auto &[rank, column] : found)
        columns.push_back(std::move(column));
    return columns;
}

bool writeXlsx(const ReportDefinition &definition, const Document &document, const QString &path,
               QString *error, const Progress &progress)
{
    QString reason;
    const auto failed = [&] {
        if (error)
            *error = cannotWrite(QStringLiteral("Excel"), path, reason);
        return false;
    };
    const std::vector<SheetColumn> columns = sheetColumns(definition);
    const std::vector<int> indexes = columnIndexes(columns, document.rows());
    const int records = document.rowCount();
    if (FirstRecordRow + qint64(records) + 1 > SheetRows) {
        reason = QStringLiteral("%1 baris melebihi satu lembar kerja").arg(records);
        return failed();
    }
    // libxlsxwriter writes the workbook by name in one go at its end: it goes to a scratch
    // file of the owner's alone, which is then copied beside the target and renamed.
    QTemporaryFile scratch(QDir::temp().filePath(QStringLiteral("kelvara-XXXXXX.xlsx")));
    if (!scratch.open()) {
        reason = scratch.errorString();
        return failed();
    }
    scratch.close();
    Workbook book(scratch.fileName(), definition, document);
    if (!book.isOpen()) {
        reason = QStringLiteral("libxlsxwriter tidak dapat membuat buku kerja");
        return failed();
    }
    book.title();
    book.captions(columns);
    std::vector<std::pair<size_t, double>> totals;
    for (size_t c = 0; c < columns.size(); ++c) {
        if (definition.totals.contains(columns[c].column, Qt::CaseInsensitive))
            totals.push_back({c, 0.0});
    }
    const bool whole =
        eachRecord(document, indexes, progress, [&](int row, size_t c, const Value &value) {
            book.cell(FirstRecordRow + row, c, value);
            for (auto &[column, sum] : totals) {
                if (column == c)
                    sum += value.number;
            }
        });
    if (!whole)
        return false;
    for (auto &[column, sum] : totals)
        sum = store::writeNumber(sum).toDouble();
    book.sums(FirstRecordRow + records, records, totals);
    book.fitColumns();
    if (const lxw_error closed = book.close(); closed != LXW_NO_ERROR) {
        reason = QString::fromUtf8(lxw_strerror(closed));
        return failed();
    }
    return copyInto(scratch, path, &reason) || failed();
}

bool writeCsv(const ReportDefinition &definition, const Document &document, const QString &path,
              QString *error, const Progress &progress)
{
    QSaveFile file(path);
    const auto failed = [&] {
        if (error)
            *error = cannotWrite(QStringLiteral("CSV"), path, file.errorString());
        return false;
    };
    if (!openBeside(file))
        return failed();
    const std::vector<SheetColumn> columns = sheetColumns(definition);
    QByteArray line;
    for (const SheetColumn &column : columns)
        line += (line.isEmpty() ? "" : ",") + csvField(column.caption);
    bool written = file.write(line + "\r\n") > 0;
    line.clear();
    const bool whole = eachRecord(document, columnIndexes(columns, document.rows()), progress,
                                  [&](int, size_t c, const Value &value) {
                                      if (c > 0)
                                          line += ',';
                                      line += csvField(value.text);
                                      if (c + 1 == columns.size()) {
                                          line += "\r\n";
                                          written = written && file.write(line) == line.size();
                                          line.clear();
                                      }
                                  });
    if (!whole)
        return false;
    return (written && file.commit()) || failed();
}

} // namespace platform::reportengine
