#include "platform/Appearance.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace platform {

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect place(QPoint(0, 0), window->size());
    place.moveCenter(screen->availableGeometry().center());
    window->move(place.topLeft());
}

void placeBeside(QWidget *window, const QWidget *keepInSight)
{
    const QScreen *screen = keepInSight->screen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    const QRect kept = keepInSight->frameGeometry();
    // The four stretches of the screen around the window kept in sight; the largest wins.
    const QRect stretches[] = {
        QRect(QPoint(kept.right() + 1, free.top()), free.bottomRight()),
        QRect(free.topLeft(), QPoint(kept.left() - 1, free.bottom())),
        QRect(QPoint(free.left(), kept.bottom() + 1), free.bottomRight()),
        QRect(free.topLeft(), QPoint(free.right(), kept.top() - 1)),
    };
    const auto area = [](const QRect &r) {
        return r.isValid() ? r.width() * r.height() : 0;
    };
    const QRect *best =
        std::max_element(std::begin(stretches), std::end(stretches),
                         [&](const QRect &a, const QRect &b) { return area(a) < area(b); });
    if (area(*best) == 0)
        return;
    // The window's frame (title bar and borders) counts against the stretch as well.
    const QSize frame = window->frameGeometry().size() - window->size();
    const QSize room = best->size() - frame;
    window->resize(window->size().boundedTo(room));
    window->move(best->topLeft());
}

void fillBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    // A button fills with its button colour unless told to use the window colour.
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

QFont font(const QString &family, double pointSize, bool bold, bool italic)
{
    QFont result(family);
    result.setPointSizeF(pointSize);
    result.setBold(bold);
    result.setItalic(italic);
    return result;
}

} // namespace platform
