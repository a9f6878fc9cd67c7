#include "items/itemManager.h"
#include "items/treeManager.h"
#include "platform/VirtualStringTree.h"
#include "platform/errors.h"

#include "itemRows.h"

#include <QTest>

Q_DECLARE_METATYPE(Row)

class TestTreeManager : public QObject {
    Q_OBJECT
    TItemManager staging_;

private slots:
    void init() {
        ItemManager = &staging_;
        staging_.Clear();
    }
    void cleanup() { ItemManager = nullptr; }

    void stagingListKeepsEntriesByPosition() {
        staging_.AddItem("/v/a.mp4", 3, "/out/");
        staging_.AddItem("/v/b.mp4", -1, "");
        staging_.AddItem("/v/c & d.mp4", 2147483647, "/x <y>/");
        QCOMPARE(staging_.Count(), 3);
        QCOMPARE(staging_.GetFormatIndex(0), 3);
        QCOMPARE(staging_.GetFormatIndex(1), -1);
        QCOMPARE(staging_.GetFormatIndex(2), 2147483647);
        QCOMPARE(staging_.GetPath(0), QByteArray("/out/"));
        QCOMPARE(staging_.GetPath(1), QByteArray());
        QCOMPARE(staging_.GetPath(2), QByteArray("/x <y>/"));
        QCOMPARE(staging_.GetPath(3), QByteArray());
        QVERIFY_THROWS_EXCEPTION(EConvertError, staging_.GetFormatIndex(3));
        staging_.Clear();
        QCOMPARE(staging_.Count(), 0);
    }

    void addItemsAppendsWaitingRowsInFileOrder() {
        TVirtualStringTree tree;
        TTreeManager manager(&tree);
        staging_.AddItem("/v/old.mp4", 0, "");
        manager.AddItems({"/v/old.mp4"});
        const QList<QByteArray> files{"/v/b.mp4", "/v/a.mp4", QByteArray("/v/\xC3\xBC \xF0\x9F\x98\x80.mkv")};
        staging_.AddItem(files[0], 2, "/out/");
        staging_.AddItem(files[1], -1, "");
        staging_.AddItem(files[2], 5, QByteArray("/\xE4\xB8\xAD/"));
        tree.GetNodeData(tree.GetFirst())->Status = stConverted;
        manager.AddItems(files);
        const QList<Row> expected{
            {"/v/old.mp4", 0, ""},
            {"/v/b.mp4", 2, "/out/"},
            {"/v/a.mp4", -1, ""},
            {QString::fromUtf8("/v/\xC3\xBC \xF0\x9F\x98\x80.mkv"), 5, QString::fromUtf8("/\xE4\xB8\xAD/")}};
        QCOMPARE(rows(tree), expected);
        for (PVirtualNode n = tree.GetNextSibling(tree.GetFirst()); n; n = tree.GetNextSibling(n)) {
            const TItemNodeData* d = tree.GetNodeData(n);
            QCOMPARE(d->NodeKind, quint8(1));
            QCOMPARE(d->Status, stWaiting);
            QVERIFY(!d->ItemData.Running);
            QCOMPARE(d->ItemData.AnimationStep, 0u);
            QVERIFY(d->RootData.Caption.isEmpty());
        }
        QCOMPARE(tree.GetNodeData(tree.GetFirst())->Status, stConverted);
        QCOMPARE(staging_.Count(), 0);
        QCOMPARE(tree.UpdateCount(), 0);
        QCOMPARE(tree.model()->rowCount(), 4);
    }

    void sameFileTwiceGivesIndependentRows() {
        TVirtualStringTree tree;
        TTreeManager manager(&tree);
        staging_.AddItem("/v/a.mp4", 1, "");
        staging_.AddItem("/v/a.mp4", 1, "");
        manager.AddItems({"/v/a.mp4", "/v/a.mp4"});
        QCOMPARE(tree.TotalCount(), 2u);
        tree.GetNodeData(tree.GetFirst())->ItemData.FormatIndex = 7;
        QCOMPARE(tree.GetNodeData(tree.GetNextSibling(tree.GetFirst()))->ItemData.FormatIndex, 1);
    }

    void emptyFileListChangesNothing() {
        TVirtualStringTree tree;
        TTreeManager manager(&tree);
        staging_.AddItem("/v/a.mp4", 1, "");
        manager.AddItems({});
        QCOMPARE(tree.TotalCount(), 0u);
        QCOMPARE(staging_.Count(), 1);
    }
};

QTEST_MAIN(TestTreeManager)
#include "tst_treeManager.moc"
