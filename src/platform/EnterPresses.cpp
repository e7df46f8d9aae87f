#include "platform/EnterPresses.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>

namespace platform {

namespace {

class EnterPresses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        static_cast<QAbstractButton *>(watched)->click();
        return true;
    }
};

} // namespace

void pressOnEnter(QAbstractButton *button)
{
    button->installEventFilter(new EnterPresses(button));
}

} // namespace platform
