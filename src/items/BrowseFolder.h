#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

// The modal folder chooser: the chosen folder's path with a trailing '/', or an empty string when
// the user cancelled or the choice is not a folder of the file system. Title and folders are
// narrow (UTF-8) strings.
QByteArray BrowseForFolder(QWidget* owner, const QByteArray& title, const QByteArray& initialFolder);

// Folder fields end in '/': one is appended unless the text is empty or already ends in one
// (so the root "/" stays "/").
QString WithTrailingSlash(const QString& folder);
QByteArray WithTrailingSlash(const QByteArray& folder);
