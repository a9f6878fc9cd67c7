#include "controls/menuDraw.h"
#include "engine/command.h"
#include "items/treeManager.h"
#include "items/treeManagerView.h"
#include "platform/VirtualStringTree.h"

#include "encoderFixture.h"
#include "pixelProbe.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

const QColor BoxColor(127, 157, 185);
const QColor RowColor(233, 234, 238);

// A list control as the main window has it: two columns of 700 and 100 pixels, 25-pixel rows.
struct TListFixture {
    TVirtualStringTree tree;
    TTreeManager manager{&tree};
    QMenu menu;
    TMenuDraw draw;

    TListFixture() {
        tree.resize(828, 249);
        tree.SetDefaultNodeHeight(25);
        tree.setColumnWidth(0, 700);
        tree.setColumnWidth(1, 100);
        QPalette palette = tree.palette();
        palette.setColor(QPalette::Base, RowColor);
        tree.setPalette(palette);
        menu.addAction(QStringLiteral("&Delete"));
        draw.Attach(&menu);
        MenuDraw = &draw;
    }
    ~TListFixture() { MenuDraw = nullptr; }

    PVirtualNode Add(const QString& file, qint32 format, const QString& folder = QString()) {
        PVirtualNode node = tree.AddChild();
        TItemNodeData* data = tree.GetNodeData(node);
        data->NodeKind = 1;
        data->ItemData.FileName = file;
        data->ItemData.FormatIndex = format;
        data->ItemData.OutputFolder = folder;
        return node;
    }

    // Right-clicks a viewport point as the user does: the press selects, then the list asks for its menu.
    void RightClick(const QPoint& pos) {
        QTest::mousePress(tree.viewport(), Qt::RightButton, {}, pos);
        QTest::mouseRelease(tree.viewport(), Qt::RightButton, {}, pos);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, tree.viewport()->mapToGlobal(pos));
        QApplication::sendEvent(tree.viewport(), &event);
    }
};

QImage PaintCell(const TItemData& item) {
    QImage image(100, 25, QImage::Format_RGB32);
    image.fill(RowColor);
    QPainter painter(&image);
    ItemListView::PaintProgressBox(painter, image.rect(), item);
    return image;
}

} // namespace

class TestTreeManagerView : public QObject {
    Q_OBJECT
private slots:
    void hintText_data();
    void hintText();
    void textAndPictureByColumn();
    void progressBox_data();
    void progressBox();
    void busyBarPaintedInTheList();
    void popupMenuRule();
    void noPopupMenuWhileConverting();
    void watermarkAnchoredBottomRight_data();
    void watermarkAnchoredBottomRight();
    void listOutlivesItsManager();
};

void TestTreeManagerView::hintText_data() {
    QTest::addColumn<qint32>("format");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("hint");
    const QString file = QStringLiteral("/videos/clip one.avi");
    QTest::addRow("default output folder")
        << 1 << QString() << "[File Name]: " + file + "\n[format]: MP4 real time\n[path]: ";
    QTest::addRow("own output folder")
        << 0 << QStringLiteral("/data/out/")
        << "[File Name]: " + file + "\n[format]: MP4 quick\n[path]: /data/out/";
    QTest::addRow("index past the catalogue")
        << 7 << QString() << "[File Name]: " + file + "\n[format]: (unknown format, index 7)\n[path]: ";
    QTest::addRow("no format (empty catalogue)")
        << -1 << QString() << "[File Name]: " + file + "\n[format]: (unknown format, index -1)\n[path]: ";
}

void TestTreeManagerView::hintText() {
    QFETCH(qint32, format);
    QFETCH(QString, folder);
    QFETCH(QString, hint);
    TEncoderFixture encoder;
    TListFixture list;
    PVirtualNode node = list.Add(QStringLiteral("/videos/clip one.avi"), format, folder);
    QCOMPARE(list.tree.OnGetHint(node, 0), hint);
    QCOMPARE(list.tree.OnGetHint(node, 1), QString());
    // The list control asks for the hint of the row under the pointer.
    list.tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list.tree));
    QCOMPARE(list.tree.HintAt(QPoint(300, 12)), hint);
    QCOMPARE(list.tree.HintAt(QPoint(750, 12)), QString());
}

void TestTreeManagerView::textAndPictureByColumn() {
    TListFixture list;
    PVirtualNode node = list.Add(QStringLiteral("/videos/a.mp4"), 0);
    list.tree.GetNodeData(node)->Status = stConverted;
    QCOMPARE(list.tree.OnGetText(node, 0), QStringLiteral("/videos/a.mp4"));
    QCOMPARE(list.tree.OnGetText(node, 1), QString());
    QCOMPARE(list.tree.OnGetImageIndex(node, 0), int(stConverted));
    QCOMPARE(list.tree.OnGetImageIndex(node, 1), -1);
}

void TestTreeManagerView::progressBox_data() {
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("barLeft"); // in cell coordinates; -1: no bar
    QTest::addRow("idle row: empty box") << false << 30 << -1;
    QTest::addRow("bar at step 0 touches the left edge") << true << 0 << 5;
    QTest::addRow("bar at step 74 ends at the box's last inner pixel") << true << 74 << 79;
}

// The box is the cell shrunk by 5 pixels: (5, 5) to (94, 19). The bar is 15 pixels wide and covers
// the box's full height.
void TestTreeManagerView::progressBox() {
    QFETCH(bool, running);
    QFETCH(int, step);
    QFETCH(int, barLeft);
    TItemData item;
    item.Running = running;
    item.AnimationStep = quint32(step);
    const QImage cell = PaintCell(item);
    for (const QPoint p :
         {QPoint(5, 5), QPoint(94, 5), QPoint(5, 19), QPoint(94, 19), QPoint(50, 5), QPoint(5, 12)})
        QCOMPARE(QColor(cell.pixel(p)), BoxColor);
    for (const QPoint p : {QPoint(4, 12), QPoint(95, 12), QPoint(50, 4), QPoint(50, 20)})
        QCOMPARE(QColor(cell.pixel(p)), RowColor);
    if (barLeft < 0) {
        QCOMPARE(QColor(cell.pixel(50, 12)), RowColor);
        return;
    }
    const int barRight = barLeft + 14;
    for (const int y : {6, 12, 18}) {
        QCOMPARE(QColor(cell.pixel(barLeft, y)), BoxColor);
        QCOMPARE(QColor(cell.pixel(barRight, y)), BoxColor);
        if (barLeft > 5)
            QCOMPARE(QColor(cell.pixel(barLeft - 1, y)), RowColor);
        if (barRight < 93)
            QCOMPARE(QColor(cell.pixel(barRight + 1, y)), RowColor);
    }
    QCOMPARE(PixelProbe::BoundsOf(cell, BoxColor), QRect(5, 5, 90, 15));
}

// The list paints column 1 of every row through the manager, from the row's record.
void TestTreeManagerView::busyBarPaintedInTheList() {
    TListFixture list;
    list.Add(QStringLiteral("/videos/a.mp4"), 0);
    PVirtualNode second = list.Add(QStringLiteral("/videos/b.mp4"), 0);
    list.Add(QStringLiteral("/videos/c.mp4"), 0);
    list.tree.GetNodeData(second)->ItemData.Running = true;
    list.tree.GetNodeData(second)->ItemData.AnimationStep = 40;
    list.tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list.tree));
    const QImage shot = list.tree.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Row 1 spans y 25..49; its box spans x 705..794, y 30..44; the bar starts at 705 + 40.
    QCOMPARE(QColor(shot.pixel(745, 37)), BoxColor);
    QCOMPARE(QColor(shot.pixel(759, 37)), BoxColor);
    QCOMPARE(QColor(shot.pixel(760, 37)), RowColor);
    QCOMPARE(QColor(shot.pixel(744, 37)), RowColor);
    // Row 2 is not running: its box is empty.
    QCOMPARE(QColor(shot.pixel(705, 55)), BoxColor);
    QCOMPARE(QColor(shot.pixel(745, 62)), RowColor);
}

void TestTreeManagerView::popupMenuRule() {
    TListFixture list;
    PVirtualNode first = list.Add(QStringLiteral("/videos/a.mp4"), 0);
    PVirtualNode second = list.Add(QStringLiteral("/videos/b.mp4"), 0);
    list.tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list.tree));

    // Over column 1: the row is selected, but no menu opens.
    list.RightClick(QPoint(750, 37));
    QVERIFY(list.tree.Selected(second));
    QCOMPARE(list.tree.FocusedNode(), second);
    QVERIFY(!list.menu.isVisible());

    // Over column 0: the row is selected and the item menu opens.
    list.RightClick(QPoint(300, 12));
    QVERIFY(list.tree.Selected(first));
    QTRY_VERIFY(list.menu.isVisible());
    list.menu.close();

    // Below the last row, still column 0: the menu opens too.
    list.RightClick(QPoint(300, 200));
    QTRY_VERIFY(list.menu.isVisible());
    list.menu.close();
}

void TestTreeManagerView::noPopupMenuWhileConverting() {
    TEncoderFixture encoder;
    const QString clip = encoder.Folder() + QStringLiteral("clip.avi");
    QVERIFY(TEncoderFixture::MakeClip(clip, 20));
    TListFixture list;
    PVirtualNode node = list.Add(clip, TEncoderFixture::fmtRealTime);
    TCommand driver(&list.tree);
    bool completed = false;
    driver.OnProgress = [](TCommand*, quint32) {};
    driver.OnComplete = [&](TCommand*, bool) { completed = true; };
    BatchDriver = &driver;
    list.tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list.tree));
    driver.Start();
    QVERIFY(!driver.IsIdle());

    list.RightClick(QPoint(300, 12));
    QVERIFY(list.tree.Selected(node));
    QVERIFY(!list.menu.isVisible());

    driver.Stop();
    // Between the stop request and the end of the run the item menu is still withheld.
    list.RightClick(QPoint(300, 12));
    QVERIFY(!list.menu.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(completed, 10000);
    BatchDriver = nullptr;
    list.RightClick(QPoint(300, 12));
    QTRY_VERIFY(list.menu.isVisible());
    list.menu.close();
}

void TestTreeManagerView::watermarkAnchoredBottomRight_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QPoint>("offset");
    QTest::addRow("main window's list") << QSize(803, 239) << QPoint(803 - 256, 239 - 256);
    QTest::addRow("100 x 100 client area") << QSize(100, 100) << QPoint(-156, -156);
}

void TestTreeManagerView::watermarkAnchoredBottomRight() {
    QFETCH(QSize, client);
    QFETCH(QPoint, offset);
    QCOMPARE(ItemListView::WatermarkOffset(client, QSize(256, 256)), offset);

    // The list control moves the picture on every resize.
    TListFixture list;
    list.tree.Background = QPixmap(256, 256);
    list.tree.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.tree.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.tree.setFrameShape(QFrame::NoFrame);
    list.tree.resize(client);
    list.tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list.tree));
    QCOMPARE(list.tree.viewport()->size(), client);
    QCOMPARE(list.tree.BackgroundOffset, offset);
}

// At shutdown the manager goes before the list control; the control must not call into it afterwards.
void TestTreeManagerView::listOutlivesItsManager() {
    TVirtualStringTree tree;
    tree.resize(400, 100);
    auto* manager = new TTreeManager(&tree);
    PVirtualNode node = tree.AddChild();
    tree.GetNodeData(node)->ItemData.FileName = QStringLiteral("/videos/a.avi");
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    delete manager;
    QVERIFY(!tree.OnGetText && !tree.OnGetHint && !tree.OnBeforeCellPaint && !tree.OnGetPopupMenu &&
            !tree.OnResize && !tree.OnColumnDblClick);
    tree.resize(300, 100);
    tree.viewport()->repaint();
    QCOMPARE(tree.HintAt(QPoint(10, 5)), QString());
}

QTEST_MAIN(TestTreeManagerView)
#include "tst_treeManagerView.moc"
