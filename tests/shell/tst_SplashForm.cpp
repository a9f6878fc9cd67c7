#include "shell/SplashForm.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

class TestSplashForm : public QObject {
    Q_OBJECT
private slots:
    void staysUpForOneSecond_data();
    void staysUpForOneSecond();
    void windowLook();
    void hideDestroysAndClears();
    void workWhileShownRunsOnceWithTheSplashUp();
};

void TestSplashForm::staysUpForOneSecond_data() {
    QTest::addColumn<quint32>("start");
    QTest::addRow("counter far from its wrap") << quint32(5000);
    QTest::addRow("counter wraps during the wait") << quint32(0xFFFFFFFFu - 300);
}

// The wait counts on a 32-bit tick counter; a wrap must neither end it early nor prolong it.
void TestSplashForm::staysUpForOneSecond() {
    QFETCH(quint32, start);
    QElapsedTimer real;
    real.start();
    const TTickSource tick = [&] { return quint32(start + quint32(real.elapsed())); };
    bool visibleDuringWait = false;
    QTimer::singleShot(500, [&] { visibleDuringWait = SplashDlg && SplashDlg->isVisible(); });
    ShowSplash(1000, tick);
    const qint64 waited = real.elapsed();
    QVERIFY2(waited >= 1000, qPrintable(QString::number(waited)));
    QVERIFY2(waited < 1500, qPrintable(QString::number(waited)));
    QVERIFY(visibleDuringWait);
    HideSplash();
}

void TestSplashForm::windowLook() {
    ShowSplash(0);
    QVERIFY(SplashDlg);
    QCOMPARE(SplashDlg->size(), QSize(570, 330));
    QVERIFY(SplashDlg->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(qRound(SplashDlg->windowOpacity() * 255), 200);
    QVERIFY(!SplashDlg->Image1->pixmap().isNull());
    QCOMPARE(SplashDlg->Image1->pixmap().size(), QSize(570, 330));
    HideSplash();
}

void TestSplashForm::hideDestroysAndClears() {
    ShowSplash(0);
    QPointer<TSplashDlg> splash = SplashDlg;
    HideSplash();
    QVERIFY(!SplashDlg);
    QVERIFY(splash.isNull());
    HideSplash(); // a second call is harmless
}

void TestSplashForm::workWhileShownRunsOnceWithTheSplashUp() {
    int runs = 0;
    bool splashUp = false;
    QElapsedTimer real;
    real.start();
    ShowSplash(300, GetTickCount, [&] {
        ++runs;
        splashUp = SplashDlg && SplashDlg->isVisible();
    });
    QVERIFY(real.elapsed() >= 300);
    QCOMPARE(runs, 1);
    QVERIFY(splashUp);
    HideSplash();
}

QTEST_MAIN(TestSplashForm)
#include "tst_SplashForm.moc"
