#include "controls/LinePanelUnit.h"
#include "pixelProbe.h"

#include <QTest>
#include <QVBoxLayout>

using PixelProbe::At;
using PixelProbe::BoundsOf;

namespace {

const QColor Fill(10, 20, 30);
const QColor Line(200, 100, 50);
const QColor Ink(0, 0, 0);
const QColor Light(250, 250, 250);
const QColor Shadow(100, 100, 100);

QFont CrispFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

TLinePanel* MakePanel(QWidget& owner, QSize size = QSize(50, 30)) {
    auto* panel = new TLinePanel(&owner);
    panel->setGeometry(0, 0, size.width(), size.height());
    panel->SetColor(QColorToTColor(Fill));
    panel->SetLineColor(QColorToTColor(Line));
    panel->setFont(CrispFont());
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Light, Light);
    pal.setColor(QPalette::Dark, Shadow);
    panel->setPalette(pal);
    return panel;
}

} // namespace

class TestLinePanel : public QObject {
    Q_OBJECT
private slots:
    void startsAsAPlainPanelInItsOwnersColour() {
        QWidget owner;
        QPalette pal = owner.palette();
        pal.setColor(QPalette::Window, QColor(191, 219, 255));
        owner.setPalette(pal);
        TLinePanel panel(&owner);
        QCOMPARE(panel.size(), QSize(185, 41));
        QCOMPARE(panel.Color(), TColor(16767935));
        QCOMPARE(panel.LineColor(), TColor(12164479));
        QCOMPARE(panel.LineBorders(), TLineBorders());
        QCOMPARE(panel.Alignment(), taCenter);
        QCOMPARE(panel.BorderWidth(), 0);
    }

    void linesAlongTheChosenEdges_data() {
        QTest::addColumn<int>("borders");
        QTest::addColumn<QList<QPoint>>("onLine");
        QTest::addColumn<QList<QPoint>>("onFill");
        const QList<QPoint> corners{{0, 0}, {49, 0}, {0, 29}, {49, 29}};
        QTest::addRow("none: LineColor has no effect") << 0 << QList<QPoint>{} << corners;
        QTest::addRow("top") << int(lbTop) << QList<QPoint>{{0, 0}, {49, 0}}
                             << QList<QPoint>{{0, 1}, {0, 29}, {49, 29}};
        QTest::addRow("left") << int(lbLeft) << QList<QPoint>{{0, 0}, {0, 29}}
                              << QList<QPoint>{{1, 0}, {49, 0}, {49, 29}};
        QTest::addRow("right") << int(lbRight) << QList<QPoint>{{49, 0}, {49, 29}}
                               << QList<QPoint>{{48, 0}, {0, 0}, {0, 29}};
        QTest::addRow("bottom") << int(lbBottom) << QList<QPoint>{{0, 29}, {49, 29}}
                                << QList<QPoint>{{0, 28}, {0, 0}, {49, 0}};
        QTest::addRow("all four") << int(lbTop | lbLeft | lbRight | lbBottom) << corners
                                  << QList<QPoint>{{1, 1}, {48, 28}, {25, 15}};
    }
    void linesAlongTheChosenEdges() {
        QFETCH(int, borders);
        QFETCH(QList<QPoint>, onLine);
        QFETCH(QList<QPoint>, onFill);
        QWidget owner;
        TLinePanel* panel = MakePanel(owner);
        panel->SetLineBorders(TLineBorders(borders));
        const QImage image = PixelProbe::Render(*panel);
        for (QPoint p : onLine)
            QCOMPARE(At(image, p), Line);
        for (QPoint p : onFill)
            QCOMPARE(At(image, p), Fill);
    }

    void theCaptionFollowsAlignment_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("expectedCentreX");
        QTest::addRow("left") << int(taLeftJustify) << -1;
        QTest::addRow("centre") << int(taCenter) << 100;
        QTest::addRow("right") << int(taRightJustify) << -2;
    }
    void theCaptionFollowsAlignment() {
        QFETCH(int, alignment);
        QFETCH(int, expectedCentreX);
        QWidget owner;
        TLinePanel* panel = MakePanel(owner, QSize(200, 40));
        panel->SetCaption(QStringLiteral("HH"));
        panel->SetFontColor(QColorToTColor(Ink));
        panel->SetAlignment(TAlignment(alignment));
        const QRect ink = BoundsOf(PixelProbe::Render(*panel), Ink);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(qAbs(ink.center().y() - 20) <= 2, "vertically centred");
        if (expectedCentreX == -1)
            QVERIFY(ink.left() <= 3);
        else if (expectedCentreX == -2)
            QVERIFY(ink.right() >= 196);
        else
            QVERIFY(qAbs(ink.center().x() - expectedCentreX) <= 2);
    }

    void aDisabledPanelEmbossesItsCaption() {
        QWidget owner;
        TLinePanel* panel = MakePanel(owner, QSize(200, 40));
        panel->SetCaption(QStringLiteral("HH"));
        panel->SetFontColor(QColorToTColor(Ink));
        const QRect enabled = BoundsOf(PixelProbe::Render(*panel), Ink);
        panel->setEnabled(false);
        const QImage image = PixelProbe::Render(*panel);
        QVERIFY(BoundsOf(image, Ink).isEmpty());
        QCOMPARE(BoundsOf(image, Shadow), enabled);
        QCOMPARE(BoundsOf(image, Light).bottomRight(), enabled.bottomRight() + QPoint(1, 1));
    }

    void borderWidthKeepsChildrenInside() {
        QWidget owner;
        TLinePanel* panel = MakePanel(owner, QSize(100, 60));
        panel->SetBorderWidth(5);
        auto* child = new QWidget(panel);
        auto* layout = new QVBoxLayout(panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(child);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QCOMPARE(child->geometry(), QRect(5, 5, 90, 50));
    }
};

QTEST_MAIN(TestLinePanel)
#include "tst_LinePanelUnit.moc"
