#include "items/treeManager.h"

#include "items/itemManager.h"
#include "items/sharedFolderText.h"
#include "platform/VirtualStringTree.h"

TTreeManager* TreeManager = nullptr;

TVirtualNode* AppendItemRow(TVirtualStringTree* tree, TItemData&& item) {
    TTreeUpdate update(tree);
    PVirtualNode node = tree->AddChild(nullptr);
    TItemNodeData* data = tree->GetNodeData(node);
    data->NodeKind = 1;
    data->ItemData = std::move(item);
    data->Status = stWaiting;
    tree->InvalidateNode(node);
    return node;
}

TTreeManager::TTreeManager(TVirtualStringTree* tree) : tree_(tree) {
    if (tree_) {
        BindView();
        BindProperties();
    }
}

void TTreeManager::AddItems(const QList<QByteArray>& fileList) {
    if (fileList.isEmpty() || !tree_ || !ItemManager)
        return;
    // One outer update around the per-row updates: the rows reach the view as one notification.
    TTreeUpdate update(tree_);
    TSharedFolderText folders;
    for (int i = 0; i < fileList.size(); ++i) {
        TItemData item;
        item.FileName = QString::fromUtf8(fileList[i]);
        item.FormatIndex = ItemManager->GetFormatIndex(i);
        item.OutputFolder = folders.Widen(ItemManager->GetPath(i));
        AppendItemRow(tree_, std::move(item));
    }
    ItemManager->Clear();
}
