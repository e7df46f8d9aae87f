#include "platform/DatePicker.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace platform {

namespace {

// The day before the first day the picker offers stands for "no date".
const QDate NoDate(1600, 12, 31);
const QDate LastDate(9999, 12, 31);
const QString NoDateText = QStringLiteral(" ");

enum Part { Day, Month, Year };

// A part is complete when no further digit could belong to it: two digits, or a first digit
// that no day (above 3) or month (above 1) can start.
bool complete(int part, const QString &digits)
{
    if (part == Year)
        return digits.size() == 4;
    const QChar highest = part == Day ? u'3' : u'1';
    return digits.size() == 2 || (digits.size() == 1 && digits[0] > highest);
}

QString placeholder(int part)
{
    return part == Year ? QStringLiteral("____") : QStringLiteral("__");
}

} // namespace

DatePicker::DatePicker(QWidget *parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setDateRange(NoDate, LastDate);
    setSpecialValueText(NoDateText);
    setDate(NoDate);
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (m_byCode)
            return;
        // A date picked from the calendar or stepped with the arrow keys replaces what was
        // being typed.
        dropEntry();
        Q_EMIT isoTextChanged(isoText());
        Q_EMIT edited();
    });
}

void DatePicker::clear()
{
    dropEntry();
    setDateQuietly(NoDate);
}

QString DatePicker::isoText() const
{
    if (m_entry.active) {
        const QDate typed = entryDate();
        return typed.isValid() ? typed.toString(Qt::ISODate) : entryText();
    }
    return date() == minimumDate() ? QString() : date().toString(Qt::ISODate);
}

void DatePicker::setIsoText(const QString &text)
{
    dropEntry();
    const QDate d = QDate::fromString(text, Qt::ISODate);
    setDateQuietly(d.isValid() && d > NoDate ? d : NoDate);
}

QString DatePicker::unfinishedEntry() const
{
    return m_entry.active && !entryDate().isValid() ? entryText() : QString();
}

void DatePicker::setDateQuietly(const QDate &date)
{
    m_byCode = true;
    const QString before = isoText();
    setDate(date);
    m_byCode = false;
    if (isoText() != before)
        Q_EMIT isoTextChanged(isoText());
}

QDate DatePicker::entryDate() const
{
    const qsizetype day = m_entry.parts[Day].size();
    const qsizetype month = m_entry.parts[Month].size();
    if (day < 1 || day > 2 || month < 1 || month > 2 || m_entry.parts[Year].size() != 4)
        return {};
    const QDate d(m_entry.parts[Year].toInt(), m_entry.parts[Month].toInt(),
                  m_entry.parts[Day].toInt());
    return d.isValid() && d > NoDate && d <= LastDate ? d : QDate();
}

QString DatePicker::entryText() const
{
    QStringList shown;
    for (int part = Day; part <= Year; ++part) {
        const QString &digits = m_entry.parts[part];
        shown << (digits.isEmpty() ? placeholder(part) : digits);
    }
    return shown.join(u'/');
}

QString DatePicker::textFromDateTime(const QDateTime &dateTime) const
{
    return m_entry.active ? entryText() : QDateEdit::textFromDateTime(dateTime);
}

// The picker's own checking would "correct" a typed 31/02 into 29/02 on the screen.
QValidator::State DatePicker::validate(QString &input, int &pos) const
{
    return m_entry.active ? QValidator::Acceptable : QDateEdit::validate(input, pos);
}

void DatePicker::fixup(QString &input) const
{
    if (!m_entry.active)
        QDateEdit::fixup(input);
}

void DatePicker::startEntry()
{
    if (!m_entry.active) {
        const bool shown = date() != minimumDate();
        m_entry = Entry{};
        if (shown) {
            m_entry.parts[Day] = date().toString(QStringLiteral("dd"));
            m_entry.parts[Month] = date().toString(QStringLiteral("MM"));
            m_entry.parts[Year] = date().toString(QStringLiteral("yyyy"));
            // Typing over a shown date starts in the part the cursor is in.
            if (currentSection() == MonthSection)
                m_entry.part = Month;
            else if (currentSection() == YearSection)
                m_entry.part = Year;
        }
        m_entry.active = true;
        // The entry is shown in place of the empty text of "no date".
        setSpecialValueText(QString());
    } else {
        // An unfinished entry is typed again from its first part.
        m_entry.part = Day;
        for (bool &fresh : m_entry.fresh)
            fresh = true;
    }
    m_entry.typing = true;
}

void DatePicker::typeDigit(QChar digit)
{
    if (!m_entry.typing)
        startEntry();
    QString &digits = m_entry.parts[m_entry.part];
    if (m_entry.fresh[m_entry.part]) {
        digits.clear();
        m_entry.fresh[m_entry.part] = false;
    }
    digits += digit;
    if (complete(m_entry.part, digits)) {
        // A complete year starts over with the next digit; a complete day or month moves on.
        if (m_entry.part == Year)
            m_entry.fresh[Year] = true;
        else
            m_entry.fresh[++m_entry.part] = true;
    }
    entryChanged();
}

void DatePicker::typeSeparator()
{
    if (!m_entry.typing)
        return;
    // A separator ends a part of one digit; after a part that moved on by itself it does
    // nothing, so that "14/03/2023" and "14032023" give the same date.
    if (m_entry.part < Year && !m_entry.fresh[m_entry.part] &&
        !m_entry.parts[m_entry.part].isEmpty()) {
        m_entry.fresh[++m_entry.part] = true;
        entryChanged();
    }
}

void DatePicker::eraseDigit()
{
    int part = m_entry.part;
    // Nothing typed in this part yet: the digit before it belongs to the part before.
    if ((m_entry.fresh[part] || m_entry.parts[part].isEmpty()) && part > Day)
        --part;
    m_entry.part = part;
    m_entry.fresh[part] = false;
    m_entry.parts[part].chop(1);
    entryChanged();
}

void DatePicker::entryChanged()
{
    const QDate typed = entryDate();
    if (typed.isValid()) {
        m_byCode = true;
        setDate(typed);
        m_byCode = false;
    }
    // The line edit shows the entry as typed; the picker's own text handling is bypassed.
    const QSignalBlocker quiet(lineEdit());
    lineEdit()->setText(entryText());
    // The cursor stands after what has been typed into the current part.
    qsizetype cursor = 0;
    for (int part = Day; part < m_entry.part; ++part)
        cursor +=
            (m_entry.parts[part].isEmpty() ? placeholder(part) : m_entry.parts[part]).size() + 1;
    const bool yearDone = m_entry.part == Year && m_entry.parts[Year].size() == 4;
    if (!m_entry.fresh[m_entry.part] || yearDone)
        cursor += m_entry.parts[m_entry.part].size();
    lineEdit()->setCursorPosition(int(cursor));
    Q_EMIT isoTextChanged(isoText());
    Q_EMIT edited();
}

void DatePicker::finishTyping()
{
    m_entry.typing = false;
    // A complete date that exists becomes the picker's date; anything else stays as typed.
    if (m_entry.active && entryDate().isValid())
        dropEntry();
}

void DatePicker::dropEntry()
{
    if (!m_entry.active)
        return;
    m_entry = Entry{};
    setSpecialValueText(NoDateText);
    const QSignalBlocker quiet(lineEdit());
    lineEdit()->setText(date() == minimumDate() ? NoDateText : textFromDateTime(dateTime()));
}

void DatePicker::clearByUser()
{
    const QString before = isoText();
    dropEntry();
    setDateQuietly(NoDate);
    if (before != isoText())
        Q_EMIT edited();
}

void DatePicker::keyPressEvent(QKeyEvent *event)
{
    if (isReadOnly() || !isEnabled()) {
        QDateEdit::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    const int key = event->key();
    if (text.size() == 1 && text[0].isDigit() && text[0].unicode() < 128) {
        typeDigit(text[0]);
        return;
    }
    if (text == QStringLiteral("/") || text == QStringLiteral(".") || text == QStringLiteral("-")) {
        typeSeparator();
        return;
    }
    switch (key) {
    case Qt::Key_Backspace:
        if (m_entry.typing)
            eraseDigit();
        else
            clearByUser();
        return;
    case Qt::Key_Delete:
        clearByUser();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Tab leaves the picker instead of walking through its parts.
        finishTyping();
        QWidget::focusNextPrevChild(key == Qt::Key_Tab &&
                                    !(event->modifiers() & Qt::ShiftModifier));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        finishTyping();
        event->ignore();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // Stepping works on a shown date; it never makes one up from nothing.
        if (m_entry.active || date() == minimumDate())
            return;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (m_entry.active)
            return;
        break;
    default:
        if (!text.isEmpty() && text[0].isPrint())
            return; // letters and other signs are no part of a date
        break;
    }
    QDateEdit::keyPressEvent(event);
}

void DatePicker::mousePressEvent(QMouseEvent *event)
{
    finishTyping();
    QDateEdit::mousePressEvent(event);
    // An empty picker opens its calendar on this month rather than on the placeholder day,
    // without choosing a date for the user.
    if (date() == minimumDate() && calendarWidget() && calendarWidget()->isVisible()) {
        const QDate today = QDate::currentDate();
        calendarWidget()->setCurrentPage(today.year(), today.month());
    }
}

void DatePicker::wheelEvent(QWheelEvent *event)
{
    // Scrolling past a picker must not change its date.
    event->ignore();
}

void DatePicker::focusOutEvent(QFocusEvent *event)
{
    finishTyping();
    QDateEdit::focusOutEvent(event);
}

bool DatePicker::focusNextPrevChild(bool next)
{
    finishTyping();
    return QWidget::focusNextPrevChild(next);
}

} // namespace platform
