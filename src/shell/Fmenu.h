#pragma once

#include <QWidget>

class QMenuBar;

// The main window: a teal surface under the menu bar from which every other window opens,
// and the exit question.
class Fmenu : public QWidget
{
    Q_OBJECT

public:
    explicit Fmenu(QWidget *parent = nullptr);

private:
    void buildMenus();
    void confirmExit();

    void showEmployees();
    void showDepartments();
    void showRanks();
    void showLeaveCards();
    void showLeaveProcessing();
    void showPaymentSlip();
    void showReportSelection();
    void showHistory();
    void showAbout();

    QMenuBar *m_menuBar = nullptr;
};
