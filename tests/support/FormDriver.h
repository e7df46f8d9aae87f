#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include "platform/DataControl.h"
#include "platform/WindowRegistry.h"

// The loaded window of this class when it is visible; none otherwise.
template <typename W> W *shownWindow()
{
    W *window = platform::WindowRegistry::find<W>();
    return window && window->isVisible() ? window : nullptr;
}

// Drives a window by the object names of its controls, as a user would. An action that cannot
// be done says why and returns false, so that the test stops where it went wrong:
// QVERIFY(form.click("cmdSimpan")).
class FormDriver
{
public:
    explicit FormDriver(QWidget *window) : m_window(window) {}

    QWidget *window() const { return m_window; }

    template <typename W = QWidget> W *find(const QString &name) const
    {
        W *widget = m_window->findChild<W *>(name);
        if (!widget)
            qWarning("no control named %s", qPrintable(name));
        return widget;
    }

    [[nodiscard]] bool click(const QString &button) const
    {
        auto *b = find<QAbstractButton>(button);
        if (!b || !b->isVisible() || !b->isEnabled())
            return cannot("click", button);
        QTest::mouseClick(b, Qt::LeftButton);
        return true;
    }

    // Replaces the text of a line edit or an editable combo box by typing.
    [[nodiscard]] bool type(const QString &name, const QString &text) const
    {
        QWidget *w = find(name);
        QLineEdit *edit = qobject_cast<QLineEdit *>(w);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            edit = combo->lineEdit();
        if (!edit)
            return cannot("type into", name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        keys(edit, text);
        return true;
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

    [[nodiscard]] bool navigate(const QString &button) const
    {
        auto *b = data()->findChild<QToolButton *>(button);
        if (!b || !b->isVisible() || !b->isEnabled())
            return cannot("press the navigator's", button);
        QTest::mouseClick(b, Qt::LeftButton);
        return true;
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
    static bool cannot(const char *action, const QString &name)
    {
        qWarning("cannot %s %s", action, qPrintable(name));
        return false;
    }

    QWidget *m_window;
};
