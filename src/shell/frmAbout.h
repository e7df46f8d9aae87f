#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// "Version " and the three parts of a version number, each in plain decimal.
QString versionText(int major, int minor, int revision);

// The about box: the product's name, this build's version, the maker's credit and a warning
// notice, with OK and a button that starts the system-information program. OK, Enter and
// Escape close it.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildTexts();
    void buildSeparator();
    void buildButtons();
    void showSystemInfo();

    QLabel *m_version = nullptr;
    QPushButton *m_ok = nullptr;
};
