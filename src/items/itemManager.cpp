#include "items/itemManager.h"

#include "platform/strConvert.h"

TItemManager* ItemManager = nullptr;

TItemManager::TItemManager() = default;

void TItemManager::AddItem(const QByteArray& fileName, qint32 formatIndex, const QByteArray& path) {
    TSimpleXmlElement item = document_.Root().AddChild("item");
    item.AddChild("filename", fileName);
    item.AddChild("format", QByteArray::number(formatIndex));
    item.AddChild("path", path);
}

void TItemManager::Clear() {
    document_.Root().ClearChildren();
}

qint32 TItemManager::GetFormatIndex(int index) const {
    return StrToInt(document_.Root().Child(index).ChildValue("format"));
}

QByteArray TItemManager::GetPath(int index) const {
    return document_.Root().Child(index).ChildValue("path").toByteArray();
}
