#pragma once

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QWidget>

// Whether a box or a label shows all of a text: the text's width in the widget's font fits
// the room the widget keeps for it, and the widget lies inside its parent.
inline bool showsWhole(const QWidget *widget, const QString &text)
{
    int room = widget->contentsRect().width();
    if (const auto *box = qobject_cast<const QLineEdit *>(widget)) {
        const int frame =
            box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        // A line edit keeps two pixels beside its text on either side and one for the cursor.
        room = box->width() - 2 * frame - 4 - 1;
    }
    return QFontMetrics(widget->font()).horizontalAdvance(text) <= room &&
           widget->parentWidget()->rect().contains(widget->geometry());
}
