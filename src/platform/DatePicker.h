#pragma once

#include <QDateEdit>

namespace platform {

// A date picker with a calendar that can also hold no date, shown as an empty box. Its text
// form is the ISO date, or the empty text for no date.
//
// A date is typed as a person types it, day, month and year in the order shown, with or
// without "/" between them: digits that complete a part move on to the next one, in an empty
// picker as over a shown date. A typed date that is not complete or does not exist stays as it
// was typed, never replaced by another date, until it is corrected; unfinishedEntry() tells.
class DatePicker : public QDateEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget *parent = nullptr);

    bool isNull() const { return !m_entry.active && date() == minimumDate(); }
    void clear() override;
    // The ISO date, the empty text for no date, or the typed text of an unfinished date.
    QString isoText() const;
    // An ISO date, or the empty text for no date. A text that is no date also clears it.
    void setIsoText(const QString &text);
    // The typed text of a date that is incomplete or does not exist; empty otherwise.
    QString unfinishedEntry() const;

Q_SIGNALS:
    void isoTextChanged(const QString &text);
    // The user changed the date: typed, picked from the calendar, stepped or cleared it.
    void edited();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    QString textFromDateTime(const QDateTime &dateTime) const override;
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

private:
    // What has been typed: day, month and year as digit strings.
    struct Entry
    {
        QString parts[3];
        bool fresh[3] = {true, true, true}; // the next digit replaces the part
        int part = 0;                       // the part the next digit goes to
        bool active = false;                // the picker shows the entry, not its date
        bool typing = false;                // the next digit continues this entry
    };

    void startEntry();
    void typeDigit(QChar digit);
    void typeSeparator();
    void eraseDigit();
    void finishTyping();
    void dropEntry();
    void entryChanged();
    QDate entryDate() const;
    QString entryText() const;
    void setDateQuietly(const QDate &date);
    void clearByUser();

    Entry m_entry;
    bool m_byCode = false;
};

} // namespace platform
