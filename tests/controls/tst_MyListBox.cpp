#include "controls/MyListBox.h"
#include "pixelProbe.h"

#include <QScrollBar>
#include <QTest>

using PixelProbe::At;
using PixelProbe::BoundsOf;

namespace {

const QColor Back(255, 255, 255);
const QColor Picture(220, 30, 30);
const QColor Ink(147, 121, 121);
const QColor Box(181, 178, 255);
const QColor Blue(0, 0, 255);

QFont CrispFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The dialogs' file list: entries 35 high, one 32 x 32 picture, no border.
struct Scene {
    QWidget window;
    TMyListBox* box;
    QWidget* other;
    Scene() {
        window.resize(260, 160);
        box = new TMyListBox(&window);
        box->setGeometry(0, 0, 200, 120);
        box->SetBorderStyle(bsNone);
        box->SetItemHeight(35);
        QPixmap picture(32, 32);
        picture.fill(Picture);
        box->SetImageList({picture});
        box->SetImageIndex(0);
        box->SetColor(QColorToTColor(Back));
        box->SetFontColor(QColorToTColor(Ink));
        box->setFont(CrispFont());
        other = new QWidget(&window);
        other->setGeometry(210, 0, 20, 20);
        other->setFocusPolicy(Qt::StrongFocus);
    }
    void Show() {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    // Entry `row` of the painted list.
    QImage Entry(int row) { return PixelProbe::Render(*box).copy(0, row * 35, box->width(), 35); }
};

} // namespace

class TestMyListBox : public QObject {
    Q_OBJECT
private slots:
    // Selected and focused-but-unselected entries look the same: a light blue-violet box and
    // blue text; the picture sits at (4, (35 - 32) / 2) and the text at x = 4 + 32 + 4.
    void entriesShowPictureTextAndHighlight_data() {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("highlighted");
        QTest::addRow("plain") << "none" << false;
        QTest::addRow("selected, list without focus") << "selected" << true;
        QTest::addRow("focused, not selected") << "focused" << true;
        QTest::addRow("selected and focused") << "both" << true;
    }
    void entriesShowPictureTextAndHighlight() {
        QFETCH(QString, mark);
        QFETCH(bool, highlighted);
        Scene scene;
        scene.box->SetItems({QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")});
        scene.Show();
        scene.other->setFocus();
        const QModelIndex second = scene.box->model()->index(1, 0);
        if (mark == "selected" || mark == "both")
            scene.box->selectionModel()->select(second, QItemSelectionModel::ClearAndSelect);
        if (mark == "focused" || mark == "both") {
            if (mark == "focused")
                scene.box->selectionModel()->clearSelection();
            scene.box->selectionModel()->setCurrentIndex(second, QItemSelectionModel::NoUpdate);
            scene.box->setFocus();
            QTRY_VERIFY(scene.box->hasFocus());
        }
        const QImage entry = scene.Entry(1);
        const QColor field = highlighted ? Box : Back;
        QCOMPARE(At(entry, {0, 0}), field);
        QCOMPARE(At(entry, {3, 17}), field);
        QCOMPARE(At(entry, {199, 34}), field);
        QCOMPARE(At(entry, {4, 1}), Picture);
        QCOMPARE(At(entry, {35, 32}), Picture);
        QCOMPARE(At(entry, {4, 0}), field);
        QCOMPARE(At(entry, {36, 17}), field);
        const QRect text = BoundsOf(entry, highlighted ? Blue : Ink);
        QVERIFY(!text.isEmpty());
        QVERIFY2(text.left() >= 40 && text.left() <= 43, qPrintable(QString::number(text.left())));
        QVERIFY2(qAbs(text.center().y() - 17) <= 3, qPrintable(QString::number(text.center().y())));
        QVERIFY(BoundsOf(entry, highlighted ? Ink : Blue).isEmpty());
        // Neighbours keep the plain look.
        QCOMPARE(At(scene.Entry(0), {0, 0}), Back);
        QCOMPARE(At(scene.Entry(2), {0, 0}), Back);
    }

    void aLongEntryKeepsItsPictureAndRunsPastTheEdge() {
        Scene scene;
        scene.box->SetItems(
            {QStringLiteral("a very long file name that is far wider than the list box.mp4")});
        scene.box->setCurrentRow(0);
        scene.Show();
        const QImage entry = scene.Entry(0);
        QCOMPARE(At(entry, {4, 1}), Picture);
        QCOMPARE(At(entry, {199, 0}), Box);
        QVERIFY(BoundsOf(entry, Blue).right() >= 195); // clipped by the control, not shortened
        QCOMPARE(scene.box->horizontalScrollBar()->isVisible(), false);
    }

    void anEmptyFocusedListIsPlainBackground() {
        Scene scene;
        scene.Show();
        scene.box->setFocus();
        QTRY_VERIFY(scene.box->hasFocus());
        const QImage image = PixelProbe::Render(*scene.box);
        QCOMPARE(BoundsOf(image, Back), QRect(0, 0, 200, 120));
    }

    void itemsAndItemIndex() {
        TMyListBox box;
        box.SetItems({QStringLiteral("a"), QStringLiteral("b")});
        QCOMPARE(box.Items(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(box.ItemIndex(), -1);
        box.SetItemIndex(1);
        QCOMPARE(box.ItemIndex(), 1);
        box.SetItemHeight(35);
        QCOMPARE(box.visualItemRect(box.item(1)).top(), 35);
        QCOMPARE(box.visualItemRect(box.item(1)).height(), 35);
    }
};

QTEST_MAIN(TestMyListBox)
#include "tst_MyListBox.moc"
