#include "platform/strConvert.h"

#include "platform/errors.h"

#include <QString>

qint32 StrToInt(QByteArrayView text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    bool ok = i < text.size();
    qint64 value = 0;
    for (; ok && i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            ok = false;
            break;
        }
        value = value * 10 + (c - '0');
        if (value > qint64(1) << 31)
            ok = false;
    }
    if (negative)
        value = -value;
    if (!ok || value > std::numeric_limits<qint32>::max() || value < std::numeric_limits<qint32>::min())
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(text)));
    return qint32(value);
}
