#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The record kept by the list control for every row of the item list.

// The root part of a row; stays empty, since the list holds item rows only.
struct TItemRootData {
    QString Caption;
};

// The item itself; also used on its own as the value copied into a new row.
struct TItemData {
    QString FileName;          // full path of the input video
    qint32 FormatIndex = 0;    // position in the format catalogue; -1 when the catalogue was empty
    QString OutputFolder;      // ends in '/' when picked; empty means the default output folder
    bool Running = false;      // the encoder runs for this row: the busy bar shows
    quint32 AnimationStep = 0; // busy-bar offset in pixels, 0..74
};

struct TItemNodeData {
    quint8 NodeKind = 0; // 1 for every item row
    qint32 Status = 0;   // one of the st* values; also the index of the row's status picture
    TItemRootData RootData;
    TItemData ItemData;
};

// Item status, also the index of the status picture.
enum : qint32 {
    stWaiting = 0,
    stConverting = 1,
    stConverted = 2,
    stFailed = 3,
};

// The size in bytes of the named file (narrow, UTF-8 name). The name means only itself: '*' and
// '?' are ordinary characters. Raises EOSError when the file cannot be found.
qint64 FileSizeOf(const QByteArray& fileName);
