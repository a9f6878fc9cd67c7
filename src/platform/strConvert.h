#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Decimal text to a 32-bit signed integer: an optional '-' or '+' and one or more digits, nothing
// else (no blanks), within the 32-bit range. Anything else raises EConvertError
// "'%s' is not a valid integer value" with the text in place of %s.
qint32 StrToInt(QByteArrayView text);
