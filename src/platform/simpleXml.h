#pragma once

#include "platform/bigAlloc.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A small byte-oriented XML document: the format catalogue, the staging list and the list files
// all use it. Names and values are bytes (UTF-8 text here); no character-set conversion happens.
//
// Reading:
// - Before the root element, blanks, tabs, line breaks and the bytes 0, 0xEF, 0xBB, 0xBF, 0xFE and
//   0xFF (a byte-order mark among them) are skipped; an XML declaration, processing instructions,
//   comments and a document type declaration may stand there. Any other text is an error.
// - Element names are compared without regard to ASCII letter case (end tags, FindChild).
//   Attributes are read and ignored.
// - An element without child elements has as its value the exact text between its tags (blanks
//   and line breaks included; CDATA sections contribute their raw text), with "&amp;", "&lt;",
//   "&gt;", "&apos;" and "&quot;" (in any letter case) and numeric references "&#x..;"/"&#..;"
//   replaced. A numeric reference up to 255 gives that single byte; a higher one (up to U+10FFFF,
//   no surrogate) gives the UTF-8 bytes of that code point; any other "&" stays as written.
//   Its comments and processing instructions are its child nodes.
// - An element with child elements has an empty value; whitespace between its children is
//   dropped, and any other text run, CDATA section, comment or processing instruction inside it is
//   a non-element child node in document order.
// - Failures raise EXmlError with a text starting "Invalid Document: ". Parsing is iterative, so
//   nesting depth is bounded only by memory; a file of 2 GiB or more is refused.
//
// Writing: the declaration line, then every element on its own line, indented by two blanks per
// level (up to 100 levels deep): "<name>value</name>", "<name/>" for an empty value without
// children, or the start tag, the children and the end tag on lines of their own. Each line ends
// with CR LF. In values, "&", "<", ">", '"' and "'" are written as named references and every
// byte 128..255 as "&#xHH;", so the file is pure ASCII (names are written as they are).

enum TSimpleXmlNodeKind : quint8 {
    xnElement,
    xnText,
    xnCData,
    xnComment,
    xnProcessingInstruction,
};

class QSaveFile;
class TSimpleXmlDocument;

// Writes the layout described above straight into bytes, element by element. The document's own
// writer uses it; a caller producing a large document can use it directly and skip building one.
class TSimpleXmlWriter {
public:
    // Writes into memory (Bytes()).
    TSimpleXmlWriter();
    // Writes into a file as it goes, through QSaveFile: the file takes the place of an existing one
    // only at Commit, so an existing file survives any failure. Raises EFCreateError
    // ("Cannot create file "%s". %s"), here and from any later call that writes.
    explicit TSimpleXmlWriter(const QString& path);
    ~TSimpleXmlWriter(); // an uncommitted file is discarded
    TSimpleXmlWriter(const TSimpleXmlWriter&) = delete;
    TSimpleXmlWriter& operator=(const TSimpleXmlWriter&) = delete;

    void StartElement(QByteArrayView name);                      // "<name>", children follow
    void EndElement();                                           // "</name>" of the innermost open one
    void TextElement(QByteArrayView name, QByteArrayView value); // "<name>value</name>" or "<name/>"
    void EmptyElement(QByteArrayView name) { TextElement(name, {}); }
    // Non-element nodes on lines of their own.
    void Text(QByteArrayView text);
    void CData(QByteArrayView text);
    void Comment(QByteArrayView text);
    void ProcessingInstruction(QByteArrayView text);

    QByteArray Bytes() const { return QByteArray(out_.data(), qsizetype(out_.size())); }
    // File mode: writes the rest and puts the file in place.
    void Commit();

private:
    void indent();
    void lineDone();
    void writeOut();
    [[noreturn]] void fail(int code);

    std::string out_; // in file mode, the part not yet written
    std::vector<std::string> open_;
    QString path_;
    std::unique_ptr<QSaveFile> file_;
};

// A handle to one node of a document. It stays valid while nodes are added; ClearChildren and
// reloading the document invalidate handles to the removed nodes.
class TSimpleXmlElement {
public:
    TSimpleXmlElement() = default;

    bool IsNull() const { return doc_ == nullptr; }
    explicit operator bool() const { return doc_ != nullptr; }
    TSimpleXmlNodeKind Kind() const;
    bool IsElement() const { return doc_ && Kind() == xnElement; }

    QByteArrayView Name() const;
    QByteArrayView ValueView() const; // valid until the document changes
    QByteArray Value() const { return ValueView().toByteArray(); }
    void SetName(QByteArrayView name);
    void SetValue(QByteArrayView value);

    // Children in document order, element and non-element nodes alike.
    qsizetype ChildCount() const;
    TSimpleXmlElement Child(qsizetype index) const; // a null handle outside 0..ChildCount()-1
    TSimpleXmlElement FirstChild() const;
    TSimpleXmlElement NextSibling() const;

    // The last child element with this name (ASCII letter case ignored), or a null handle.
    TSimpleXmlElement FindChild(QByteArrayView name) const;
    // Value of FindChild(name), or empty text when there is no such child.
    QByteArrayView ChildValue(QByteArrayView name) const;

    TSimpleXmlElement AddChild(QByteArrayView name, QByteArrayView value = {});
    void ClearChildren();

    bool operator==(const TSimpleXmlElement& other) const = default;

private:
    friend class TSimpleXmlDocument;
    TSimpleXmlElement(TSimpleXmlDocument* doc, qint32 id) : doc_(doc), id_(id) {}
    TSimpleXmlDocument* doc_ = nullptr;
    qint32 id_ = -1;
};

class TSimpleXmlDocument {
public:
    explicit TSimpleXmlDocument(QByteArrayView rootName = {});

    // Replaces the content with the file's. Raises EFOpenError ("Cannot open file "%s". %s") when
    // the file cannot be read and EXmlError when it is not well-formed; the document is then left
    // as it was.
    void LoadFromFile(const QString& path);
    void LoadFromBytes(QByteArrayView data);

    QByteArray SaveToBytes() const;
    // Writes through QSaveFile: an existing file survives a failed write. Raises EFCreateError
    // ("Cannot create file "%s". %s").
    void SaveToFile(const QString& path) const;

    // Empties the document, leaving only a root element with the given name.
    void Clear(QByteArrayView rootName);

    TSimpleXmlElement Root() const { return {const_cast<TSimpleXmlDocument*>(this), 0}; }

private:
    friend class TSimpleXmlElement;
    friend class TSimpleXmlParser;

    struct Node {
        quint32 nameOff = 0, nameLen = 0;
        quint32 valueOff = 0, valueLen = 0;
        qint32 firstChild = -1, lastChild = -1, nextSibling = -1;
        TSimpleXmlNodeKind kind = xnElement;
    };

    void adopt(TBigString&& text); // parses text as the new content
    void write(TSimpleXmlWriter& writer) const;
    quint32 store(QByteArrayView bytes);
    quint32 storeName(QByteArrayView name);
    QByteArrayView view(quint32 off, quint32 len) const { return {text_.data() + off, qsizetype(len)}; }
    const std::vector<qint32>& childIndex(qint32 id) const;
    void invalidateIndex() { indexedParent_ = -1; }

    TBigVector<Node> nodes_;
    TBigString text_; // names and values of all nodes

    // Children of one element by position, built on demand (the staging list reads entries by
    // position) and dropped on any change of that element's children.
    mutable qint32 indexedParent_ = -1;
    mutable std::vector<qint32> index_;

    // Recently used names, so that adding many elements of the same few names stores each once.
    struct NameRef {
        quint32 off = 0, len = 0;
    };
    NameRef recentNames_[8];
    int nextRecent_ = 0;
};
