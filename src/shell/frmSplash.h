#pragma once

#include <QColor>
#include <QWidget>

#include <random>

class QFrame;
class QLabel;
class QProgressBar;

namespace platform {
class Timer;
}

// The start-up splash: the product's name over a progress bar that fills in 100 ticks while a
// waiting line flashes in random colours, then the hand-over to the sign-in window. A key
// press or a click on the bare frame closes it, and so ends the program before sign-in.
// Its timers tick at the old desktop's resolution of 1/64 s: the splash shows for about 1.6 s.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);

    // One tick of the progress timer (Timer1) and of the colour timer (Timer2). The timers
    // call these; tests call them directly to step the splash without waiting.
    void progressTick();
    void colourTick();

    // A colour of the 16-colour palette by its index (0 to 15).
    static QColor paletteColour(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFrame();
    void holdWidestPercent();
    void buildTimers();
    void handOver();

    QFrame *m_frame = nullptr;
    QLabel *m_warning = nullptr;
    QLabel *m_percent = nullptr;
    QProgressBar *m_progress = nullptr;
    platform::Timer *m_progressTimer = nullptr;
    platform::Timer *m_colourTimer = nullptr;
    // Never seeded from outside: every run shows the same sequence of colours.
    std::mt19937 m_random;
};
