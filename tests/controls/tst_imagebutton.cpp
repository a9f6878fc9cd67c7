// Mouse events go through the window, as real ones do: grabs, enter/leave and double clicks.
#define QTEST_QPA_MOUSE_HANDLING
#include "controls/imagebutton.h"
#include "mouseScript.h"
#include "pixelProbe.h"

#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using PixelProbe::At;

namespace {

const QColor Backdrop(255, 255, 0);
const QColor NormalColor(200, 0, 0);
const QColor OverColor(0, 200, 0);
const QColor DownColor(0, 0, 200);
const QColor DisableColor(128, 128, 128);

QPixmap Solid(const QColor& color, QSize size = QSize(40, 30)) {
    QPixmap picture(size);
    picture.fill(color);
    return picture;
}

// A yellow window with a 60 x 50 image button at (10, 10) whose pictures are 40 x 30.
struct Scene {
    QWidget window;
    TImageButton* button;

    explicit Scene(bool withOver = true, bool withDown = true, bool withDisable = true) {
        window.resize(200, 200);
        window.setAutoFillBackground(true);
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, Backdrop);
        window.setPalette(pal);
        button = new TImageButton(&window);
        button->setGeometry(10, 10, 60, 50);
        button->SetImage(Solid(NormalColor));
        if (withOver)
            button->SetImageOver(Solid(OverColor));
        if (withDown)
            button->SetImageDown(Solid(DownColor));
        if (withDisable)
            button->SetImageDisable(Solid(DisableColor));
    }
    void Show() {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&window, QPoint(190, 190)); // the pointer starts away from the button
    }
    // The button's area of the window as painted now.
    QImage Paint() { return PixelProbe::Render(window).copy(button->geometry()); }
};

} // namespace

class TestImageButton : public QObject {
    Q_OBJECT
private slots:
    void startsEmptyAndEnabled() {
        TImageButton button;
        QVERIFY(button.Image().isNull());
        QVERIFY(button.ImageOver().isNull());
        QVERIFY(button.ImageDown().isNull());
        QVERIFY(button.ImageDisable().isNull());
        QVERIFY(button.UseDown());
        QVERIFY(button.Enabled());
        QVERIFY(!button.Hover());
        QVERIFY(!button.Pressed());
        QVERIFY(button.ImageRect().isEmpty());
    }

    void settingAPictureCopiesIt() {
        TImageButton button;
        QPixmap mine = Solid(NormalColor);
        button.SetImage(mine);
        mine.fill(Qt::black);
        QCOMPARE(button.Image().toImage().pixelColor(0, 0), NormalColor);
    }

    // Which picture is painted where, for each combination of flags and pictures.
    void paintsThePictureOfItsState_data() {
        QTest::addColumn<bool>("hover");
        QTest::addColumn<bool>("press");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("useDown");
        QTest::addColumn<bool>("withOver");
        QTest::addColumn<bool>("withDown");
        QTest::addColumn<bool>("withDisable");
        QTest::addColumn<QRect>("imageRect");
        QTest::addColumn<QColor>("colorAt2x2");
        QTest::addColumn<QColor>("colorAt1x1");
        const QRect atOrigin(0, 0, 40, 30), shifted(2, 2, 40, 30);
        QTest::addRow("normal") << false << false << true << true << true << true << true << atOrigin
                                << NormalColor << NormalColor;
        QTest::addRow("hover") << true << false << true << true << true << true << true << atOrigin
                               << OverColor << OverColor;
        QTest::addRow("hover without over picture") << true << false << true << true << false << true << true
                                                    << atOrigin << NormalColor << NormalColor;
        QTest::addRow("pressed, drawn 2 px right and down")
            << true << true << true << true << true << true << true << shifted << DownColor << Backdrop;
        QTest::addRow("pressed without UseDown")
            << true << true << true << false << true << true << true << atOrigin << DownColor << DownColor;
        QTest::addRow("pressed without down picture shows over picture")
            << true << true << true << true << true << false << true << shifted << OverColor << Backdrop;
        QTest::addRow("disabled ignores hover and press") << true << true << false << true << true << true
                                                          << true << atOrigin << DisableColor << DisableColor;
        QTest::addRow("disabled without picture paints nothing")
            << false << false << false << true << true << true << false << QRect() << Backdrop << Backdrop;
    }
    void paintsThePictureOfItsState() {
        QFETCH(bool, hover);
        QFETCH(bool, press);
        QFETCH(bool, enabled);
        QFETCH(bool, useDown);
        QFETCH(bool, withOver);
        QFETCH(bool, withDown);
        QFETCH(bool, withDisable);
        QFETCH(QRect, imageRect);
        QFETCH(QColor, colorAt2x2);
        QFETCH(QColor, colorAt1x1);
        Scene scene(withOver, withDown, withDisable);
        scene.button->SetUseDown(useDown);
        scene.button->SetEnabled(enabled);
        scene.Show();
        if (hover)
            QTest::mouseMove(scene.button, QPoint(20, 20));
        if (press)
            QTest::mousePress(scene.button, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(scene.button->Hover(), hover);
        QCOMPARE(scene.button->Pressed(), press);
        const QImage image = scene.Paint();
        QCOMPARE(scene.button->ImageRect().isEmpty(), imageRect.isEmpty());
        if (!imageRect.isEmpty())
            QCOMPARE(scene.button->ImageRect(), imageRect);
        QCOMPARE(At(image, {2, 2}), colorAt2x2);
        QCOMPARE(At(image, {1, 1}), colorAt1x1);
        // Outside the 40 x 30 picture the window shows through.
        QCOMPARE(At(image, {50, 40}), Backdrop);
        if (press)
            QTest::mouseRelease(scene.button, Qt::LeftButton, {}, QPoint(20, 20));
    }

    void transparentPixelsShowTheWindow() {
        Scene scene;
        QPixmap half(40, 30);
        half.fill(Qt::transparent);
        {
            QPainter p(&half);
            p.fillRect(0, 0, 20, 30, NormalColor);
        }
        scene.button->SetImage(half);
        scene.Show();
        const QImage image = scene.Paint();
        QCOMPARE(At(image, {10, 10}), NormalColor);
        QCOMPARE(At(image, {30, 10}), Backdrop);
    }

    // Mouse sequences and the clicks they raise. Points are in the button; its picture covers
    // (0, 0) .. (39, 29) and the button (0, 0) .. (59, 49).
    void clicksOnlyOnALeftReleaseOverThePicture_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("clicks");
        QTest::addRow("click") << "press 10,10; release 10,10" << 1;
        QTest::addRow("press, drag out, release out") << "press 10,10; move 100,100; release 100,100" << 0;
        QTest::addRow("press, drag out and back, release in")
            << "press 10,10; move 100,100; move 10,10; release 10,10" << 1;
        QTest::addRow("release in the button but outside the picture") << "press 10,10; release 50,40" << 0;
        QTest::addRow("press outside the picture, release on it") << "press 50,40; release 10,10" << 1;
        QTest::addRow("right button") << "rpress 10,10; rrelease 10,10" << 0;
        QTest::addRow("middle button") << "mpress 10,10; mrelease 10,10" << 0;
        QTest::addRow("double click") << "dclick 10,10" << 2;
        QTest::addRow("disabled") << "disable; press 10,10; release 10,10" << 0;
        QTest::addRow("enabled again") << "disable; enable; press 10,10; release 10,10" << 1;
    }
    void clicksOnlyOnALeftReleaseOverThePicture() {
        QFETCH(QString, script);
        QFETCH(int, clicks);
        Scene scene;
        scene.button->SetUseDown(false);
        scene.Show();
        scene.Paint();
        QSignalSpy spy(scene.button, &TImageButton::Click);
        const QString unknown = PlayMouseScript(
            scene.button, script,
            [&](const QString& verb) {
                if (verb == "disable")
                    scene.button->SetEnabled(false);
                else if (verb == "enable")
                    scene.button->SetEnabled(true);
                else
                    return false;
                return true;
            },
            [&] { scene.Paint(); }); // the hit area is the rectangle of the last paint
        QVERIFY2(unknown.isEmpty(), qPrintable("unknown step " + unknown));
        QCOMPARE(spy.count(), clicks);
        QVERIFY(!scene.button->Pressed());
    }

    void aRightPressShowsThePressedPicture() {
        Scene scene;
        scene.Show();
        QTest::mousePress(scene.button, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(At(scene.Paint(), {5, 5}), DownColor);
        QTest::mouseRelease(scene.button, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(At(scene.Paint(), {5, 5}), OverColor); // still under the pointer
    }

    void aDraggedOutPressStaysReleasedWhenMovingBack() {
        Scene scene;
        scene.Show();
        QTest::mousePress(scene.button, Qt::LeftButton, {}, QPoint(10, 10));
        scene.Paint();
        QTest::mouseMove(scene.button, QPoint(100, 100));
        QVERIFY(!scene.button->Pressed());
        QTest::mouseMove(scene.button, QPoint(10, 10));
        QVERIFY(!scene.button->Pressed());
        QCOMPARE(At(scene.Paint(), {5, 5}), OverColor);
        QTest::mouseRelease(scene.button, Qt::LeftButton, {}, QPoint(10, 10));
    }

    void aReleaseBeforeTheFirstPaintRaisesNoClick() {
        Scene scene; // never shown, never painted
        QSignalSpy spy(scene.button, &TImageButton::Click);
        scene.button->MouseDown(Qt::LeftButton, QPoint(0, 0));
        scene.button->MouseUp(Qt::LeftButton, QPoint(0, 0));
        QCOMPARE(spy.count(), 0);
        scene.Show();
        scene.Paint();
        scene.button->MouseDown(Qt::LeftButton, QPoint(0, 0));
        scene.button->MouseUp(Qt::LeftButton, QPoint(0, 0));
        QCOMPARE(spy.count(), 1);
    }

    void aDisabledButtonKeepsItsInputAndHint() {
        Scene scene;
        scene.button->setToolTip(QStringLiteral("add video files"));
        scene.button->SetEnabled(false);
        scene.Show();
        QVERIFY(scene.button->isEnabled()); // the toolkit still delivers input and hints
        QCOMPARE(scene.button->toolTip(), QStringLiteral("add video files"));
        QTest::mouseMove(scene.button, QPoint(10, 10));
        QVERIFY(scene.button->Hover());
        QTest::mousePress(scene.button, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(scene.button->Pressed());
        QCOMPARE(At(scene.Paint(), {5, 5}), DisableColor);
    }

    // A caption label below the picture forwards its notifications with the point (0, 0).
    void aForwardingLabelWorksTheButton_data() {
        QTest::addColumn<bool>("useDown");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("clicks");
        QTest::addRow("UseDown off") << false << true << 1;
        // The user's release lands on the label, which lies inside the picture: a click even
        // though (0, 0) would miss the shifted pressed rectangle.
        QTest::addRow("UseDown on") << true << true << 1;
        QTest::addRow("disabled") << false << false << 0;
    }
    void aForwardingLabelWorksTheButton() {
        QFETCH(bool, useDown);
        QFETCH(bool, enabled);
        QFETCH(int, clicks);
        Scene scene;
        scene.button->SetUseDown(useDown);
        scene.button->SetEnabled(enabled);
        auto* label = new QLabel(QStringLiteral("&Add"), &scene.window);
        label->setGeometry(20, 25, 25, 10); // inside the picture, which covers (10, 10) .. (49, 39)
        scene.button->ForwardFrom(label);
        scene.Show();
        scene.Paint();
        QSignalSpy spy(scene.button, &TImageButton::Click);

        QTest::mouseMove(label, QPoint(5, 5));
        QVERIFY(scene.button->Hover());
        QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(scene.button->Pressed());
        QCOMPARE(QWidget::mouseGrabber(), scene.button);
        scene.Paint();
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(spy.count(), clicks);
        QVERIFY(!scene.button->Pressed());
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
    }

    void aForwardedReleaseAtTheOriginMissesAShiftedPressedPicture_data() {
        QTest::addColumn<bool>("useDown");
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<int>("clicks");
        QTest::addRow("UseDown off") << false << true << 1;
        QTest::addRow("UseDown on") << true << true << 0;
        QTest::addRow("empty picture") << false << false << 0;
    }
    void aForwardedReleaseAtTheOriginMissesAShiftedPressedPicture() {
        QFETCH(bool, useDown);
        QFETCH(bool, withPicture);
        QFETCH(int, clicks);
        Scene scene(withPicture, withPicture, withPicture);
        if (!withPicture)
            scene.button->SetImage(QPixmap());
        scene.button->SetUseDown(useDown);
        scene.Show();
        QSignalSpy spy(scene.button, &TImageButton::Click);
        scene.button->MouseEnter();
        scene.button->MouseDown(Qt::LeftButton, QPoint(0, 0));
        scene.Paint();
        scene.button->MouseUp(Qt::LeftButton, QPoint(0, 0));
        QCOMPARE(spy.count(), clicks);
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
    }
};

QTEST_MAIN(TestImageButton)
#include "tst_imagebutton.moc"
