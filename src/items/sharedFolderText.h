#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

// Widens the output folders of a run of new rows, sharing one string among all rows with the
// same folder (an Add gives all its files one folder), so that a long list stores each folder
// once rather than once per row.
class TSharedFolderText {
public:
    QString Widen(QByteArrayView narrow) {
        if (narrow.isEmpty())
            return {};
        const QByteArray key = narrow.toByteArray();
        auto it = folders_.constFind(key);
        if (it == folders_.cend())
            it = folders_.insert(key, QString::fromUtf8(key));
        return *it;
    }

private:
    QHash<QByteArray, QString> folders_;
};
