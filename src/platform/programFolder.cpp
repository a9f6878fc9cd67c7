#include "platform/programFolder.h"

#include <QCoreApplication>

namespace {
QString& overrideFolder() {
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder() {
    QString folder = overrideFolder().isEmpty() ? QCoreApplication::applicationDirPath() : overrideFolder();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

void SetProgramFolderOverride(const QString& folder) {
    overrideFolder() = folder;
}
