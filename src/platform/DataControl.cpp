#include "platform/DataControl.h"

#include "platform/BusyPointer.h"
#include "platform/DataCombo.h"
#include "platform/DatePicker.h"
#include "platform/EnterPresses.h"
#include "platform/Messages.h"
#include "platform/WholeText.h"
#include "store/Values.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

#include <limits>

namespace platform {

namespace {

QString widgetText(const QWidget *widget)
{
    if (auto *picker = qobject_cast<const DatePicker *>(widget))
        return picker->isoText();
    if (auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->currentText();
    if (auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    return {};
}

void setWidgetText(QWidget *widget, const QString &text)
{
    if (auto *picker = qobject_cast<DatePicker *>(widget))
        picker->setIsoText(text);
    else if (auto *data = qobject_cast<DataCombo *>(widget))
        data->setValue(text);
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setEditText(text);
    else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setText(text);
        // A record's text is read from its start, also in a box narrower than the text.
        edit->setCursorPosition(0);
    }
}

// An empty box stores no value, as an unset field would.
QVariant storedValue(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

Outcome Outcome::refused(Refusal refusal)
{
    Outcome outcome{store::Status::success()};
    outcome.m_kind = Kind::Refused;
    outcome.m_refusal = std::move(refusal);
    return outcome;
}

QString PendingRecord::text(const QString &field) const
{
    for (const auto &[name, value] : m_fields) {
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            return value.toString();
    }
    return {};
}

void PendingRecord::set(const QString &field, const QVariant &value)
{
    for (auto &[name, stored] : m_fields) {
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            stored = value;
    }
}

DataControl::DataControl(const QString &table, QWidget *parent) : QWidget(parent), m_records(table)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const struct
    {
        QStyle::StandardPixmap icon;
        Action action;
        const char *name;
    } buttons[] = {{QStyle::SP_MediaSkipBackward, MoveFirst, "First"},
                   {QStyle::SP_MediaSeekBackward, MovePrevious, "Previous"},
                   {QStyle::SP_MediaSeekForward, MoveNext, "Next"},
                   {QStyle::SP_MediaSkipForward, MoveLast, "Last"}};
    for (int i = 0; i < 4; ++i) {
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(buttons[i].name));
        button->setIcon(style()->standardIcon(buttons[i].icon));
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::TabFocus);
        pressOnEnter(button);
        const Action action = buttons[i].action;
        connect(button, &QToolButton::clicked, this, [this, action] { navigate(action); });
        if (i == 2) {
            m_caption = new QLabel(QStringLiteral("Data1"), this);
            m_caption->setObjectName(QStringLiteral("caption"));
            m_caption->setAlignment(Qt::AlignCenter);
            m_caption->setAutoFillBackground(true);
            m_caption->setStyleSheet(QStringLiteral("background: white; color: black;"));
            layout->addWidget(m_caption, 1);
        }
        layout->addWidget(button);
    }
}

void DataControl::bind(QWidget *widget, const QString &field)
{
    // A line edit keeps only its first 32,767 characters, which would cut a longer text
    // short without a word. A field holds texts of any length, so its box must too.
    QLineEdit *edit = qobject_cast<QLineEdit *>(widget);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        edit = combo->lineEdit();
    if (edit)
        edit->setMaxLength(std::numeric_limits<int>::max());
    if (edit == widget)
        showWhole(edit);
    m_bindings.append({widget, field, QString()});
    // What the user types into a bound widget starts a change of the record shown; what code
    // writes into it (the record, a look-up) does not.
    if (auto *picker = qobject_cast<DatePicker *>(widget))
        connect(picker, &DatePicker::edited, this, &DataControl::userEdited);
    else if (edit)
        connect(edit, &QLineEdit::textEdited, this, &DataControl::userEdited);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        connect(combo, &QComboBox::activated, this, &DataControl::userEdited);
}

void DataControl::userEdited()
{
    // Typing into the shown record with nothing pending is an implicit edit, as the
    // platform's data control does: the save then stores it and a cancel drops it.
    if (m_displaying || isEditing() || !m_records.hasCurrent())
        return;
    if (!m_records.edit().ok())
        return; // the record cannot be read now; the save will say why
}

void DataControl::open()
{
    const busy::Scope busy;
    const store::Status status = m_records.open();
    display();
    if (!status.ok()) {
        raiseError(status);
        return;
    }
    Q_EMIT reposition();
}

QString DataControl::caption() const
{
    return m_caption->text();
}

void DataControl::setCaption(const QString &caption)
{
    m_caption->setText(caption);
}

void DataControl::display()
{
    // A record that cannot be read is shown empty, and read again when it is next shown.
    m_lastRead = m_records.readCurrent();
    const store::Status &read = m_lastRead;
    // Look-ups hang on the code combo boxes: fill them after the plain fields, so that what a
    // look-up writes is not overwritten by the stored text of the field it fills.
    const bool blank = m_records.editMode() == store::Recordset::EditMode::Adding || !read.ok();
    m_displaying = true;
    for (int pass = 0; pass < 2; ++pass) {
        for (Binding &b : m_bindings) {
            if (!b.widget || (qobject_cast<DataCombo *>(b.widget) != nullptr) != (pass == 1))
                continue;
            setWidgetText(b.widget, blank ? QString() : store::editText(m_records.value(b.field)));
        }
    }
    // What the record and its look-ups show counts as unchanged: only later edits, by the user
    // or by a look-up that an edit sets off, make the record worth writing when it is left.
    for (Binding &b : m_bindings) {
        if (b.widget)
            b.shown = widgetText(b.widget);
    }
    m_displaying = false;
}

bool DataControl::hasChanges() const
{
    for (const Binding &b : m_bindings) {
        if (b.widget && widgetText(b.widget) != b.shown)
            return true;
    }
    return false;
}

bool DataControl::isChanged(const QWidget *widget) const
{
    for (const Binding &b : m_bindings) {
        if (b.widget == widget)
            return widgetText(b.widget) != b.shown;
    }
    return false;
}

Outcome DataControl::writeBound(Action action)
{
    // A date typed only in part, or one that does not exist, is refused before anything is
    // written: it is never stored as another date or as none.
    for (const Binding &b : m_bindings) {
        auto *picker = qobject_cast<const DatePicker *>(b.widget.data());
        if (picker && !picker->unfinishedEntry().isEmpty())
            return store::Status::failure(
                store::Status::Kind::NotADate,
                QStringLiteral("Tanggal \"%1\" tidak lengkap atau tidak ada.")
                    .arg(picker->unfinishedEntry()));
    }
    PendingRecord record;
    for (const Binding &b : m_bindings) {
        if (b.widget)
            record.m_fields.append({b.field, storedValue(widgetText(b.widget))});
    }
    // The boxes keep what the user typed whatever the check makes of it: what is stored shows
    // once the write succeeded.
    if (m_check) {
        if (std::optional<Refusal> refusal = m_check(action, record))
            return Outcome::refused(std::move(*refusal));
    }
    for (const auto &[field, value] : std::as_const(record.m_fields)) {
        const store::Status status = m_records.setValue(field, value);
        if (!status.ok())
            return status;
    }
    return m_records.update();
}

Outcome DataControl::save(Action action, bool save)
{
    const busy::Scope busy;
    Q_EMIT validate(action, &save);
    if (!save) {
        // The handler kept the boxes out of the record: nothing is stored, and a change the
        // user asked to save stays pending.
        if (action == Update)
            return Outcome::refused({});
        // A new record that was never filled in is dropped when it is left.
        if (m_records.editMode() == store::Recordset::EditMode::Adding)
            m_records.cancelUpdate();
        return store::Status::success();
    }
    if (!isEditing()) {
        // With no record shown there is nothing that the typed texts could belong to.
        if (!m_records.hasCurrent()) {
            display();
            return action == Update
                       ? store::Status::failure(store::Status::Kind::NoCurrentRecord, QString())
                       : store::Status::success();
        }
        if (const store::Status status = m_records.edit(); !status.ok())
            return status;
    }
    return writeBound(action);
}

Outcome DataControl::move(Action action)
{
    const busy::Scope busy;
    const Outcome saved = save(action, hasChanges());
    if (!saved.ok())
        return saved;
    m_records.cancelUpdate();
    store::Status status;
    switch (action) {
    case MoveFirst:
        status = m_records.moveFirst();
        break;
    case MovePrevious:
        status = m_records.movePrevious();
        break;
    case MoveNext:
        status = m_records.moveNext();
        break;
    default:
        status = m_records.moveLast();
        break;
    }
    display();
    const store::Status read = m_lastRead;
    if (!status.ok())
        return status;
    Q_EMIT reposition();
    return read;
}

void DataControl::navigate(Action action)
{
    const Outcome moved = move(action);
    if (moved.status().kind() != store::Status::Kind::NoCurrentRecord)
        tell(moved);
}

void DataControl::tell(const Outcome &outcome)
{
    if (outcome.kind() == Outcome::Kind::Failed)
        raiseError(outcome.status());
    else if (outcome.kind() == Outcome::Kind::Refused && !outcome.refusal().text.isEmpty())
        Messages::instance().message(outcome.refusal().text, outcome.refusal().title,
                                     Icon::Information, Buttons::Ok);
}

Outcome DataControl::addNew()
{
    const busy::Scope busy;
    const Outcome saved = save(AddNew, hasChanges());
    if (!saved.ok())
        return saved;
    m_records.cancelUpdate();
    const store::Status added = m_records.addNew();
    if (!added.ok())
        return added;
    display();
    Q_EMIT reposition();
    return added;
}

store::Status DataControl::edit()
{
    // Typing may have started the change already; what it typed stays.
    if (isEditing())
        return store::Status::success();
    const store::Status status = m_records.edit();
    // The boxes show what is stored: nothing when there is no record, the record when it
    // could not be read before.
    display();
    return status;
}

Outcome DataControl::update()
{
    const Outcome saved = save(Update, true);
    if (saved.ok())
        display();
    return saved;
}

store::Status DataControl::cancelUpdate()
{
    // Whatever the widgets hold that is not stored is dropped too, pending or not.
    m_records.cancelUpdate();
    display();
    return store::Status::success();
}

Outcome DataControl::remove()
{
    const busy::Scope busy;
    // A new record that is still being filled in is not a record that can be deleted.
    if (m_records.editMode() == store::Recordset::EditMode::Adding)
        return store::Status::failure(store::Status::Kind::NoCurrentRecord, QString());
    // What the boxes hold goes with the record, unless a handler asks for it to be written
    // first.
    const Outcome saved = save(Delete, false);
    if (!saved.ok())
        return saved;
    const store::Status status = m_records.remove();
    if (status.ok())
        display();
    return status;
}

store::Status DataControl::refresh()
{
    const busy::Scope busy;
    const store::Status status = m_records.refresh();
    display();
    if (status.ok())
        Q_EMIT reposition();
    return status;
}

Outcome DataControl::findFirst(const QString &column, const QString &value)
{
    const busy::Scope busy;
    const Outcome saved = save(Find, hasChanges());
    if (!saved.ok())
        return saved;
    const store::Status status = m_records.findFirst(column, value);
    if (!status.ok() || m_records.noMatch())
        return status;
    m_records.cancelUpdate();
    display();
    const store::Status read = m_lastRead;
    Q_EMIT reposition();
    return read;
}

Outcome DataControl::raiseClose()
{
    const Outcome saved = save(Close, hasChanges());
    tell(saved);
    return saved;
}

void DataControl::raiseError(const store::Status &status)
{
    int response = 1;
    Q_EMIT error(status, &response);
    if (response != 0)
        Messages::instance().message(status.message(), QString(), Icon::None, Buttons::Ok);
}

} // namespace platform
