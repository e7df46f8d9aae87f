#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include "platform/DataControl.h"

// Drives a window by the object names of its controls, as a user would.
class FormDriver
{
public:
    explicit FormDriver(QWidget *window) : m_window(window) {}

    template <typename W = QWidget> W *find(const QString &name) const
    {
        W *widget = m_window->findChild<W *>(name);
        if (!widget)
            qWarning("no control named %s", qPrintable(name));
        return widget;
    }

    void click(const QString &button) const
    {
        auto *b = find<QAbstractButton>(button);
        QVERIFY2(b && b->isVisible() && b->isEnabled(), qPrintable(button));
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Replaces the text of a line edit or an editable combo box by typing.
    void type(const QString &name, const QString &text) const
    {
        QWidget *w = find(name);
        QLineEdit *edit = qobject_cast<QLineEdit *>(w);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            edit = combo->lineEdit();
        QVERIFY2(edit, qPrintable(name));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        keys(edit, text);
    }

    // Types a text key by key; letters beyond ASCII arrive as a keyboard layout sends them.
    static void keys(QWidget *widget, const QString &text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(widget, char(c.unicode()));
                continue;
            }
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }

    QString text(const QString &name) const
    {
        QWidget *w = find(name);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            return combo->currentText();
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            return edit->text();
        return {};
    }

    platform::DataControl *data(const QString &name = QStringLiteral("Data1")) const
    {
        return find<platform::DataControl>(name);
    }

    QString caption() const { return data()->caption(); }

    void navigate(const QString &button) const
    {
        auto *b = data()->findChild<QToolButton *>(button);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    bool inEditMode() const
    {
        return find("cmdSimpan")->isVisible() && find("Command1")->isVisible() &&
               !find("cmdTambah")->isVisible() && !find("cmdRubah")->isVisible();
    }
    bool inViewMode() const
    {
        return !find("cmdSimpan")->isVisible() && !find("Command1")->isVisible() &&
               find("cmdTambah")->isVisible() && find("cmdRubah")->isVisible();
    }

private:
    QWidget *m_window;
};
