#pragma once

#include <QDateEdit>

namespace platform {

// A date picker with a calendar that can also hold no date, shown as an empty box. Its text
// form is the ISO date, or the empty text for no date.
class DatePicker : public QDateEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget *parent = nullptr);

    bool isNull() const { return date() == minimumDate(); }
    void clear() override;
    QString isoText() const;
    // An ISO date, or the empty text for no date. A text that is no date also clears it.
    void setIsoText(const QString &text);

Q_SIGNALS:
    void isoTextChanged(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace platform
