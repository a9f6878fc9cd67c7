#include "platform/errors.h"

#include <cstring>

EOSError::EOSError(int code)
    : EQuelvidError(QStringLiteral("System Error.  Code: %1.\n%2")
                        .arg(code)
                        .arg(QString::fromLocal8Bit(std::strerror(code)))),
      code_(code) {}
