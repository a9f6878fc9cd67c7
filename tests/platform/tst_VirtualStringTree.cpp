#include "platform/VirtualStringTree.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

// Appends rows whose FileName is their creation number.
QList<PVirtualNode> addRows(TVirtualStringTree& tree, int count) {
    QList<PVirtualNode> nodes;
    for (int i = 0; i < count; ++i) {
        PVirtualNode node = tree.AddChild(nullptr);
        tree.GetNodeData(node)->ItemData.FileName = QString::number(tree.TotalCount() - 1);
        nodes << node;
    }
    return nodes;
}

QStringList names(const TVirtualStringTree& tree) {
    QStringList list;
    for (PVirtualNode n = tree.GetFirst(); n; n = tree.GetNextSibling(n))
        list << tree.GetNodeData(n)->ItemData.FileName;
    return list;
}

std::unique_ptr<TVirtualStringTree> shownTree() {
    auto tree = std::make_unique<TVirtualStringTree>();
    tree->resize(400, 200);
    tree->setColumnWidth(0, 300);
    tree->setColumnWidth(1, 100);
    tree->SetDefaultNodeHeight(25);
    tree->OnGetText = [t = tree.get()](PVirtualNode node, int column) {
        return column == 0 ? t->GetNodeData(node)->ItemData.FileName : QString();
    };
    tree->show();
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(tree.get());
    return tree;
}

QPoint rowCentre(TVirtualStringTree& tree, PVirtualNode node, int column) {
    return tree.visualRect(tree.model()->index(int(node->Index()), column)).center();
}

} // namespace

class TestVirtualStringTree : public QObject {
    Q_OBJECT
private slots:
    void newRowsAreZeroFilledAndAppended() {
        TVirtualStringTree tree;
        QCOMPARE(tree.GetFirst(), nullptr);
        QCOMPARE(tree.GetNodeData(nullptr), nullptr);
        const auto nodes = addRows(tree, 3);
        QCOMPARE(tree.TotalCount(), 3u);
        QCOMPARE(names(tree), QStringList({"0", "1", "2"}));
        const TItemNodeData* data = tree.GetNodeData(nodes[2]);
        QCOMPARE(data->NodeKind, quint8(0));
        QCOMPARE(data->Status, 0);
        QCOMPARE(data->ItemData.FormatIndex, 0);
        QVERIFY(!data->ItemData.Running);
        QCOMPARE(data->ItemData.AnimationStep, 0u);
        QCOMPARE(tree.GetNextSibling(nodes[2]), nullptr);
        QCOMPARE(tree.Index(nodes[1]), 1u);
        QCOMPARE(nodes[1]->Index(), 1u);
        QCOMPARE(tree.GetNodeLevel(nodes[1]), 0);
    }

    // Deleting a row keeps the handles of the others valid and renumbers them.
    void deletingKeepsOtherHandles() {
        TVirtualStringTree tree;
        const auto nodes = addRows(tree, 5);
        QList<QString> freed;
        tree.OnFreeNode = [&](PVirtualNode node) { freed << tree.GetNodeData(node)->ItemData.FileName; };
        tree.Selected(nodes[1], true);
        tree.Selected(nodes[3], true); // single selection: row 1 is no longer selected
        QVERIFY(!tree.Selected(nodes[1]));
        QCOMPARE(tree.GetFirstSelected(), nodes[3]);
        tree.DeleteSelectedNodes();
        QCOMPARE(freed, QStringList({"3"}));
        QCOMPARE(names(tree), QStringList({"0", "1", "2", "4"}));
        QCOMPARE(nodes[4]->Index(), 3u);
        QCOMPARE(tree.GetNextSibling(nodes[2]), nodes[4]);
        QCOMPARE(tree.GetNodeData(nodes[4])->ItemData.FileName, QString("4"));
        tree.DeleteSelectedNodes(); // nothing selected any more
        QCOMPARE(tree.TotalCount(), 4u);
    }

    void deletingTheFocusedRowLeavesNoFocus() {
        TVirtualStringTree tree;
        const auto nodes = addRows(tree, 3);
        tree.SetFocusedNode(nodes[1]);
        tree.Selected(nodes[1], true);
        QCOMPARE(tree.FocusedNode(), nodes[1]);
        tree.DeleteSelectedNodes();
        QCOMPARE(tree.FocusedNode(), nullptr);
        tree.SetFocusedNode(nodes[2]);
        QCOMPARE(tree.FocusedNode(), nodes[2]);
    }

    void clearReleasesEveryRecord() {
        TVirtualStringTree tree;
        addRows(tree, 4);
        int freed = 0;
        tree.OnFreeNode = [&](PVirtualNode) { ++freed; };
        tree.Clear();
        QCOMPARE(freed, 4);
        QCOMPARE(tree.TotalCount(), 0u);
        QCOMPARE(tree.GetFirst(), nullptr);
        QCOMPARE(tree.model()->rowCount(), 0);
        addRows(tree, 1);
        QCOMPARE(tree.model()->rowCount(), 1);
    }

    // Rows added inside nested updates reach the view as one insertion at the outermost end, and
    // repaints of rows the view already shows wait for it too.
    void updatesBatchNotifications() {
        TVirtualStringTree tree;
        const auto first = addRows(tree, 2);
        QSignalSpy inserted(tree.model(), &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(tree.model(), &QAbstractItemModel::dataChanged);
        tree.BeginUpdate();
        for (int i = 0; i < 3; ++i) {
            tree.BeginUpdate();
            PVirtualNode node = tree.AddChild();
            tree.InvalidateNode(node);
            tree.EndUpdate();
        }
        tree.InvalidateNode(first[1]);
        QCOMPARE(tree.TotalCount(), 5u);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(changed.count(), 0);
        tree.EndUpdate();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted[0][1].toInt(), 2);
        QCOMPARE(inserted[0][2].toInt(), 4);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].value<QModelIndex>().row(), 1);
        QCOMPARE(tree.model()->rowCount(), 5);
        tree.InvalidateNode(first[0]);
        QCOMPARE(changed.count(), 2);
        tree.EndUpdate(); // unbalanced: ignored
        QCOMPARE(tree.UpdateCount(), 0);
    }

    void rightClickSelectsAndAsksForTheMenu_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("belowLastRow");
        QTest::addRow("path column") << 0 << false;
        QTest::addRow("progress column") << 1 << false;
        QTest::addRow("below the last row") << 0 << true;
    }
    void rightClickSelectsAndAsksForTheMenu() {
        QFETCH(int, column);
        QFETCH(bool, belowLastRow);
        auto tree = shownTree();
        const auto nodes = addRows(*tree, 3);
        QMenu menu;
        menu.addAction("&Delete");
        PVirtualNode askedNode = nodes[0];
        int askedColumn = -1;
        tree->OnGetPopupMenu = [&](PVirtualNode node, int col, const QPoint&) -> QMenu* {
            askedNode = node;
            askedColumn = col;
            return col == 0 ? &menu : nullptr;
        };
        QPoint pos = rowCentre(*tree, nodes[1], column);
        if (belowLastRow)
            pos.setY(rowCentre(*tree, nodes[2], column).y() + 60);
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, pos);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, tree->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(tree->viewport(), &event);
        QCOMPARE(askedColumn, column);
        QCOMPARE(askedNode, belowLastRow ? nullptr : nodes[1]);
        QCOMPARE(tree->Selected(nodes[1]), !belowLastRow);
        QCOMPARE(tree->FocusedNode(), belowLastRow ? nullptr : nodes[1]);
        QTRY_COMPARE(menu.isVisible(), column == 0);
        menu.hide();
    }

    void doubleClickReportsTheColumn() {
        auto tree = shownTree();
        const auto nodes = addRows(*tree, 2);
        QList<int> columns;
        tree->OnColumnDblClick = [&](int column) { columns << column; };
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, rowCentre(*tree, nodes[1], 1));
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, rowCentre(*tree, nodes[0], 0));
        QCOMPARE(columns, QList<int>({1, 0}));
        QCOMPARE(tree->FocusedNode(), nodes[0]);
    }

    void pointsMapToRowsAndHints() {
        auto tree = shownTree();
        const auto nodes = addRows(*tree, 2);
        tree->OnGetHint = [&](PVirtualNode node, int column) {
            return column == 0 ? "hint " + tree->GetNodeData(node)->ItemData.FileName : QString();
        };
        QCOMPARE(tree->GetNodeAt(rowCentre(*tree, nodes[1], 0)), nodes[1]);
        QCOMPARE(tree->GetNodeAt(QPoint(10, 190)), nullptr);
        QCOMPARE(tree->HintAt(rowCentre(*tree, nodes[1], 0)), QString("hint 1"));
        QCOMPARE(tree->HintAt(rowCentre(*tree, nodes[1], 1)), QString());
    }

    // Each cell is painted by OnBeforeCellPaint first, then the row's picture over it.
    void cellsArePaintedThroughTheEvents() {
        auto tree = shownTree();
        const auto nodes = addRows(*tree, 2);
        QPixmap picture(16, 16);
        picture.fill(QColor(0, 200, 0));
        tree->Images = {picture};
        tree->OnGetImageIndex = [](PVirtualNode node, int column) {
            return column == 0 && node->Index() == 1 ? 0 : -1;
        };
        QList<int> paintedColumns;
        tree->OnBeforeCellPaint = [&](QPainter* painter, PVirtualNode node, int column, const QRect& rect) {
            if (node == nodes[1])
                paintedColumns << column;
            painter->fillRect(rect, QColor(200, 0, 0));
        };
        tree->viewport()->update();
        const QImage image = tree->viewport()->grab().toImage();
        QVERIFY(paintedColumns.contains(0) && paintedColumns.contains(1));
        const QRect cell0 = tree->visualRect(tree->model()->index(1, 0));
        const QRect cell1 = tree->visualRect(tree->model()->index(1, 1));
        QCOMPARE(cell0.height(), 25);
        QCOMPARE(image.pixelColor(cell1.center()), QColor(200, 0, 0));
        QCOMPARE(image.pixelColor(cell0.left() + 2 + 8, cell0.center().y()), QColor(0, 200, 0));
        const QRect row0Cell0 = tree->visualRect(tree->model()->index(0, 0));
        QCOMPARE(image.pixelColor(row0Cell0.left() + 10, row0Cell0.center().y()), QColor(200, 0, 0));
    }

    void resizeRaisesOnResize() {
        auto tree = shownTree();
        int resizes = 0;
        tree->OnResize = [&] { ++resizes; };
        tree->resize(300, 150);
        QTRY_VERIFY(resizes > 0);
    }
};

QTEST_MAIN(TestVirtualStringTree)
#include "tst_VirtualStringTree.moc"
