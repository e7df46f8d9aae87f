#include "platform/DatePicker.h"

#include <QKeyEvent>

namespace platform {

namespace {

// The day before the first day the picker offers stands for "no date".
const QDate NoDate(1600, 12, 31);
const QDate LastDate(9999, 12, 31);

} // namespace

DatePicker::DatePicker(QWidget *parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setDateRange(NoDate, LastDate);
    setSpecialValueText(QStringLiteral(" "));
    setDate(NoDate);
    connect(this, &QDateEdit::dateChanged, this, [this] { Q_EMIT isoTextChanged(isoText()); });
}

void DatePicker::clear()
{
    setDate(NoDate);
}

QString DatePicker::isoText() const
{
    return isNull() ? QString() : date().toString(Qt::ISODate);
}

void DatePicker::setIsoText(const QString &text)
{
    const QDate d = QDate::fromString(text, Qt::ISODate);
    setDate(d.isValid() && d > NoDate ? d : NoDate);
}

void DatePicker::keyPressEvent(QKeyEvent *event)
{
    // Delete and Backspace take the date away altogether.
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        if (!isReadOnly()) {
            clear();
            return;
        }
    }
    QDateEdit::keyPressEvent(event);
}

void DatePicker::mousePressEvent(QMouseEvent *event)
{
    // An empty picker opens its calendar on today rather than on the placeholder day.
    if (isNull() && isEnabled() && !isReadOnly())
        setDate(QDate::currentDate());
    QDateEdit::mousePressEvent(event);
}

} // namespace platform
