#pragma once

#include "platform/simpleXml.h"

#include <QString>

class TVirtualStringTree;

// List files (*.rfl): Export writes the whole item list, Import appends a file's items.
//
// Export writes pure ASCII with CR LF line ends: the declaration, <list>, one <item> per row with
// <filename>, <format> and <path> (an empty value self-closed), </list>. Bytes 128..255 of the
// UTF-8 file names are written as "&#xHH;". The file is written beside the target and renamed
// into place, so an existing list survives a failed Export.
//
// Import reads any root name, element names in any letter case and order, skips a byte-order
// mark, and decodes named and numeric references. Children of the root that are not elements
// (comments, text) and elements without a "filename" child are skipped; a missing "path" means
// the default output folder; a missing or non-integer "format" raises EConvertError after the
// items before it have been added.
class TSaveManager {
public:
    explicit TSaveManager(TVirtualStringTree* tree);

    // Raises EFCreateError ("Cannot create file "%s". %s"); the item list is never changed.
    void Export(const QString& path);
    // A missing file does nothing. Raises EFOpenError ("Cannot open file "%s". %s"), the reader's
    // EXmlError (before any row is added) or EConvertError.
    void Import(const QString& path);

private:
    TVirtualStringTree* tree_;
    TSimpleXmlDocument document_{"list"};
};

// The program's one list file manager; the controller creates and frees it.
extern TSaveManager* SaveManager;
