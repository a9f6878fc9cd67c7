#include "items/saveManager.h"

#include "platform/VirtualStringTree.h"
#include "platform/strConvert.h"

#include <QFileInfo>

TSaveManager* SaveManager = nullptr;

TSaveManager::TSaveManager(TVirtualStringTree* tree) : tree_(tree) {}

void TSaveManager::Export(const QString& path) {
    document_.Clear("list");
    TSimpleXmlElement root = document_.Root();
    PVirtualNode node = tree_->GetFirst();
    for (quint32 i = 0; i < tree_->TotalCount() && node; ++i, node = tree_->GetNextSibling(node)) {
        const TItemData& data = tree_->GetNodeData(node)->ItemData;
        TSimpleXmlElement item = root.AddChild("item");
        item.AddChild("filename", data.FileName.toUtf8());
        item.AddChild("format", QByteArray::number(data.FormatIndex));
        item.AddChild("path", data.OutputFolder.toUtf8());
    }
    document_.SaveToFile(path);
    // The document is not needed until the next command: give its memory back.
    document_.Clear("list");
}

void TSaveManager::Import(const QString& path) {
    if (!QFileInfo::exists(path))
        return;
    document_.LoadFromFile(path);
    struct Release {
        TSimpleXmlDocument& doc;
        ~Release() { doc.Clear("list"); }
    } release{document_};
    tree_->BeginUpdate();
    struct EndUpdate {
        TVirtualStringTree* tree;
        ~EndUpdate() { tree->EndUpdate(); }
    } endUpdate{tree_};
    for (TSimpleXmlElement item = document_.Root().FirstChild(); item; item = item.NextSibling()) {
        if (!item.IsElement())
            continue;
        const TSimpleXmlElement fileName = item.FindChild("filename");
        if (!fileName)
            continue;
        TItemData data;
        data.FileName = QString::fromUtf8(fileName.ValueView());
        data.FormatIndex = StrToInt(item.ChildValue("format"));
        data.OutputFolder = QString::fromUtf8(item.ChildValue("path"));
        tree_->BeginUpdate();
        PVirtualNode node = tree_->AddChild(nullptr);
        TItemNodeData* record = tree_->GetNodeData(node);
        record->NodeKind = 1;
        record->ItemData = std::move(data);
        record->Status = stWaiting;
        tree_->InvalidateNode(node);
        tree_->EndUpdate();
    }
}
