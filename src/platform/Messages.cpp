#include "platform/Messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

namespace {

QString titleOrDefault(const QString &title)
{
    return title.isEmpty() ? applicationTitle() : title;
}

class RealMessages : public Messages
{
public:
    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        QMessageBox box(QApplication::activeWindow());
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
        const QString answer =
            QInputDialog::getText(QApplication::activeWindow(), titleOrDefault(title), prompt,
                                  QLineEdit::Normal, QString(), &accepted);
        return accepted ? answer : QString();
    }

    QString openFileName(const QString &title, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), titleOrDefault(title),
                                            QString(), filter);
    }
};

Messages *&installed()
{
    static Messages *dialogs = nullptr;
    return dialogs;
}

} // namespace

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
