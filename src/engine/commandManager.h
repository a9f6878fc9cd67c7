#pragma once

#include "platform/simpleXml.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The format catalogue: the target formats listed in the command file beside the program. Each
// child of the root is one entry; its position is its format index. Inside an entry, the elements
// "format" (display name), "params" (encoder arguments) and "ext" (output extension without the
// dot) are found by name without regard to letter case; of several, the last counts; a missing
// one reads as empty text. A comment or text inside the root counts as an entry with empty texts,
// so position n of FormatNames is always format index n.
class TCommandManager {
public:
    // Loads ProgramFolder() + "command". Raises the reader's EXmlError for a file that is not
    // well-formed (and EFOpenError for one that cannot be read).
    TCommandManager();
    // Loads the given file; an empty path gives an empty catalogue. Start-up that must carry on
    // after a broken command file can construct with an empty path and call Load itself: a Load
    // that fails leaves the catalogue empty.
    explicit TCommandManager(const QString& commandFilePath);

    // Reads the command file. A missing file leaves the catalogue empty and reports nothing.
    void Load(const QString& path);

    // Display names of all entries, in file order (duplicates kept).
    const QStringList& FormatNames() const { return formatNames_; }
    qint32 Count() const { return qint32(formatNames_.size()); }
    // True when the index names an entry of the catalogue.
    bool IsValidIndex(qint32 index) const { return index >= 0 && index < Count(); }

    // The entry's encoder arguments / output extension; empty text for an index outside the
    // catalogue (check IsValidIndex to tell the two apart). Each call reads the document again.
    QByteArray GetParams(qint32 index) const;
    QByteArray GetExt(qint32 index) const;

private:
    QByteArray childText(qint32 index, QByteArrayView name) const;

    TSimpleXmlDocument document_;
    QStringList formatNames_;
};

// The program's one catalogue; the controller creates and frees it.
extern TCommandManager* CommandManager;
