#include "engine/commandManager.h"

#include "platform/programFolder.h"

#include <QFileInfo>

TCommandManager* CommandManager = nullptr;

TCommandManager::TCommandManager() : TCommandManager(ProgramFolder() + QStringLiteral("command")) {}

TCommandManager::TCommandManager(const QString& commandFilePath) {
    Load(commandFilePath);
}

void TCommandManager::Load(const QString& path) {
    document_.Clear({});
    formatNames_.clear();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    document_.LoadFromFile(path); // on failure the document stays empty
    const TSimpleXmlElement root = document_.Root();
    QStringList names;
    names.reserve(root.ChildCount());
    for (TSimpleXmlElement entry = root.FirstChild(); entry; entry = entry.NextSibling())
        names.append(QString::fromUtf8(entry.IsElement() ? entry.ChildValue("format") : QByteArrayView()));
    formatNames_ = std::move(names);
}

QByteArray TCommandManager::childText(qint32 index, QByteArrayView name) const {
    if (!IsValidIndex(index))
        return {};
    const TSimpleXmlElement entry = document_.Root().Child(index);
    if (!entry.IsElement())
        return {};
    return entry.ChildValue(name).toByteArray();
}

QByteArray TCommandManager::GetParams(qint32 index) const {
    return childText(index, "params");
}

QByteArray TCommandManager::GetExt(qint32 index) const {
    return childText(index, "ext");
}
