#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// Small pieces the start-up windows and the main window share.
namespace shell {

// The program's logo, compiled into the shell library.
QPixmap logoPixmap();
QIcon logoIcon();

// What the program sets up before its first window: Indonesian texts and dates, the icon of
// every window, the fonts that stand in for the Windows ones.
void prepareProgram();

// The system's highlight-text colour, which several captions use for their text.
QColor highlightText();

// A label with its object name, text, place (in pixels), background and text colour.
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &place,
                  const QColor &background, const QColor &foreground);

// Hides what is typed in a box behind one "*" per character (the style's default is a dot).
void showPasswordAsStars(QLineEdit *box);

} // namespace shell
