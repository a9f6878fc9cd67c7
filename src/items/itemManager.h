#pragma once

#include "platform/simpleXml.h"

#include <QByteArray>

// The staging list: the Add command stages one entry per chosen file (file, format index, output
// folder) right before the list manager's AddItems turns them into rows. Entries are addressed by
// zero-based position in staging order. Held in memory only.
class TItemManager {
public:
    TItemManager();

    void AddItem(const QByteArray& fileName, qint32 formatIndex, const QByteArray& path);
    void Clear();
    // The staged format index at a position. Raises EConvertError ("'%s' is not a valid integer
    // value") when the stored text is not an integer; a position with no entry reads as empty text
    // and raises the same error with ''.
    qint32 GetFormatIndex(int index) const;
    // The staged output folder at a position; empty for a position with no entry.
    QByteArray GetPath(int index) const;
    int Count() const { return int(document_.Root().ChildCount()); }

private:
    TSimpleXmlDocument document_{"list"};
};

// The program's one staging list; the controller creates and frees it.
extern TItemManager* ItemManager;
