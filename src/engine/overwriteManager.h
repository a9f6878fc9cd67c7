#pragma once

#include <QByteArray>

// Finds a free name for an output file, so that a conversion never replaces an existing file.
class TOverwriteManager {
public:
    // The path itself when nothing stands there; otherwise "_2" is inserted before the extension
    // (the text from the last dot of the file name on) until the name is free: clip.mp4,
    // clip_2.mp4, clip_2_2.mp4, ... A folder of that name does not count as taken; any other entry
    // (a file, a link, even a dangling one) does.
    QByteArray UniqueName(const QByteArray& path) const;
};

// The program's one instance; the batch driver creates and frees it.
extern TOverwriteManager* OverwriteManager;
