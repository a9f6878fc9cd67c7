#pragma once

#include <QString>
#include <stdexcept>

// Failures are exceptions carrying the message text shown to the user (UTF-8 in what()).
// The controller's command guard shows message() in a message box and the program carries on.
class EQuelvidError : public std::runtime_error {
public:
    explicit EQuelvidError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// "System Error.  Code: %d." + line break + the system's text for that code.
class EOSError : public EQuelvidError {
public:
    explicit EOSError(int code);
    int errorCode() const { return code_; }

private:
    int code_;
};

// "'%s' is not a valid integer value".
class EConvertError : public EQuelvidError {
public:
    using EQuelvidError::EQuelvidError;
};

// "Cannot open file "%s". %s" and "Cannot create file "%s". %s".
class EFOpenError : public EQuelvidError {
public:
    using EQuelvidError::EQuelvidError;
};
class EFCreateError : public EQuelvidError {
public:
    using EQuelvidError::EQuelvidError;
};

// The simple XML reader's "Invalid Document: ..." messages.
class EXmlError : public EQuelvidError {
public:
    using EQuelvidError::EQuelvidError;
};

// The process runner's "<command line> doesn't exist." and other runner failures.
class EDosCommandError : public EQuelvidError {
public:
    using EQuelvidError::EQuelvidError;
};
