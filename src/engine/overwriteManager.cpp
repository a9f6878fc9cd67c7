#include "engine/overwriteManager.h"

#include <sys/stat.h>

TOverwriteManager* OverwriteManager = nullptr;

namespace {

bool taken(const QByteArray& path) {
    struct stat info;
    if (::stat(path.constData(), &info) == 0)
        return !S_ISDIR(info.st_mode);
    // A dangling link: writing there would create a file wherever the link points.
    return ::lstat(path.constData(), &info) == 0;
}

} // namespace

QByteArray TOverwriteManager::UniqueName(const QByteArray& path) const {
    const qsizetype nameStart = path.lastIndexOf('/') + 1;
    const qsizetype dot = path.lastIndexOf('.');
    const QByteArray extension = dot >= nameStart ? path.mid(dot) : QByteArray();
    QByteArray result = path;
    while (taken(result))
        result = result.left(result.size() - extension.size()) + "_2" + extension;
    return result;
}
