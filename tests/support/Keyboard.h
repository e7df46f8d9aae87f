#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

// Types a text into a widget key by key, as a keyboard would. QTest::keyClicks knows only
// ASCII; other characters (Ü, é) arrive as key events that carry the character as their text.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
