#include "shell/Fmenu.h"

#include "leave/FCuti.h"
#include "masters/Fdepartemen.h"
#include "masters/Fkartucuti.h"
#include "masters/Fpegawai.h"
#include "masters/Fperingkat.h"
#include "platform/Appearance.h"
#include "platform/BusyPointer.h"
#include "platform/Messages.h"
#include "platform/Twips.h"
#include "platform/WindowRegistry.h"
#include "reports/DataReport2.h"
#include "reports/Dialog.h"
#include "reports/LaporanRiwayat.h"
#include "shell/ShellSupport.h"
#include "shell/frmAbout.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

struct MenuEntry
{
    const char *name;
    const char *caption;
    QKeySequence shortcut;
    void (Fmenu::*open)();
};

} // namespace

Fmenu::Fmenu(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Fmenu"));
    setWindowTitle(QStringLiteral("Program Utama - Kelvara PT. MARDEKO INDONESIA"));
    setWindowIcon(shell::logoIcon());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    layout->setMenuBar(m_menuBar);
    auto *surface = new QWidget(this);
    surface->setObjectName(QStringLiteral("surface"));
    platform::fillBackground(surface, platform::colors::teal());
    layout->addWidget(surface);

    buildMenus();
    const QSize client = platform::twips::size(6975, 4980);
    resize(client.width(), client.height() + m_menuBar->sizeHint().height());
    platform::centreOnScreen(this);
}

void Fmenu::buildMenus()
{
    struct Menu
    {
        const char *name;
        const char *caption;
        std::initializer_list<MenuEntry> entries;
    };
    const Menu menus[] = {
        {"mnfile",
         "&File",
         {{"mnfilepegawai", "&Pegawai", QKeySequence(Qt::CTRL | Qt::Key_P), &Fmenu::showEmployees},
          {"mnfiledepartemen", "&Departemen", QKeySequence(Qt::CTRL | Qt::Key_D),
           &Fmenu::showDepartments},
          {"mnfileperingkat", "&Peringkat", QKeySequence(Qt::CTRL | Qt::Key_J), &Fmenu::showRanks},
          {"mnkartu", "&Kartu Cuti", QKeySequence(Qt::CTRL | Qt::Key_K), &Fmenu::showLeaveCards}}},
        {"mnproses",
         "&Proses",
         {{"mnprosescuti", "Proses &Cuti", QKeySequence(Qt::CTRL | Qt::Key_C),
           &Fmenu::showLeaveProcessing}}},
        {"mnlaporan",
         "&Report",
         {{"mnslip", "Slip Pembayaran Uang Sisa Cuti", QKeySequence(Qt::Key_F1),
           &Fmenu::showPaymentSlip},
          {"mnlaporanuangcuti", "Laporan Pembayaran Uang Cuti", QKeySequence(Qt::Key_F2),
           &Fmenu::showReportSelection},
          {"mnriwayat", "Riwayat Perubahan Data", QKeySequence(Qt::Key_F3), &Fmenu::showHistory}}},
        {"mnhelp", "&Help", {{"mnabout", "&About", QKeySequence(Qt::Key_F5), &Fmenu::showAbout}}},
    };
    for (const Menu &menu : menus) {
        QMenu *dropDown = m_menuBar->addMenu(QString::fromUtf8(menu.caption));
        dropDown->setObjectName(QString::fromUtf8(menu.name));
        for (const MenuEntry &entry : menu.entries) {
            QAction *action = dropDown->addAction(QString::fromUtf8(entry.caption));
            action->setObjectName(QString::fromUtf8(entry.name));
            action->setShortcut(entry.shortcut);
            // On the window as well, so the shortcut works without the menu ever opening.
            addAction(action);
            connect(action, &QAction::triggered, this, entry.open);
        }
    }
    QAction *exit = m_menuBar->addAction(QStringLiteral("&Keluar"));
    exit->setObjectName(QStringLiteral("mnKeluar"));
    connect(exit, &QAction::triggered, this, &Fmenu::confirmExit);
}

void Fmenu::confirmExit()
{
    const QString text = QStringLiteral("Apakah Anda Yakin Akan Keluar ?") + QChar(13) +
                         QStringLiteral("Terima Kasih Atas Waktunya");
    const platform::Answer answer = platform::Messages::instance().message(
        text, QStringLiteral("Exit Program"), platform::Icon::Question, platform::Buttons::YesNo);
    if (answer == platform::Answer::Yes)
        close();
    platform::busy::setNormal();
}

// Each entry shows its window through the registry: loaded on first use, otherwise raised.

void Fmenu::showEmployees()
{
    platform::WindowRegistry::show<Fpegawai>();
}

void Fmenu::showDepartments()
{
    platform::WindowRegistry::show<Fdepartemen>();
}

void Fmenu::showRanks()
{
    platform::WindowRegistry::show<Fperingkat>();
}

void Fmenu::showLeaveCards()
{
    platform::WindowRegistry::show<Fkartucuti>();
}

void Fmenu::showLeaveProcessing()
{
    platform::WindowRegistry::show<FCuti>();
}

void Fmenu::showPaymentSlip()
{
    platform::WindowRegistry::show<DataReport2>();
}

void Fmenu::showReportSelection()
{
    platform::WindowRegistry::show<Dialog>();
}

void Fmenu::showHistory()
{
    platform::WindowRegistry::show<LaporanRiwayat>();
}

void Fmenu::showAbout()
{
    platform::WindowRegistry::show<frmAbout>();
}
