#include "controls/MyFlatHintUnit.h"

#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QToolTip>

Q_DECLARE_METATYPE(THintQuadrant)

namespace {

// The arrow as it must appear in the corner of the column nearest the pointer (top-left quadrant,
// anchor at the top-left of this picture): a diagonal arrow with a two-pixel-thick head.
const char* const ArrowPicture[8] = {
    "#######.", //
    "#######.", //
    "#####...", //
    "######..", //
    "#######.", //
    "##.#####", //
    "##..####", //
    ".....##.", //
};

const QColor ArrowBack(255, 210, 83);
const QColor Background(255, 255, 255);
const QColor BorderColour(0, 0, 0);
const QColor ArrowColour(21, 66, 139);

QImage RenderHint(const TMyFlatHint& look, const QSize& size, THintQuadrant q, const QString& text,
                  Qt::LayoutDirection dir = Qt::LeftToRight) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    QPainter p(&img);
    TMyFlatHintWindow::PaintHint(p, size, q, text, look, dir);
    return img;
}

// The pointer moves onto `w` at `pos`, as the user's mouse would.
void MoveOnto(QWidget* w, QPoint pos) {
    QTest::mouseMove(w, pos);
}

} // namespace

class TestMyFlatHintUnit : public QObject {
    Q_OBJECT
private slots:
    void quadrantOfThePointer_data() {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<THintQuadrant>("quadrant");
        // Screen 1280 x 1024: the middle lines are x = 640 and y = 512.
        QTest::addRow("top-left") << QPoint(10, 10) << hqTopLeft;
        QTest::addRow("just left of and above the middle") << QPoint(639, 511) << hqTopLeft;
        QTest::addRow("on the vertical middle line") << QPoint(640, 10) << hqTopRight;
        QTest::addRow("on the horizontal middle line") << QPoint(10, 512) << hqBottomLeft;
        QTest::addRow("on both middle lines") << QPoint(640, 512) << hqBottomRight;
        QTest::addRow("bottom-right corner") << QPoint(1279, 1023) << hqBottomRight;
    }
    void quadrantOfThePointer() {
        QFETCH(QPoint, cursor);
        QFETCH(THintQuadrant, quadrant);
        QCOMPARE(TMyFlatHintWindow::QuadrantOf(cursor, QRect(0, 0, 1280, 1024)), quadrant);
        // A second screen to the right splits at its own middle.
        QCOMPARE(TMyFlatHintWindow::QuadrantOf(cursor + QPoint(1280, 0), QRect(1280, 0, 1280, 1024)),
                 quadrant);
    }

    void windowOpensTowardTheMiddleOfTheScreen_data() {
        QTest::addColumn<QPoint>("offset");   // pointer relative to the screen's middle
        QTest::addColumn<QPoint>("expected"); // window's top-left relative to the pointer, for w x h
        QTest::addColumn<THintQuadrant>("quadrant");
        // w and h stand for the window size; encoded as multiples: x = a + b*w, y = c + d*h.
        QTest::addRow("top-left: 12 right and below") << QPoint(-100, -100) << QPoint(12, 12) << hqTopLeft;
        QTest::addRow("top-right: 5 left and below") << QPoint(100, -100) << QPoint(-5, 5) << hqTopRight;
        QTest::addRow("bottom-left: 5 right and above") << QPoint(-100, 100) << QPoint(5, -5) << hqBottomLeft;
        QTest::addRow("bottom-right: 5 left and above")
            << QPoint(100, 100) << QPoint(-5, -5) << hqBottomRight;
        QTest::addRow("middle point opens up and left") << QPoint(0, 0) << QPoint(-5, -5) << hqBottomRight;
    }
    void windowOpensTowardTheMiddleOfTheScreen() {
        QFETCH(QPoint, offset);
        QFETCH(QPoint, expected);
        QFETCH(THintQuadrant, quadrant);
        QWidget form;
        TMyFlatHint hint(&form);
        TMyFlatHintWindow* window = TMyFlatHint::HintWindow();
        QVERIFY(window);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QPoint cursor = screen.topLeft() + QPoint(screen.width() / 2, screen.height() / 2) + offset;
        window->ActivateHint(cursor, "Add video files to the list");
        QVERIFY(window->isVisible());
        QCOMPARE(window->Quadrant(), quadrant);
        const QRect g = window->geometry();
        const int x = expected.x() > 0 ? cursor.x() + expected.x() : cursor.x() + expected.x() - g.width();
        const int y = expected.y() > 0 ? cursor.y() + expected.y() : cursor.y() + expected.y() - g.height();
        QCOMPARE(g.topLeft(), QPoint(x, y));
        window->ReleaseHandle();
    }

    void sizeComesFromTheWrappedText() {
        QWidget form;
        TMyFlatHint hint(&form);
        QFont font("Trebuchet MS");
        font.setPixelSize(16);
        hint.SetFont(font);
        const QFontMetrics fm(font);
        const QSize one = TMyFlatHintWindow::CalcHintSize("Convert", font, 200);
        QCOMPARE(one.width(), fm.boundingRect(QRect(0, 0, 1000, 100), Qt::AlignLeft, "Convert").width() + 22);
        QCOMPARE(one.height(), fm.height() + 6);

        const QString longText = "Convert every item of the list in turn with the format chosen for it, "
                                 "into its output folder";
        const QSize wrapped = TMyFlatHintWindow::CalcHintSize(longText, font, 200);
        QVERIFY(wrapped.width() <= 200);
        QVERIFY(wrapped.width() > 200 - fm.horizontalAdvance("output ") - 1);
        QVERIFY2(wrapped.height() >= 3 * fm.height() + 6, "wraps onto several lines");
        QCOMPARE((wrapped.height() - 6) % fm.lineSpacing() <= 1, true);

        // A wider limit gives fewer lines.
        QVERIFY(TMyFlatHintWindow::CalcHintSize(longText, font, 400).height() < wrapped.height());

        // The window uses the component's font and limit.
        hint.SetMaxHintWidth(120);
        TMyFlatHintWindow* window = TMyFlatHint::HintWindow();
        window->ActivateHint(QPoint(50, 50), longText);
        QCOMPARE(window->size(), TMyFlatHintWindow::CalcHintSize(longText, font, 120));
        QVERIFY(window->width() <= 120);
        QCOMPARE(window->font(), font);
        window->ReleaseHandle();
    }

    void paintLaysOutColumnTextAreaAndArrow_data() {
        QTest::addColumn<THintQuadrant>("quadrant");
        QTest::addColumn<QRect>("column");
        QTest::addColumn<QPoint>("anchor");
        QTest::addColumn<int>("sx");
        QTest::addColumn<int>("sy");
        // Client 60 x 30.
        QTest::addRow("top-left") << hqTopLeft << QRect(1, 1, 14, 28) << QPoint(3, 3) << 1 << 1;
        QTest::addRow("top-right") << hqTopRight << QRect(45, 1, 14, 28) << QPoint(56, 3) << -1 << 1;
        QTest::addRow("bottom-left") << hqBottomLeft << QRect(1, 1, 14, 28) << QPoint(3, 26) << 1 << -1;
        QTest::addRow("bottom-right") << hqBottomRight << QRect(45, 1, 14, 28) << QPoint(56, 26) << -1 << -1;
    }
    void paintLaysOutColumnTextAreaAndArrow() {
        QFETCH(THintQuadrant, quadrant);
        QFETCH(QRect, column);
        QFETCH(QPoint, anchor);
        QFETCH(int, sx);
        QFETCH(int, sy);
        QWidget form;
        TMyFlatHint hint(&form);
        hint.SetColorArrow(9126421);
        const QSize size(60, 30);
        QCOMPARE(TMyFlatHintWindow::ArrowColumn(size, quadrant), column);
        QCOMPARE(TMyFlatHintWindow::ArrowAnchorOf(column, quadrant), anchor);
        const QImage img = RenderHint(hint, size, quadrant, QString());

        for (int x = 0; x < 60; ++x) {
            QCOMPARE(img.pixelColor(x, 0), BorderColour);
            QCOMPARE(img.pixelColor(x, 29), BorderColour);
        }
        for (int y = 0; y < 30; ++y) {
            QCOMPARE(img.pixelColor(0, y), BorderColour);
            QCOMPARE(img.pixelColor(59, y), BorderColour);
        }
        // Column and text area, away from the arrow.
        const int farY = sy > 0 ? 20 : 8;
        QCOMPARE(img.pixelColor(column.left(), farY), ArrowBack);
        QCOMPARE(img.pixelColor(column.left() + 13, farY), ArrowBack);
        const int textX = column.left() == 1 ? 15 : 1;
        QCOMPARE(img.pixelColor(textX, 15), Background);
        QCOMPARE(img.pixelColor(textX + 43, 15), Background);

        for (int dy = 0; dy < 8; ++dy)
            for (int dx = 0; dx < 8; ++dx) {
                const QPoint pt = anchor + QPoint(sx * dx, sy * dy);
                const QColor expected = ArrowPicture[dy][dx] == '#' ? ArrowColour : ArrowBack;
                QVERIFY2(img.pixelColor(pt) == expected,
                         qPrintable(QString("arrow pixel %1,%2").arg(dx).arg(dy)));
            }
    }

    void rightToLeftTextIsRightAligned() {
        QWidget form;
        TMyFlatHint hint(&form);
        QFont font("Trebuchet MS");
        font.setPixelSize(14);
        hint.SetFont(font);
        const QString text = "mmmm mmmm mmmm mmmm mmmm mmmm mmmm mmmm mmmm i";
        const QSize size = TMyFlatHintWindow::CalcHintSize(text, font, 200);
        const QFontMetrics fm(font);
        const int lastLineY = size.height() - 3 - fm.height() + fm.ascent() - 3;
        auto inkSpan = [&](const QImage& img) {
            int first = -1, last = -1;
            for (int x = 16; x < size.width() - 1; ++x)
                for (int y = lastLineY - 8; y < lastLineY + 2; ++y)
                    if (img.pixelColor(x, y) != Background) {
                        if (first < 0)
                            first = x;
                        last = x;
                    }
            return std::make_pair(first, last);
        };
        const auto ltr = inkSpan(RenderHint(hint, size, hqTopLeft, text, Qt::LeftToRight));
        const auto rtl = inkSpan(RenderHint(hint, size, hqTopLeft, text, Qt::RightToLeft));
        QVERIFY(ltr.first >= 0 && rtl.first >= 0);
        QVERIFY2(ltr.first < 15 + 3 + 4, "left-aligned last line starts at the left margin");
        QVERIFY2(rtl.second > size.width() - 1 - 3 - 4, "right-aligned last line ends at the right margin");
        QVERIFY(rtl.first > ltr.first + 20);
    }

    void componentColoursApplyToTheNextHint() {
        QWidget form;
        TMyFlatHint hint(&form);
        hint.SetColorBackground(RGBColor(1, 2, 3));
        hint.SetColorArrowBackground(RGBColor(4, 5, 6));
        hint.SetColorBorder(RGBColor(7, 8, 9));
        TMyFlatHintWindow* window = TMyFlatHint::HintWindow();
        window->ActivateHint(QPoint(40, 40), "x");
        const QImage img = window->grab().toImage();
        QCOMPARE(img.pixelColor(0, 0), QColor(7, 8, 9));
        QCOMPARE(img.pixelColor(1, img.height() - 2), QColor(4, 5, 6));
        QCOMPARE(img.pixelColor(img.width() - 2, 1), QColor(1, 2, 3));
        window->ReleaseHandle();
    }

    void creationSetsTheApplicationHintTiming() {
        QWidget form;
        TMyFlatHint hint(&form);
        QCOMPARE(TMyFlatHint::HintPause(), 500);
        QCOMPARE(TMyFlatHint::HintShortPause(), 25);
        QCOMPARE(TMyFlatHint::HintHidePause(), 5000);
    }

    void widgetHintShowsInTheFlatWindowNeverInAStandardTooltip() {
        QWidget form;
        form.resize(300, 200);
        auto* button = new QLabel("Add", &form);
        button->setGeometry(20, 20, 80, 30);
        button->setToolTip("Add video files");
        auto* other = new QLabel("Convert", &form);
        other->setGeometry(150, 20, 80, 30);
        other->setToolTip("Convert the list");
        TMyFlatHint hint(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QElapsedTimer clock;
        clock.start();
        MoveOnto(button, QPoint(10, 10));
        TMyFlatHintWindow* window = TMyFlatHint::HintWindow();
        QTRY_VERIFY(window->isVisible());
        QVERIFY2(clock.elapsed() >= 450, "first hint waits 500 ms");
        QCOMPARE(window->HintText(), QString("Add video files"));
        QCOMPARE(window->Supplier(), &hint);
        QCOMPARE(window->pos(), button->mapToGlobal(QPoint(10, 10)) + QPoint(12, 12));

        // Qt's own tooltip request is taken, whoever sends it.
        QHelpEvent help(QEvent::ToolTip, QPoint(10, 10), button->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(button, &help);
        QVERIFY(!QToolTip::isVisible());
        QTest::qWait(800); // longer than Qt's own tooltip delay
        QVERIFY(!QToolTip::isVisible());

        // Moving on from a shown hint: the next one follows quickly.
        clock.restart();
        MoveOnto(other, QPoint(10, 10));
        QTRY_COMPARE(window->HintText(), QString("Convert the list"));
        QVERIFY(window->isVisible());
        QVERIFY2(clock.elapsed() < 400, "short pause between hints");
        QVERIFY(!QToolTip::isVisible());

        // A click hides it.
        QTest::mousePress(other, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(!window->isVisible());
        QTest::mouseRelease(other, Qt::LeftButton, {}, QPoint(10, 10));
    }

    void hintHidesAfterTheHidePause() {
        QWidget form;
        auto* label = new QLabel("Stop", &form);
        label->setGeometry(10, 10, 80, 30);
        label->setToolTip("Stop converting");
        TMyFlatHint hint(&form);
        TMyFlatHint::SetHintTiming(50, 25, 300);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        MoveOnto(label, QPoint(5, 5));
        TMyFlatHintWindow* window = TMyFlatHint::HintWindow();
        QTRY_VERIFY(window->isVisible());
        QTRY_VERIFY(!window->isVisible());
        // Moving within the same control does not bring it back.
        MoveOnto(label, QPoint(8, 6));
        QTest::qWait(150);
        QVERIFY(!window->isVisible());
    }

    void listRowsGiveTheirOwnHints() {
        QWidget form;
        auto* list = new QListWidget(&form);
        list->setGeometry(0, 0, 200, 150);
        list->addItem("clip1.avi");
        list->addItem("clip2.avi");
        list->item(0)->setToolTip("first row");
        list->item(1)->setToolTip("second row");
        TMyFlatHint hint(&form);
        TMyFlatHint::SetHintTiming(50, 25, 5000);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TMyFlatHintWindow* window = TMyFlatHint::HintWindow();
        const QRect row0 = list->visualItemRect(list->item(0));
        const QRect row1 = list->visualItemRect(list->item(1));
        MoveOnto(list->viewport(), row0.center());
        QTRY_COMPARE(window->HintText(), QString("first row"));
        QVERIFY(window->isVisible());
        MoveOnto(list->viewport(), row1.center());
        QTRY_COMPARE(window->HintText(), QString("second row"));
        QVERIFY(window->isVisible());
        QVERIFY(!QToolTip::isVisible());
    }

    void registeredProviderAnswersForItsWidget() {
        QWidget form;
        auto* area = new QLabel("area", &form);
        area->setGeometry(0, 0, 200, 100);
        area->setToolTip("not this");
        TMyFlatHint::SetHintProvider(area, [](const QPoint& pos, QRect& rect) {
            rect = QRect(0, pos.y() / 20 * 20, 200, 20);
            return QString("band %1").arg(pos.y() / 20);
        });
        TMyFlatHint hint(&form);
        TMyFlatHint::SetHintTiming(50, 25, 5000);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TMyFlatHintWindow* window = TMyFlatHint::HintWindow();
        MoveOnto(area, QPoint(50, 10));
        QTRY_COMPARE(window->HintText(), QString("band 0"));
        MoveOnto(area, QPoint(50, 65));
        QTRY_COMPARE(window->HintText(), QString("band 3"));
        QRect rect;
        QCOMPARE(TMyFlatHint::HintOf(area, QPoint(5, 45), &rect), QString("band 2"));
        QCOMPARE(rect, QRect(0, 40, 200, 20));
        TMyFlatHint::SetHintProvider(area, {});
        QCOMPARE(TMyFlatHint::HintOf(area, QPoint(5, 45)), QString("not this"));
    }

    void onShowHintMayChangeOrRefuseTheHint() {
        QWidget form;
        auto* label = new QLabel("Clear", &form);
        label->setGeometry(10, 10, 80, 30);
        label->setToolTip("clear all items");
        TMyFlatHint hint(&form);
        TMyFlatHint::SetHintTiming(50, 25, 5000);
        bool refuse = false;
        QWidget* seenControl = nullptr;
        hint.OnShowHint = [&](QString& text, bool& canShow, THintInfo& info) {
            seenControl = info.HintControl;
            text = text.toUpper();
            canShow = !refuse;
        };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TMyFlatHintWindow* window = TMyFlatHint::HintWindow();
        MoveOnto(label, QPoint(5, 5));
        QTRY_VERIFY(window->isVisible());
        QCOMPARE(window->HintText(), QString("CLEAR ALL ITEMS"));
        QCOMPARE(seenControl, label);

        refuse = true;
        MoveOnto(&form, QPoint(150, 150));
        MoveOnto(label, QPoint(6, 6));
        QTest::qWait(200);
        QVERIFY(!window->isVisible());
    }

    void withoutAComponentOnAFormNothingShows() {
        TMyFlatHint loose; // not on a form
        TMyFlatHintWindow* window = TMyFlatHint::HintWindow();
        QVERIFY(window);
        window->ActivateHint(QPoint(10, 10), "text");
        QVERIFY(!window->isVisible());
    }

    void destroyingTheComponentEndsTheService() {
        QWidget form;
        auto* label = new QLabel("Import", &form);
        label->setGeometry(10, 10, 80, 30);
        label->setToolTip("import a list");
        auto* hint = new TMyFlatHint(&form);
        TMyFlatHint::SetHintTiming(50, 25, 5000);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        MoveOnto(label, QPoint(5, 5));
        QTRY_VERIFY(TMyFlatHint::HintWindow()->isVisible());
        delete hint;
        QVERIFY(!TMyFlatHint::HintWindow());
        // The pointer keeps moving and tooltips are requested: nothing calls into the gone component.
        MoveOnto(&form, QPoint(150, 150));
        MoveOnto(label, QPoint(7, 7));
        QTest::qWait(100);
    }
};

QTEST_MAIN(TestMyFlatHintUnit)
#include "tst_MyFlatHintUnit.moc"
