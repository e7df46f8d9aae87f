#include "shell/ShellSupport.h"

#include "language/Language.h"
#include "platform/Appearance.h"
#include "platform/FontSubstitutes.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QWidget>

// The resources live in a static library: they must be registered by hand before first use.
static void registerAssets()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(assets);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

// The application's style, except that password boxes show "*".
class StarPasswordStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returned) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return u'*';
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

namespace shell {

QPixmap logoPixmap()
{
    registerAssets();
    return QPixmap(QStringLiteral(":/kelvara/kelvara.png"));
}

QIcon logoIcon()
{
    registerAssets();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addFile(QStringLiteral(":/kelvara/icons/kelvara-%1.png").arg(size), QSize(size, size));
    icon.addFile(QStringLiteral(":/kelvara/kelvara.png"), QSize(256, 256));
    return icon;
}

void prepareProgram()
{
    language::useIndonesian();
    // Every window, message box and preview carries the program's icon, not only the main
    // window.
    QApplication::setWindowIcon(logoIcon());
    // The windows and reports name Windows fonts; the free look-alikes must stand in for them
    // before the first window measures its text.
    platform::installFontSubstitutes();
    // Message boxes appear over the window whose key or button asked for them.
    platform::watchAskingWindow();
}

QColor highlightText()
{
    return QApplication::palette().color(QPalette::HighlightedText);
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &place,
                  const QColor &background, const QColor &foreground)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    platform::fillBackground(label, background);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, foreground);
    label->setPalette(palette);
    return label;
}

void showPasswordAsStars(QLineEdit *box)
{
    auto *style = new StarPasswordStyle;
    style->setParent(box);
    box->setStyle(style);
    box->setEchoMode(QLineEdit::Password);
}

} // namespace shell
