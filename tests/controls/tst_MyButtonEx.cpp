// Mouse events go through the window, as real ones do: implicit grabs and double clicks.
#define QTEST_QPA_MOUSE_HANDLING
#include "controls/MyButtonEx.h"
#include "mouseScript.h"
#include "pixelProbe.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using PixelProbe::At;
using PixelProbe::BoundsOf;

namespace {

const QColor Border(197, 197, 197);
const QColor White(255, 255, 255);
const QColor CaptionBlue(21, 66, 139);
const QColor DisabledGrey(192, 192, 192);

QColor Grey(int v) {
    return QColor(v, v, v);
}

// Glyph pixels that are exactly the pen colour, so caption pixels can be found by colour.
QFont CrispFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

struct Scene {
    QWidget window;
    TMyButtonEx* button;
    explicit Scene(QSize size = QSize(75, 20)) {
        window.resize(200, 120);
        button = new TMyButtonEx(&window);
        button->setGeometry(20, 20, size.width(), size.height());
        button->setFont(CrispFont());
        button->SetFontColor(9126421);
    }
    void Show() {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&window, QPoint(190, 110));
    }
    void Activate() {
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    QImage Paint() { return PixelProbe::Render(*button); }
};

bool Near(const QColor& a, const QColor& b, int tolerance) {
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class TestMyButtonEx : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheStandardLook() {
        TMyButtonEx button;
        QCOMPARE(button.size(), QSize(75, 25));
        QCOMPARE(button.DefaultColorFrom(), TColor(15658734));
        QCOMPARE(button.DefaultColorTo(), TColor(15000804));
        QCOMPARE(button.ClickColorFrom(), TColor(15000804));
        QCOMPARE(button.ClickColorTo(), TColor(15658734));
        QCOMPARE(button.OverColorFrom(), TColor(0));
        QCOMPARE(button.BorderColor(), TColor(12961221));
        QVERIFY(button.Glyph().isNull());
        QVERIFY(!button.DrawFocus());
        QVERIFY(!button.Default());
        QVERIFY(!button.Pressed());
        QCOMPARE(button.focusPolicy(), Qt::StrongFocus);
    }

    // A 75 x 20 face with the standard colours: rows y = 2 .. 19 graded 238 -> 228 as
    // 238 - y / 2, halves to even; the click face 228 -> 238.
    void faceRowsAndBorder_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QColor>("expected");
        QTest::addRow("top border") << "normal" << QPoint(30, 0) << Border;
        QTest::addRow("row 1 stays white") << "normal" << QPoint(30, 1) << White;
        QTest::addRow("row 2") << "normal" << QPoint(30, 2) << Grey(237);
        QTest::addRow("row 3: 236.5 -> 236") << "normal" << QPoint(30, 3) << Grey(236);
        QTest::addRow("row 7: 234.5 -> 234") << "normal" << QPoint(30, 7) << Grey(234);
        QTest::addRow("row 18") << "normal" << QPoint(30, 18) << Grey(229);
        QTest::addRow("bottom border") << "normal" << QPoint(30, 19) << Border;
        QTest::addRow("column W-3 is face") << "normal" << QPoint(72, 10) << Grey(233);
        QTest::addRow("column W-2 stays white") << "normal" << QPoint(73, 10) << White;
        QTest::addRow("right border") << "normal" << QPoint(74, 10) << Border;
        QTest::addRow("left border") << "normal" << QPoint(0, 10) << Border;
        QTest::addRow("corner pixel of the border") << "normal" << QPoint(1, 1) << Border;
        QTest::addRow("pressed row 3: 229.5 -> 230") << "pressed" << QPoint(30, 3) << Grey(230);
        QTest::addRow("pressed row 5: 230.5 -> 230") << "pressed" << QPoint(30, 5) << Grey(230);
        QTest::addRow("pressed row 18") << "pressed" << QPoint(30, 18) << Grey(237);
        QTest::addRow("pressed row 1 stays white") << "pressed" << QPoint(30, 1) << White;
        QTest::addRow("disabled keeps the normal face") << "disabled" << QPoint(30, 3) << Grey(236);
        QTest::addRow("flat face fills row 1") << "flat" << QPoint(30, 1) << QColor(200, 210, 220);
        QTest::addRow("flat face fills column W-2") << "flat" << QPoint(73, 10) << QColor(200, 210, 220);
        QTest::addRow("flat face keeps its border") << "flat" << QPoint(74, 10) << Border;
    }
    void faceRowsAndBorder() {
        QFETCH(QString, state);
        QFETCH(QPoint, point);
        QFETCH(QColor, expected);
        Scene scene;
        if (state == "flat") {
            scene.button->SetDefaultColorFrom(RGBColor(200, 210, 220));
            scene.button->SetDefaultColorTo(RGBColor(200, 210, 220));
        }
        scene.button->setEnabled(state != "disabled");
        scene.Show();
        if (state == "pressed")
            QTest::mousePress(scene.button, Qt::LeftButton, {}, QPoint(30, 10));
        QCOMPARE(At(scene.Paint(), point), expected);
        if (state == "pressed")
            QTest::mouseRelease(scene.button, Qt::LeftButton, {}, QPoint(30, 10));
    }

    void theMainWindowButtonsGradient() {
        Scene scene(QSize(121, 41));
        scene.button->SetDefaultColorFrom(15852245);
        scene.button->SetDefaultColorTo(15849665);
        scene.button->SetBorderColor(14401438);
        const QImage image = scene.Paint();
        QCOMPARE(At(image, {5, 2}), QColor(212, 226, 241));
        QCOMPARE(At(image, {5, 20}), QColor(203, 221, 241));
        QCOMPARE(At(image, {5, 39}), QColor(194, 216, 241));
        QCOMPARE(At(image, {5, 40}), QColor(158, 191, 219));
    }

    void theWindowShapeCutsTheCorners() {
        Scene scene;
        scene.Show();
        const QRegion shape = scene.button->mask();
        for (QPoint outside : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(74, 0), QPoint(73, 0),
                               QPoint(74, 1), QPoint(0, 19), QPoint(74, 19), QPoint(73, 19)})
            QVERIFY2(!shape.contains(outside),
                     qPrintable(QString("%1,%2").arg(outside.x()).arg(outside.y())));
        for (QPoint inside : {QPoint(2, 0), QPoint(1, 1), QPoint(0, 2), QPoint(72, 0), QPoint(73, 1),
                              QPoint(74, 2), QPoint(74, 17), QPoint(37, 10)})
            QVERIFY2(shape.contains(inside), qPrintable(QString("%1,%2").arg(inside.x()).arg(inside.y())));
    }

    void captionColourAndPressedShift() {
        Scene scene(QSize(121, 41));
        scene.button->SetCaption(QStringLiteral("HH"));
        scene.Show();
        const QRect normal = BoundsOf(scene.Paint(), CaptionBlue);
        QVERIFY(!normal.isEmpty());
        QVERIFY2(qAbs(normal.center().x() - 60) <= 2, "centred horizontally");
        QVERIFY2(qAbs(normal.center().y() - 20) <= 2, "centred vertically");

        QTest::mousePress(scene.button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(BoundsOf(scene.Paint(), CaptionBlue), normal.translated(0, 2));
        QTest::mouseRelease(scene.button, Qt::LeftButton, {}, QPoint(10, 10));

        scene.button->setEnabled(false);
        const QImage disabled = scene.Paint();
        QCOMPARE(BoundsOf(disabled, DisabledGrey), normal);
        QVERIFY(BoundsOf(disabled, CaptionBlue).isEmpty());
    }

    void theAcceleratorLetterIsUnderlined() {
        Scene scene(QSize(121, 41));
        scene.button->SetCaption(QStringLiteral("HH"));
        const QRect plain = BoundsOf(scene.Paint(), CaptionBlue);
        scene.button->SetCaption(QStringLiteral("&HH"));
        const QRect marked = BoundsOf(scene.Paint(), CaptionBlue);
        QVERIFY2(marked.bottom() > plain.bottom(), "an underline below the letters");
    }

    // A 10 x 10 glyph on a 75 x 25 button with no caption: x = (75 - 13) / 2 = 31,
    // y = (25 - 10) / 2 = 7; pressed 2 pixels right and down.
    void glyphPlacement() {
        Scene scene(QSize(75, 25));
        QPixmap glyph(10, 10);
        glyph.fill(QColor(0, 0, 255));
        scene.button->SetGlyph(glyph);
        scene.Show();
        QImage image = scene.Paint();
        QCOMPARE(At(image, {31, 7}), QColor(0, 0, 255));
        QCOMPARE(At(image, {40, 16}), QColor(0, 0, 255));
        QVERIFY(At(image, {30, 7}) != QColor(0, 0, 255));
        QVERIFY(At(image, {31, 6}) != QColor(0, 0, 255));
        QTest::mousePress(scene.button, Qt::LeftButton, {}, QPoint(5, 5));
        image = scene.Paint();
        QCOMPARE(At(image, {33, 9}), QColor(0, 0, 255));
        QVERIFY(At(image, {32, 9}) != QColor(0, 0, 255));
        QTest::mouseRelease(scene.button, Qt::LeftButton, {}, QPoint(5, 5));
    }

    // Disabled: the glyph at one fifth of its opacity (255 * 51 / 256 -> 51; 50 without an
    // opacity channel) over the face, whose row 12 is 233; transparent pixels stay clear.
    void aDisabledButtonFadesItsGlyph_data() {
        QTest::addColumn<bool>("withAlpha");
        QTest::addColumn<int>("opacity");
        QTest::addRow("opacity channel") << true << 51;
        QTest::addRow("no opacity channel") << false << 50;
    }
    void aDisabledButtonFadesItsGlyph() {
        QFETCH(bool, withAlpha);
        QFETCH(int, opacity);
        Scene scene(QSize(75, 25));
        QImage picture(10, 10, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        picture.fill(QColor(0, 0, 255));
        if (withAlpha)
            for (int y = 0; y < 10; ++y)
                picture.setPixelColor(9, y, Qt::transparent);
        scene.button->SetGlyph(QPixmap::fromImage(picture));
        scene.button->setEnabled(false);
        const QImage image = scene.Paint();
        const double a = opacity / 255.0;
        const QColor expected(qRound(233 * (1 - a)), qRound(233 * (1 - a)), qRound(255 * a + 233 * (1 - a)));
        QVERIFY2(Near(At(image, {35, 12}), expected, 1),
                 qPrintable(At(image, {35, 12}).name() + " vs " + expected.name()));
        if (withAlpha)
            QCOMPARE(At(image, {40, 12}), Grey(233));
    }

    void clicksFollowTheMouse_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("clicks");
        QTest::addRow("click") << "press 10,10; release 10,10" << 1;
        QTest::addRow("press, drag out, release out") << "press 10,10; move 150,100; release 150,100" << 0;
        QTest::addRow("press, drag out and back, release in")
            << "press 10,10; move 150,100; move 10,10; release 10,10" << 0;
        QTest::addRow("right button") << "rpress 10,10; rrelease 10,10" << 0;
        QTest::addRow("double click") << "dclick 10,10" << 2;
        QTest::addRow("disabled") << "disable; press 10,10; release 10,10" << 0;
        QTest::addRow("disabled while held") << "press 10,10; disable; enable; release 10,10" << 0;
    }
    void clicksFollowTheMouse() {
        QFETCH(QString, script);
        QFETCH(int, clicks);
        Scene scene;
        scene.Show();
        QSignalSpy spy(scene.button, &TMyButtonEx::Click);
        const QString unknown = PlayMouseScript(scene.button, script, [&](const QString& verb) {
            if (verb == "disable")
                scene.button->setEnabled(false);
            else if (verb == "enable")
                scene.button->setEnabled(true);
            else
                return false;
            return true;
        });
        QVERIFY2(unknown.isEmpty(), qPrintable("unknown step " + unknown));
        QCOMPARE(spy.count(), clicks);
        QVERIFY(!scene.button->Pressed());
    }

    void pressingShowsTheClickFaceUntilThePointerLeaves() {
        Scene scene;
        auto* other = new QWidget(&scene.window);
        other->setFocusPolicy(Qt::StrongFocus);
        scene.Show();
        scene.Activate();
        other->setFocus();
        QVERIFY(!scene.button->hasFocus());
        QTest::mousePress(scene.button, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(scene.button->Pressed());
        QVERIFY(scene.button->hasFocus());
        QCOMPARE(At(scene.Paint(), {30, 3}), Grey(230));
        QTest::mouseMove(scene.button, QPoint(150, 100));
        QVERIFY(!scene.button->Pressed());
        QCOMPARE(At(scene.Paint(), {30, 3}), Grey(236));
        QTest::mouseRelease(scene.button, Qt::LeftButton, {}, QPoint(150, 100));
    }

    void theAcceleratorClicks_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("clicks");
        QTest::addRow("Alt+I on &Import") << "&Import" << int(Qt::Key_I) << true << 1;
        QTest::addRow("Alt+U on S&upport") << "S&upport" << int(Qt::Key_U) << true << 1;
        QTest::addRow("another letter") << "&Import" << int(Qt::Key_M) << true << 0;
        QTest::addRow("disabled") << "&Import" << int(Qt::Key_I) << false << 0;
        QTest::addRow("an escaped ampersand marks nothing") << "&&Import" << int(Qt::Key_I) << true << 0;
    }
    void theAcceleratorClicks() {
        QFETCH(QString, caption);
        QFETCH(int, key);
        QFETCH(bool, enabled);
        QFETCH(int, clicks);
        Scene scene;
        scene.button->SetCaption(caption);
        scene.button->setEnabled(enabled);
        scene.Show();
        scene.Activate();
        QSignalSpy spy(scene.button, &TMyButtonEx::Click);
        QTest::keyClick(&scene.window, Qt::Key(key), Qt::AltModifier);
        QCOMPARE(spy.count(), clicks);
        QVERIFY2(!scene.button->Pressed(), "an accelerator click leaves no pressed face");
    }

    void theFocusRectangleIsDottedInside_data() {
        QTest::addColumn<bool>("drawFocus");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<bool>("marked");
        QTest::addRow("focused with DrawFocus") << true << true << true;
        QTest::addRow("focused without DrawFocus") << false << true << false;
        QTest::addRow("DrawFocus without focus") << true << false << false;
    }
    void theFocusRectangleIsDottedInside() {
        QFETCH(bool, drawFocus);
        QFETCH(bool, focused);
        QFETCH(bool, marked);
        Scene scene(QSize(75, 25));
        scene.button->SetDrawFocus(drawFocus);
        auto* other = new QWidget(&scene.window);
        other->setFocusPolicy(Qt::StrongFocus);
        scene.Show();
        scene.Activate();
        (focused ? static_cast<QWidget*>(scene.button) : other)->setFocus();
        QTRY_COMPARE(scene.button->hasFocus(), focused);
        const QImage image = scene.Paint();
        // Row 4 of the face is 238 - 40 / 25 = 236.4 -> 236; the dots invert it.
        QCOMPARE(At(image, {4, 4}), marked ? Grey(255 - 236) : Grey(236));
        QCOMPARE(At(image, {6, 4}), marked ? Grey(255 - 236) : Grey(236));
        QCOMPARE(At(image, {5, 4}), Grey(236));
        QCOMPARE(At(image, {70, 20}), marked ? Grey(255 - 230) : Grey(230)); // (W-5, H-5)
        QCOMPARE(At(image, {3, 4}), Grey(236));
    }
};

QTEST_MAIN(TestMyButtonEx)
#include "tst_MyButtonEx.moc"
