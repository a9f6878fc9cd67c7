#include "items/BrowseFolder.h"

#include "platform/dialogSeam.h"

#include <QDir>

QByteArray BrowseForFolder(QWidget* owner, const QByteArray& title, const QByteArray& initialFolder) {
    const QString chosen =
        Dialogs().BrowseForFolder(owner, QString::fromUtf8(title), QString::fromUtf8(initialFolder));
    // Anything but an absolute path (a cancelled picker, a place without a file-system path)
    // counts as cancelled.
    if (chosen.isEmpty() || !QDir::isAbsolutePath(chosen))
        return QByteArray();
    return WithTrailingSlash(QDir::fromNativeSeparators(chosen).toUtf8());
}

QString WithTrailingSlash(const QString& folder) {
    return folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
}

QByteArray WithTrailingSlash(const QByteArray& folder) {
    return folder.isEmpty() || folder.endsWith('/') ? folder : folder + '/';
}
