#pragma once

#include <QWidget>
#include <functional>

class QLabel;

// The frameless, translucent splash window shown for one second while the program starts.
class TSplashDlg : public QWidget {
    Q_OBJECT
public:
    explicit TSplashDlg(QWidget* owner = nullptr);

    QLabel* Image1 = nullptr;

private:
    void FormCreate();
};

// Set while the splash is shown, cleared when it is destroyed.
extern TSplashDlg* SplashDlg;

// A 32-bit millisecond tick counter (monotonic, wrapping at 2^32).
using TTickSource = std::function<quint32()>;
quint32 GetTickCount();

// Creates and shows the splash, then handles window messages until at least minimumMs have passed on
// the tick counter. The difference is taken modulo 2^32, so a wrap of the counter does not prolong the
// wait. Between messages the thread sleeps instead of spinning. `whileShown`, when given, runs once
// inside the wait, after the splash has been painted (start-up uses it to load what the main window
// needs, so that the window appears sooner after the splash).
void ShowSplash(quint32 minimumMs = 1000, const TTickSource& tick = GetTickCount,
                const std::function<void()>& whileShown = {});
// Hides and destroys the splash and clears its reference.
void HideSplash();
