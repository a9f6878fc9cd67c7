#pragma once

#include "platform/VirtualStringTree.h"

#include <QList>
#include <QString>

// The three item texts of every row of a list, in list order, for comparing whole lists at once.
struct Row {
    QString fileName;
    qint32 formatIndex;
    QString outputFolder;
    bool operator==(const Row&) const = default;
};

inline QList<Row> rows(const TVirtualStringTree& tree) {
    QList<Row> list;
    for (PVirtualNode n = tree.GetFirst(); n; n = tree.GetNextSibling(n)) {
        const TItemNodeData* d = tree.GetNodeData(n);
        list.append({d->ItemData.FileName, d->ItemData.FormatIndex, d->ItemData.OutputFolder});
    }
    return list;
}
