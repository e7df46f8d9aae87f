#include "platform/Appearance.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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
