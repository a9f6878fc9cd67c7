#include "shell/SplashForm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

TSplashDlg* SplashDlg = nullptr;

namespace {
constexpr int SplashWidth = 570;
constexpr int SplashHeight = 330;
constexpr double SplashOpacity = 200.0 / 255.0;
} // namespace

TSplashDlg::TSplashDlg(QWidget* owner) : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint) {
    Image1 = new QLabel(this);
    const QPixmap picture(QStringLiteral(":/art/splash.jpg"));
    Image1->setPixmap(picture);
    // The window is sized to its picture; without artwork it keeps the picture's designed size.
    const QSize size = picture.isNull() ? QSize(SplashWidth, SplashHeight) : picture.size();
    Image1->setGeometry(0, 0, size.width(), size.height());
    setFixedSize(size);
    setWindowOpacity(SplashOpacity);
    FormCreate();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.x() + (desktop.width() - width()) / 2, desktop.y() + (desktop.height() - height()) / 2);
    }
}

void TSplashDlg::FormCreate() {
    // Qt paints every widget through an off-screen buffer already; the splash needs nothing more.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

quint32 GetTickCount() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return quint32(clock.elapsed());
}

void ShowSplash(quint32 minimumMs, const TTickSource& tick, const std::function<void()>& whileShown) {
    SplashDlg = new TSplashDlg();
    SplashDlg->show();
    const quint32 first = tick();
    if (whileShown) {
        QCoreApplication::processEvents();
        whileShown();
    }
    for (quint32 passed = 0; (passed = quint32(tick() - first)) < minimumMs;) {
        // Handle every pending message, then sleep in the event loop until the next one or until
        // the rest of the wait is over.
        QEventLoop loop;
        QTimer::singleShot(int(minimumMs - passed), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void HideSplash() {
    if (!SplashDlg)
        return;
    SplashDlg->hide();
    delete SplashDlg;
    SplashDlg = nullptr;
}
