#include "platform/WholeText.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace platform {

namespace {

// The smallest font a box shrinks to before it grows over its neighbours.
constexpr double SmallestPointSize = 6.5;
constexpr double FontStep = 0.5;
// Beyond this many characters no window shows a text whole; measuring it would only cost.
constexpr int LongestMeasured = 256;
// Room kept between a box that grows and the control beside it.
constexpr int Gap = 2;

// The width the box's text takes with this font, frame, margins and cursor included.
int widthFor(const QLineEdit *box, const QFont &font)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = QRect(0, 0, 1000, box->height());
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins text = box->textMargins();
    // QLineEdit keeps two pixels on each side of the text and one for the cursor.
    const int chrome = option.rect.width() - contents.width() + text.left() + text.right() + 5;
    return QFontMetrics(font).horizontalAdvance(box->text()) + chrome;
}

// How far the box may grow to the right before it meets a neighbour or its parent's edge.
int freeRight(const QLineEdit *box, const QRect &place)
{
    const QWidget *parent = box->parentWidget();
    int right = parent->width();
    for (const QObject *child : parent->children()) {
        const auto *sibling = qobject_cast<const QWidget *>(child);
        if (!sibling || sibling == box || sibling->isHidden() || sibling->isWindow())
            continue;
        const QRect r = sibling->geometry();
        if (r.left() > place.right() && r.top() <= place.bottom() && r.bottom() >= place.top())
            right = std::min(right, r.left() - Gap);
    }
    return std::max(right, place.right() + 1);
}

class WholeText : public QObject
{
public:
    explicit WholeText(QLineEdit *box) : QObject(box), m_box(box)
    {
        connect(box, &QLineEdit::textChanged, this, &WholeText::fit);
        box->installEventFilter(this);
        if (box->parentWidget())
            box->parentWidget()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The window may lay the box or its page out after the text arrived.
        if ((watched == m_box && event->type() == QEvent::Show) ||
            (watched != m_box && event->type() == QEvent::Resize))
            fit();
        return false;
    }

private:
    void fit()
    {
        QLineEdit *box = m_box;
        if (!box->parentWidget())
            return;
        // A place or font that someone else gave the box since it was last fitted is its own.
        if (box->geometry() != m_fitted)
            m_place = box->geometry();
        if (box->font() != m_fittedFont)
            m_font = box->font();
        QRect place = m_place;
        QFont font = m_font;
        if (box->text().size() <= LongestMeasured)
            widen(box, &place, &font);
        m_fitted = place;
        m_fittedFont = font;
        box->setFont(font);
        box->setGeometry(place);
    }

    void widen(QLineEdit *box, QRect *place, QFont *font) const
    {
        const int needed = widthFor(box, *font);
        if (needed <= place->width())
            return;
        const int free = freeRight(box, *place) - place->left();
        if (needed <= free) {
            place->setWidth(needed);
            return;
        }
        place->setWidth(free);
        for (double size = font->pointSizeF() - FontStep; size >= SmallestPointSize;
             size -= FontStep) {
            QFont smaller = *font;
            smaller.setPointSizeF(size);
            if (widthFor(box, smaller) <= free) {
                *font = smaller;
                return;
            }
        }
        // Even the smallest font is too wide: the box grows over its neighbours, within its
        // window, in the font it had.
        const int parentWidth = box->parentWidget()->width();
        const int width = std::min(needed, parentWidth);
        place->setWidth(width);
        place->moveLeft(std::min(m_place.left(), parentWidth - width));
        box->raise();
    }

    QPointer<QLineEdit> m_box;
    QRect m_place;
    QFont m_font;
    QRect m_fitted;
    QFont m_fittedFont;
};

} // namespace

void showWhole(QLineEdit *box)
{
    new WholeText(box);
}

} // namespace platform
