#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

// How the program's windows look: their place on the screen, their background and their fonts.
namespace platform {

// Places a window in the middle of the screen it will appear on.
void centreOnScreen(QWidget *window);

// Moves a window, shrinking it if it must, into the largest stretch of the screen beside
// another window, so that the other stays in sight.
void placeBeside(QWidget *window, const QWidget *keepInSight);

// Paints a widget's background in one colour; its children keep their own palettes.
void fillBackground(QWidget *widget, const QColor &colour);

// A font of a family at a point size.
QFont font(const QString &family, double pointSize, bool bold = false, bool italic = false);

} // namespace platform

namespace platform::colors {

// The program's window background.
inline QColor teal()
{
    return QColor(0, 128, 128);
}

} // namespace platform::colors
