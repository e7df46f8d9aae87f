#include "platform/Messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

namespace platform {

namespace {

// Notes the window of every key and mouse press, before the press is handled: the handler
// that then shows a message belongs to that window.
class PressWatcher : public QObject
{
public:
    QPointer<QWidget> lastPressed;

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress) {
            if (auto *widget = qobject_cast<QWidget *>(receiver))
                lastPressed = widget->window();
        }
        return false;
    }
};

PressWatcher *&watcher()
{
    static PressWatcher *installed = nullptr;
    return installed;
}

QString titleOrDefault(const QString &title)
{
    return title.isEmpty() ? applicationTitle() : title;
}

class RealMessages : public Messages
{
public:
    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        QMessageBox box(askingWindow());
        box.setWindowTitle(titleOrDefault(title));
        box.setText(text);
        box.setIcon(icon == Icon::Information ? QMessageBox::Information
                    : icon == Icon::Question  ? QMessageBox::Question
                                              : QMessageBox::NoIcon);
        if (buttons == Buttons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
        }
        const int result = box.exec();
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }

    QString input(const QString &prompt, const QString &title) override
    {
        bool accepted = false;
        const QString answer = QInputDialog::getText(askingWindow(), titleOrDefault(title), prompt,
                                                     QLineEdit::Normal, QString(), &accepted);
        return accepted ? answer : QString();
    }

    QString openFileName(const QString &title, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(askingWindow(), titleOrDefault(title), QString(),
                                            filter);
    }
};

Messages *&installed()
{
    static Messages *dialogs = nullptr;
    return dialogs;
}

} // namespace

void watchAskingWindow()
{
    if (watcher() || !qApp)
        return;
    watcher() = new PressWatcher;
    watcher()->setParent(qApp);
    qApp->installEventFilter(watcher());
}

QWidget *askingWindow()
{
    QWidget *pressed = watcher() ? watcher()->lastPressed.data() : nullptr;
    if (pressed && pressed->isVisible())
        return pressed;
    return QApplication::activeWindow();
}

QString applicationTitle()
{
    return QStringLiteral("Kelvara");
}

Messages &Messages::instance()
{
    static RealMessages real;
    return installed() ? *installed() : real;
}

QString Messages::openFileName(const QString &, const QString &)
{
    return {};
}

void Messages::install(Messages *dialogs)
{
    installed() = dialogs;
}

} // namespace platform
