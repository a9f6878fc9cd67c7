#include "items/_consts.h"

#include "platform/errors.h"

#include <cerrno>
#include <sys/stat.h>

qint64 FileSizeOf(const QByteArray& fileName) {
    struct stat st {};
    if (fileName.contains('\0'))
        throw EOSError(ENOENT);
    if (::stat(fileName.constData(), &st) != 0)
        throw EOSError(errno);
    return static_cast<qint64>(st.st_size);
}
