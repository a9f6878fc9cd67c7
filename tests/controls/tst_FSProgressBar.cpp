#include "controls/FSProgressBar.h"
#include "pixelProbe.h"

#include <QTest>

using PixelProbe::At;
using PixelProbe::Render;

namespace {
const QColor DesertBorder(128, 86, 0);
}

class TestFSProgressBar : public QObject {
    Q_OBJECT
private slots:
    void startsAsADesertBar() {
        TFSProgressBar bar;
        QCOMPARE(bar.size(), QSize(200, 16));
        QCOMPARE(bar.ColorScheme(), csDesert);
        QCOMPARE(bar.Min(), 0);
        QCOMPARE(bar.Max(), 100);
        QCOMPARE(bar.Position(), 0);
        QCOMPARE(bar.Step(), 10);
        QCOMPARE(bar.Orientation(), pbHorizontal);
        QCOMPARE(bar.ColorBorder(), TColor(22144));
        QCOMPARE(bar.ForeColorGrad(), TColor(31671));
    }

    void schemesSetAllFiveColours_data() {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<QList<TColor>>("colors"); // border, back face, back grad, fore face, fore grad
        QTest::addRow("desert") << int(csDesert) << QList<TColor>{22144, 13036799, 16777215, 10215167, 31671};
        QTest::addRow("grass") << int(csGrass)
                               << QList<TColor>{1404727, 13366748, 16777215, 13235675, 2670946};
        QTest::addRow("silver") << int(csSilver)
                                << QList<TColor>{7039851, 14737632, 16777215, 15790320, 11382189};
        QTest::addRow("sky") << int(csSky) << QList<TColor>{11753728, 16771797, 16777215, 16772829, 16756318};
        QTest::addRow("rose") << int(csRose) << QList<TColor>{157, 14145535, 16777215, 15263999, 8421631};
        QTest::addRow("sun") << int(csSun) << QList<TColor>{25700, 13565951, 16777215, 14680063, 376028};
        QTest::addRow("hackers") << int(csHackers) << QList<TColor>{0, 21760, 32768, 9563310, 43520};
        QTest::addRow("night") << int(csNight) << QList<TColor>{0, 8404992, 11031552, 16763799, 15496704};
        QTest::addRow("velvet") << int(csVelvet) << QList<TColor>{0, 89, 4605580, 10461170, 4737211};
        QTest::addRow("metal") << int(csMetal) << QList<TColor>{0, 4605510, 7303023, 13553358, 7566195};
        QTest::addRow("violet") << int(csViolet) << QList<TColor>{0, 8388672, 13238373, 16758747, 16724889};
        QTest::addRow("toxic") << int(csToxic) << QList<TColor>{0, 2905686, 4094843, 12377822, 4624014};
    }
    void schemesSetAllFiveColours() {
        QFETCH(int, scheme);
        QFETCH(QList<TColor>, colors);
        TFSProgressBar bar;
        bar.resize(50, 12);
        bar.SetColorScheme(csCustom);
        bar.SetColorScheme(TColorScheme(scheme));
        QCOMPARE(bar.ColorScheme(), TColorScheme(scheme));
        const QList<TColor> got{bar.ColorBorder(), bar.BackColorFace(), bar.BackColorGrad(),
                                bar.ForeColorFace(), bar.ForeColorGrad()};
        QCOMPARE(got, colors);
        // The frame, the trough's first and last lines and the fill's first line show them.
        bar.SetPosition(50); // F = 24
        const QImage image = Render(bar);
        QCOMPARE(At(image, {30, 0}), TColorToQColor(colors[0]));
        QCOMPARE(At(image, {0, 6}), TColorToQColor(colors[0]));
        QCOMPARE(At(image, {49, 6}), TColorToQColor(colors[0]));
        QCOMPARE(At(image, {30, 11}), TColorToQColor(colors[0]));
        QCOMPARE(At(image, {30, 10}), TColorToQColor(colors[2])); // trough line n = H - 2
        QCOMPARE(At(image, {1, 6}), At(image, {10, 1}));          // column 1 repeats pixel (1, 1)
    }

    void aChangedColourKeepsTheSchemesOtherColours() {
        TFSProgressBar bar;
        bar.SetColorScheme(csGrass);
        bar.SetColorBorder(14922381);
        QCOMPARE(bar.ColorScheme(), csCustom);
        QCOMPARE(bar.ColorBorder(), TColor(14922381));
        QCOMPARE(bar.BackColorFace(), TColor(13366748));
        QCOMPARE(bar.BackColorGrad(), TColor(16777215));
        QCOMPARE(bar.ForeColorFace(), TColor(13235675));
        QCOMPARE(bar.ForeColorGrad(), TColor(2670946));
        const QImage image = Render(bar);
        QCOMPARE(At(image, {100, 0}), QColor(141, 178, 227));
        QCOMPARE(At(image, {100, 14}), QColor(255, 255, 255));
    }

    void choosingCustomChangesNoColour() {
        TFSProgressBar bar;
        bar.SetColorScheme(csNight);
        bar.SetColorScheme(csCustom);
        QCOMPARE(bar.ColorScheme(), csCustom);
        QCOMPARE(bar.BackColorFace(), TColor(8404992));
        QCOMPARE(bar.ForeColorFace(), TColor(16763799));
    }

    // Desert colours, Position 50 of 0..100. Horizontal 100 x 12: F = 49, trough 10 steps, fill 12
    // steps, rows graded top to bottom. Vertical 12 x 100: the same gradients run left to right,
    // the fill's top T = 100 - (49 + 1) = 50. Several expected values sit on exact halves.
    void gradientLinesRoundHalvesToEven_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QColor>("expected");
        const int h = pbHorizontal, v = pbVertical;
        QTest::addRow("fill row 1") << h << QPoint(20, 1) << QColor(249, 214, 142);
        QTest::addRow("fill row 6, green 172.5") << h << QPoint(20, 6) << QColor(219, 172, 78);
        QTest::addRow("fill row 10, green 139.5") << h << QPoint(20, 10) << QColor(195, 140, 26);
        QTest::addRow("fill just before the end") << h << QPoint(48, 6) << QColor(219, 172, 78);
        QTest::addRow("trough row 5, blue 226.5") << h << QPoint(80, 5) << QColor(255, 246, 226);
        QTest::addRow("trough row 6") << h << QPoint(50, 6) << QColor(255, 247, 232);
        QTest::addRow("trough last line is the end colour") << h << QPoint(80, 10) << QColor(255, 255, 255);
        QTest::addRow("column 1 in the colour of (1, 1)") << h << QPoint(1, 6) << QColor(249, 214, 142);
        QTest::addRow("end line at F in the colour of (2, H-2)")
            << h << QPoint(49, 6) << QColor(195, 140, 26);
        QTest::addRow("end line top") << h << QPoint(49, 1) << QColor(195, 140, 26);
        QTest::addRow("frame left") << h << QPoint(0, 6) << DesertBorder;
        QTest::addRow("frame right") << h << QPoint(99, 6) << DesertBorder;
        QTest::addRow("frame top") << h << QPoint(20, 0) << DesertBorder;
        QTest::addRow("frame bottom") << h << QPoint(20, 11) << DesertBorder;

        QTest::addRow("vertical fill column 6") << v << QPoint(6, 70) << QColor(219, 172, 78);
        QTest::addRow("vertical trough column 5") << v << QPoint(5, 20) << QColor(255, 246, 226);
        QTest::addRow("vertical trough just above T") << v << QPoint(6, 49) << QColor(255, 247, 232);
        QTest::addRow("vertical row T in the colour of (W-3, H-3)")
            << v << QPoint(6, 50) << QColor(201, 148, 39);
        QTest::addRow("vertical row H-2 in the colour of (2, H-2)")
            << v << QPoint(6, 98) << QColor(243, 206, 129);
        QTest::addRow("vertical frame left") << v << QPoint(0, 70) << DesertBorder;
        QTest::addRow("vertical frame right") << v << QPoint(11, 70) << DesertBorder;
        QTest::addRow("vertical frame top") << v << QPoint(6, 0) << DesertBorder;
        QTest::addRow("vertical frame bottom") << v << QPoint(6, 99) << DesertBorder;
    }
    void gradientLinesRoundHalvesToEven() {
        QFETCH(int, orientation);
        QFETCH(QPoint, point);
        QFETCH(QColor, expected);
        TFSProgressBar bar;
        bar.SetOrientation(TProgressBarOrientation(orientation));
        bar.resize(orientation == pbHorizontal ? QSize(100, 12) : QSize(12, 100));
        bar.SetPosition(50);
        QCOMPARE(At(Render(bar), point), expected);
    }

    void fillLengthRoundsHalvesToEven_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("fill");
        QTest::addRow("24.5 -> 24") << 100 << 0 << 100 << 25 << 24;
        QTest::addRow("73.5 -> 74") << 100 << 0 << 100 << 75 << 74;
        QTest::addRow("24.5 -> 24 with negative Min") << 100 << -50 << 50 << -25 << 24;
        QTest::addRow("main window bar 206.5 -> 206") << 828 << 0 << 100 << 25 << 206;
        QTest::addRow("main window bar 619.5 -> 620") << 828 << 0 << 100 << 75 << 620;
        QTest::addRow("Position = Min: empty") << 100 << 0 << 100 << 0 << 0;
        QTest::addRow("Position = Max: W - 2") << 100 << 0 << 100 << 100 << 98;
    }
    void fillLengthRoundsHalvesToEven() {
        QFETCH(int, width);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, position);
        QFETCH(int, fill);
        TFSProgressBar bar;
        bar.resize(width, 12);
        bar.SetMin(min);
        bar.SetMax(max);
        bar.SetPosition(position);
        QCOMPARE(bar.FillLength(), qint64(fill));
        const QImage image = Render(bar);
        const QColor endColor(195, 140, 26); // the fill's row H - 2
        if (fill > 0) {
            QCOMPARE(At(image, {fill, 6}), endColor);
            QCOMPARE(At(image, {fill - 1, 6}), QColor(219, 172, 78));
        }
        if (fill + 1 > 1 && fill + 1 < width - 1) // column 1 repeats pixel (1, 1)
            QCOMPARE(At(image, {fill + 1, 6}), QColor(255, 247, 232));
    }

    void anEmptyBarIsTroughAndFrame() {
        TFSProgressBar bar;
        bar.resize(100, 12);
        const QImage image = Render(bar);
        QCOMPARE(At(image, {2, 6}), QColor(255, 247, 232));
        QCOMPARE(At(image, {97, 6}), QColor(255, 247, 232));
        QCOMPARE(At(image, {0, 6}), DesertBorder); // the end line at x = 0 lies under the frame
    }

    void aPositionAboveMaxPaintsAFullBarInsideTheFrame() {
        TFSProgressBar bar;
        bar.resize(100, 12);
        bar.SetPosition(250);
        QCOMPARE(bar.Position(), 250);
        const QImage image = Render(bar);
        QCOMPARE(At(image, {97, 6}), QColor(219, 172, 78));
        QCOMPARE(At(image, {98, 6}), QColor(219, 172, 78));
        QCOMPARE(At(image, {99, 6}), DesertBorder);
    }

    void settersKeepMinAtMostMaxAndPositionAtLeastMin_data() {
        QTest::addColumn<QString>("setter");
        QTest::addColumn<int>("value");
        QTest::addColumn<QList<int>>("expected"); // Min, Max, Position after the call
        QTest::addRow("Position below Min ignored") << "Position" << 5 << QList<int>{10, 50, 20};
        QTest::addRow("Min above Max ignored") << "Min" << 51 << QList<int>{10, 50, 20};
        QTest::addRow("Max below Min ignored") << "Max" << 9 << QList<int>{10, 50, 20};
        QTest::addRow("Max equal to Min allowed") << "Max" << 10 << QList<int>{10, 10, 20};
        QTest::addRow("Min equal to Max allowed") << "Min" << 50 << QList<int>{50, 50, 50};
        QTest::addRow("Position above Max allowed") << "Position" << 70 << QList<int>{10, 50, 70};
    }
    void settersKeepMinAtMostMaxAndPositionAtLeastMin() {
        QFETCH(QString, setter);
        QFETCH(int, value);
        QFETCH(QList<int>, expected);
        TFSProgressBar bar;
        bar.SetMax(50);
        bar.SetMin(10);
        bar.SetPosition(20);
        if (setter == "Position")
            bar.SetPosition(value);
        else if (setter == "Min")
            bar.SetMin(value);
        else
            bar.SetMax(value);
        QCOMPARE((QList<int>{bar.Min(), bar.Max(), bar.Position()}), expected);
    }

    void maxEqualToMinIsEmptyAtMinAndFullAbove() {
        TFSProgressBar bar;
        bar.resize(100, 12);
        bar.SetMin(40);
        bar.SetMax(40);
        bar.SetPosition(40);
        QCOMPARE(bar.FillLength(), qint64(0));
        QCOMPARE(At(Render(bar), {50, 6}), QColor(255, 247, 232));
        bar.SetPosition(41);
        QCOMPARE(bar.FillLength(), qint64(98));
        QCOMPARE(At(Render(bar), {50, 6}), QColor(219, 172, 78));
    }

    void tinyBarsPaintWithoutFailing_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("orientation");
        QTest::addRow("2 high") << QSize(50, 2) << int(pbHorizontal);
        QTest::addRow("1 high") << QSize(50, 1) << int(pbHorizontal);
        QTest::addRow("1 wide vertical") << QSize(1, 50) << int(pbVertical);
        QTest::addRow("3 x 3 vertical") << QSize(3, 3) << int(pbVertical);
    }
    void tinyBarsPaintWithoutFailing() {
        QFETCH(QSize, size);
        QFETCH(int, orientation);
        TFSProgressBar bar;
        bar.SetOrientation(TProgressBarOrientation(orientation));
        bar.resize(size);
        bar.SetPosition(60);
        QCOMPARE(At(Render(bar), {0, 0}), DesertBorder);
    }

    void extremeValuesDoNotOverflow() {
        TFSProgressBar bar;
        bar.resize(100, 12);
        bar.SetMin(std::numeric_limits<int>::min());
        bar.SetMax(std::numeric_limits<int>::max());
        bar.SetPosition(std::numeric_limits<int>::max());
        QCOMPARE(bar.FillLength(), qint64(98));
        bar.SetPosition(0);
        QCOMPARE(bar.FillLength(), qint64(49)); // 98 * 2^31 / (2^32 - 1) = 49.0000000114
    }
};

QTEST_MAIN(TestFSProgressBar)
#include "tst_FSProgressBar.moc"
