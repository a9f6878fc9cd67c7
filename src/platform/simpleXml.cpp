#include "platform/simpleXml.h"

#include "platform/errors.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr quint64 kMaxFileSize = 0x80000000u; // 2 GiB
// Deeper levels are indented like this one, so that a pathologically deep document is written in
// linear time.
constexpr size_t kMaxIndentDepth = 100;

[[noreturn]] void invalid(const char* what) {
    throw EXmlError(QStringLiteral("Invalid Document: ") + QLatin1StringView(what));
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Bytes skipped before the root element (and after it): blanks, line breaks, NUL and the bytes
// of UTF-8 and UTF-16 byte-order marks.
bool isPrologFiller(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0 || c == 0xEF || c == 0xBB || c == 0xBF ||
           c == 0xFE || c == 0xFF;
}

bool isNameEnd(char c) {
    return isBlank(c) || c == '/' || c == '>' || c == '<' || c == '=' || c == '"' || c == '\'';
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool sameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

bool allBlank(QByteArrayView s) {
    for (char c : s)
        if (!isBlank(c))
            return false;
    return true;
}

void appendUtf8(std::string& out, quint32 cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Decodes one reference starting at s[0] == '&'. Returns the number of bytes consumed, or 0 when
// the text is not a reference (the '&' then stays as written).
qsizetype decodeReference(QByteArrayView s, std::string& out) {
    qsizetype semi = -1;
    for (qsizetype i = 1; i < s.size() && i < 16; ++i) {
        if (s[i] == ';') {
            semi = i;
            break;
        }
    }
    if (semi < 0)
        return 0;
    QByteArrayView body = s.sliced(1, semi - 1);
    static const struct {
        const char* name;
        char ch;
    } named[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"apos", '\''}, {"quot", '"'}};
    for (const auto& n : named) {
        if (sameName(body, QByteArrayView(n.name))) {
            out += n.ch;
            return semi + 1;
        }
    }
    if (body.size() < 2 || body[0] != '#')
        return 0;
    const bool hex = body[1] == 'x' || body[1] == 'X';
    QByteArrayView digits = body.sliced(hex ? 2 : 1);
    if (digits.isEmpty())
        return 0;
    quint32 value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return 0;
        value = value * (hex ? 16 : 10) + quint32(d);
        if (value > 0x10FFFF)
            return 0;
    }
    if (value <= 0xFF)
        out += char(value);
    else if (value >= 0xD800 && value <= 0xDFFF)
        return 0;
    else
        appendUtf8(out, value);
    return semi + 1;
}

void decodeInto(QByteArrayView s, std::string& out) {
    qsizetype i = 0;
    while (i < s.size()) {
        const void* amp = std::memchr(s.data() + i, '&', size_t(s.size() - i));
        if (!amp) {
            out.append(s.data() + i, size_t(s.size() - i));
            return;
        }
        const qsizetype a = static_cast<const char*>(amp) - s.data();
        out.append(s.data() + i, size_t(a - i));
        const qsizetype used = decodeReference(s.sliced(a), out);
        if (used == 0) {
            out += '&';
            i = a + 1;
        } else {
            i = a + used;
        }
    }
}

// Bytes written as references: the five markup characters and everything from 128 up.
constexpr bool needsEscape(unsigned char c) {
    return c == '&' || c == '<' || c == '>' || c == '"' || c == '\'' || c >= 128;
}

void appendEscaped(std::string& out, QByteArrayView s) {
    static const char hexDigits[] = "0123456789ABCDEF";
    const char* p = s.data();
    const char* end = p + s.size();
    while (p < end) {
        const char* run = p;
        while (p < end && !needsEscape(static_cast<unsigned char>(*p)))
            ++p;
        out.append(run, size_t(p - run));
        if (p == end)
            break;
        const auto c = static_cast<unsigned char>(*p++);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default: {
            const char ref[6] = {'&', '#', 'x', hexDigits[c >> 4], hexDigits[c & 15], ';'};
            out.append(ref, 6);
        }
        }
    }
}

QString systemText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Parser

class TSimpleXmlParser {
public:
    // Parses the document's own text in place: names and plain values stay where they are.
    explicit TSimpleXmlParser(TSimpleXmlDocument& doc)
        : s_(doc.text_.data(), qsizetype(doc.text_.size())), doc_(doc) {}

    void run() {
        if (quint64(s_.size()) >= kDecodedFlag)
            invalid("The file is too large");
        doc_.nodes_.clear();
        // At most one node per '<'; reserving (untouched memory) spares copying a growing vector.
        size_t markup = 1;
        for (const char *p = s_.data(), *end = p + s_.size();
             (p = static_cast<const char*>(std::memchr(p, '<', size_t(end - p)))) != nullptr; ++p)
            ++markup;
        doc_.nodes_.reserve(std::min<size_t>(markup, size_t(1) << 26));
        skipMisc(true);
        if (p_ >= s_.size())
            invalid("No root element");
        parseRootAndContent();
        skipMisc(false);
        if (p_ < s_.size())
            invalid("Unexpected text after the root element");
        if (!decoded_.empty()) {
            if (quint64(doc_.text_.size()) + decoded_.size() >= std::numeric_limits<quint32>::max())
                invalid("The file is too large");
            const auto base = quint32(doc_.text_.size());
            doc_.text_ += decoded_;
            for (auto& n : doc_.nodes_) {
                if (n.valueOff & kDecodedFlag)
                    n.valueOff = (n.valueOff & ~kDecodedFlag) + base;
            }
        }
    }

private:
    // Values decoded during parsing are kept apart and appended to the document text at the end;
    // until then their offsets carry this flag, so the input and the decoded text each stay
    // below 2 GiB.
    static constexpr quint32 kDecodedFlag = 0x80000000u;

    struct Frame {
        qint32 id;
        bool hasChildElement;
        size_t runsStart;
    };
    struct Run {
        quint32 off, len;
        qint32 after; // the last child node when the run was met (-1: none)
        bool cdata;
    };

    qsizetype find(QByteArrayView needle, qsizetype from) const {
        const qsizetype at = s_.indexOf(needle, from);
        if (at < 0)
            invalid("Unexpected end of file");
        return at;
    }
    bool startsWith(QByteArrayView prefix) const { return s_.sliced(p_).startsWith(prefix); }

    // Declarations, processing instructions, comments, a document type declaration and filler
    // bytes before (prolog) or after the root element.
    void skipMisc(bool prolog) {
        for (;;) {
            while (p_ < s_.size() && isPrologFiller(static_cast<unsigned char>(s_[p_])))
                ++p_;
            if (p_ >= s_.size())
                return;
            if (s_[p_] != '<')
                invalid(prolog ? "Unexpected text in file prolog" : "Unexpected text after the root element");
            if (startsWith("<?")) {
                p_ = find("?>", p_ + 2) + 2;
            } else if (startsWith("<!--")) {
                p_ = find("-->", p_ + 4) + 3;
            } else if (startsWith("<!")) {
                if (!prolog)
                    invalid("Unexpected text after the root element");
                skipDoctype();
            } else {
                return;
            }
        }
    }

    void skipDoctype() {
        int bracket = 0;
        for (qsizetype i = p_ + 2; i < s_.size(); ++i) {
            const char c = s_[i];
            if (c == '"' || c == '\'') {
                const void* q = std::memchr(s_.data() + i + 1, c, size_t(s_.size() - i - 1));
                if (!q)
                    break;
                i = static_cast<const char*>(q) - s_.data();
            } else if (c == '[') {
                ++bracket;
            } else if (c == ']') {
                if (bracket > 0)
                    --bracket;
            } else if (c == '>' && bracket == 0) {
                p_ = i + 1;
                return;
            }
        }
        invalid("Unexpected end of file");
    }

    qint32 newNode(TSimpleXmlNodeKind kind) {
        if (doc_.nodes_.size() >= size_t(std::numeric_limits<qint32>::max()))
            invalid("The file is too large");
        TSimpleXmlDocument::Node n;
        n.kind = kind;
        doc_.nodes_.push_back(n);
        return qint32(doc_.nodes_.size() - 1);
    }

    void link(qint32 parent, qint32 child) {
        auto& p = doc_.nodes_[size_t(parent)];
        if (p.lastChild < 0)
            p.firstChild = child;
        else
            doc_.nodes_[size_t(p.lastChild)].nextSibling = child;
        p.lastChild = child;
    }

    void insertAfter(qint32 parent, qint32 after, qint32 child) {
        auto& p = doc_.nodes_[size_t(parent)];
        if (after < 0) {
            doc_.nodes_[size_t(child)].nextSibling = p.firstChild;
            p.firstChild = child;
            if (p.lastChild < 0)
                p.lastChild = child;
        } else {
            auto& a = doc_.nodes_[size_t(after)];
            doc_.nodes_[size_t(child)].nextSibling = a.nextSibling;
            a.nextSibling = child;
            if (p.lastChild == after)
                p.lastChild = child;
        }
    }

    // Sets a node's value from a stretch of the input, decoding references when there are any.
    void setValue(qint32 id, quint32 off, quint32 len, bool decode) {
        auto& n = doc_.nodes_[size_t(id)];
        QByteArrayView raw = s_.sliced(off, len);
        if (!decode || !raw.contains('&')) {
            n.valueOff = off;
            n.valueLen = len;
            return;
        }
        const size_t start = decoded_.size();
        decodeInto(raw, decoded_);
        setDecoded(id, start);
    }
    void setDecoded(qint32 id, size_t start) {
        if (decoded_.size() >= kDecodedFlag)
            invalid("The file is too large");
        auto& n = doc_.nodes_[size_t(id)];
        n.valueOff = quint32(start) | kDecodedFlag;
        n.valueLen = quint32(decoded_.size() - start);
    }

    qint32 addLeaf(qint32 parent, TSimpleXmlNodeKind kind, quint32 off, quint32 len) {
        const qint32 id = newNode(kind);
        setValue(id, off, len, kind == xnText);
        link(parent, id);
        return id;
    }

    // A text run or CDATA section met inside the element of the top frame.
    void addRun(quint32 off, quint32 len, bool cdata) {
        Frame& f = stack_.back();
        if (f.hasChildElement) {
            if (cdata)
                addLeaf(f.id, xnCData, off, len);
            else if (!allBlank(s_.sliced(off, len)))
                addLeaf(f.id, xnText, off, len);
            return;
        }
        runs_.push_back({off, len, doc_.nodes_[size_t(f.id)].lastChild, cdata});
    }

    // The first child element turns the runs met so far into child nodes at their places.
    void becomeContainer(Frame& f) {
        f.hasChildElement = true;
        // Runs met after the same child node follow one another.
        qint32 previousAfter = -2, lastInserted = -1;
        for (size_t i = f.runsStart; i < runs_.size(); ++i) {
            const Run& r = runs_[i];
            if (!r.cdata && allBlank(s_.sliced(r.off, r.len)))
                continue;
            const qint32 id = newNode(r.cdata ? xnCData : xnText);
            setValue(id, r.off, r.len, !r.cdata);
            insertAfter(f.id, r.after == previousAfter ? lastInserted : r.after, id);
            previousAfter = r.after;
            lastInserted = id;
        }
        runs_.resize(f.runsStart);
    }

    // The value of an element without child elements: all its runs, in order.
    void finishLeaf(const Frame& f) {
        const size_t count = runs_.size() - f.runsStart;
        if (count == 1) {
            const Run& r = runs_[f.runsStart];
            setValue(f.id, r.off, r.len, !r.cdata);
        } else if (count > 1) {
            const size_t start = decoded_.size();
            for (size_t i = f.runsStart; i < runs_.size(); ++i) {
                const Run& r = runs_[i];
                if (r.cdata)
                    decoded_.append(s_.data() + r.off, r.len);
                else
                    decodeInto(s_.sliced(r.off, r.len), decoded_);
            }
            setDecoded(f.id, start);
        }
        runs_.resize(f.runsStart);
    }

    // Reads a start tag at p_ ('<' seen). Returns true when it was self-closed.
    bool parseStartTag(qint32 id) {
        qsizetype i = p_ + 1;
        const qsizetype nameStart = i;
        while (i < s_.size() && !isNameEnd(s_[i]))
            ++i;
        if (i >= s_.size())
            invalid("Unexpected end of file");
        if (i == nameStart)
            invalid("Invalid element name");
        auto& n = doc_.nodes_[size_t(id)];
        n.nameOff = quint32(nameStart);
        n.nameLen = quint32(i - nameStart);
        // Attributes: read and ignored.
        for (;;) {
            while (i < s_.size() && isBlank(s_[i]))
                ++i;
            if (i >= s_.size())
                invalid("Unexpected end of file");
            const char c = s_[i];
            if (c == '>') {
                p_ = i + 1;
                return false;
            }
            if (c == '/') {
                if (i + 1 >= s_.size())
                    invalid("Unexpected end of file");
                if (s_[i + 1] != '>')
                    invalid("Invalid start tag");
                p_ = i + 2;
                return true;
            }
            const qsizetype attrStart = i;
            while (i < s_.size() && !isNameEnd(s_[i]))
                ++i;
            if (i == attrStart)
                invalid("Invalid attribute");
            while (i < s_.size() && isBlank(s_[i]))
                ++i;
            if (i >= s_.size())
                invalid("Unexpected end of file");
            if (s_[i] != '=')
                continue; // an attribute without a value
            ++i;
            while (i < s_.size() && isBlank(s_[i]))
                ++i;
            if (i >= s_.size())
                invalid("Unexpected end of file");
            const char q = s_[i];
            if (q != '"' && q != '\'')
                invalid("Invalid attribute");
            const void* close = std::memchr(s_.data() + i + 1, q, size_t(s_.size() - i - 1));
            if (!close)
                invalid("Unexpected end of file");
            i = static_cast<const char*>(close) - s_.data() + 1;
        }
    }

    void parseRootAndContent() {
        const qint32 root = newNode(xnElement);
        if (parseStartTag(root))
            return;
        stack_.push_back({root, false, 0});
        while (!stack_.empty()) {
            // Text up to the next markup.
            const void* lt = std::memchr(s_.data() + p_, '<', size_t(s_.size() - p_));
            if (!lt)
                invalid("Unexpected end of file");
            const qsizetype at = static_cast<const char*>(lt) - s_.data();
            if (at > p_)
                addRun(quint32(p_), quint32(at - p_), false);
            p_ = at;
            if (startsWith("</")) {
                qsizetype i = p_ + 2;
                const qsizetype nameStart = i;
                while (i < s_.size() && !isNameEnd(s_[i]))
                    ++i;
                QByteArrayView name = s_.sliced(nameStart, i - nameStart);
                while (i < s_.size() && isBlank(s_[i]))
                    ++i;
                if (i >= s_.size())
                    invalid("Unexpected end of file");
                if (s_[i] != '>')
                    invalid("Invalid end tag");
                const Frame f = stack_.back();
                const auto& n = doc_.nodes_[size_t(f.id)];
                if (!sameName(name, s_.sliced(n.nameOff, n.nameLen)))
                    invalid("End tag does not match start tag");
                if (!f.hasChildElement)
                    finishLeaf(f);
                stack_.pop_back();
                p_ = i + 1;
            } else if (startsWith("<!--")) {
                const qsizetype end = find("-->", p_ + 4);
                addLeaf(stack_.back().id, xnComment, quint32(p_ + 4), quint32(end - p_ - 4));
                p_ = end + 3;
            } else if (startsWith("<![CDATA[")) {
                const qsizetype end = find("]]>", p_ + 9);
                addRun(quint32(p_ + 9), quint32(end - p_ - 9), true);
                p_ = end + 3;
            } else if (startsWith("<?")) {
                const qsizetype end = find("?>", p_ + 2);
                addLeaf(stack_.back().id, xnProcessingInstruction, quint32(p_ + 2), quint32(end - p_ - 2));
                p_ = end + 2;
            } else if (startsWith("<!")) {
                invalid("Unexpected markup");
            } else {
                Frame& parent = stack_.back();
                if (!parent.hasChildElement)
                    becomeContainer(parent);
                const qint32 parentId = parent.id;
                const qint32 id = newNode(xnElement);
                link(parentId, id);
                if (!parseStartTag(id))
                    stack_.push_back({id, false, runs_.size()});
            }
        }
    }

    QByteArrayView s_;
    TSimpleXmlDocument& doc_;
    qsizetype p_ = 0;
    std::vector<Frame> stack_;
    std::vector<Run> runs_;
    std::string decoded_;
};

// ---------------------------------------------------------------------------------------------
// Document

TSimpleXmlDocument::TSimpleXmlDocument(QByteArrayView rootName) {
    Clear(rootName);
}

void TSimpleXmlDocument::Clear(QByteArrayView rootName) {
    // Give the memory of a large document back rather than keeping its capacity.
    TBigVector<Node>(1).swap(nodes_);
    TBigString().swap(text_);
    for (auto& r : recentNames_)
        r = {};
    invalidateIndex();
    nodes_[0].nameOff = store(rootName);
    nodes_[0].nameLen = quint32(rootName.size());
}

void TSimpleXmlDocument::LoadFromBytes(QByteArrayView data) {
    adopt(TBigString(data.data(), size_t(data.size())));
}

void TSimpleXmlDocument::adopt(TBigString&& text) {
    TSimpleXmlDocument fresh;
    fresh.text_ = std::move(text);
    TSimpleXmlParser(fresh).run();
    nodes_ = std::move(fresh.nodes_);
    text_ = std::move(fresh.text_);
    for (auto& r : recentNames_)
        r = {};
    invalidateIndex();
}

void TSimpleXmlDocument::LoadFromFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    auto fail = [&](int code) {
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2")
                              .arg(QFileInfo(path).absoluteFilePath(), systemText(code)));
    };
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail(errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        fail(errno);
    if (S_ISDIR(st.st_mode))
        fail(EISDIR);
    if (quint64(st.st_size) >= kMaxFileSize)
        invalid("The file is too large");
    TBigString data;
    data.resize(size_t(st.st_size));
    size_t got = 0;
    for (;;) {
        if (got == data.size()) {
            // The file may have grown since fstat (or be a pipe): read on until its end.
            if (data.size() >= kMaxFileSize)
                invalid("The file is too large");
            data.resize(data.size() + 65536);
        }
        const ssize_t r = ::read(fd, data.data() + got, data.size() - got);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        if (r == 0)
            break;
        got += size_t(r);
    }
    data.resize(got);
    adopt(std::move(data));
}

void TSimpleXmlDocument::write(TSimpleXmlWriter& writer) const {
    // Iterative walk: each stack entry is an element whose start tag has been written, with the
    // next child to write.
    std::vector<std::pair<qint32, qint32>> stack;
    auto writeNode = [&](qint32 id) {
        const Node& n = nodes_[size_t(id)];
        const QByteArrayView name = view(n.nameOff, n.nameLen);
        const QByteArrayView value = view(n.valueOff, n.valueLen);
        switch (n.kind) {
        case xnElement:
            if (n.firstChild >= 0) {
                writer.StartElement(name);
                stack.emplace_back(id, n.firstChild);
            } else {
                writer.TextElement(name, value);
            }
            break;
        case xnText:
            writer.Text(value);
            break;
        case xnCData:
            writer.CData(value);
            break;
        case xnComment:
            writer.Comment(value);
            break;
        case xnProcessingInstruction:
            writer.ProcessingInstruction(value);
            break;
        }
    };
    writeNode(0);
    while (!stack.empty()) {
        const qint32 child = stack.back().second;
        if (child < 0) {
            writer.EndElement();
            stack.pop_back();
            continue;
        }
        stack.back().second = nodes_[size_t(child)].nextSibling;
        writeNode(child);
    }
}

QByteArray TSimpleXmlDocument::SaveToBytes() const {
    TSimpleXmlWriter writer;
    write(writer);
    return writer.Bytes();
}

void TSimpleXmlDocument::SaveToFile(const QString& path) const {
    TSimpleXmlWriter writer(path);
    write(writer);
    writer.Commit();
}

// ---------------------------------------------------------------------------------------------
// Writer

namespace {
// In file mode, the bytes gathered before each write.
constexpr size_t kWriteChunk = size_t(1) << 20;
} // namespace

TSimpleXmlWriter::TSimpleXmlWriter() {
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
}

TSimpleXmlWriter::TSimpleXmlWriter(const QString& path) : TSimpleXmlWriter() {
    path_ = path;
    out_.reserve(kWriteChunk + 4096);
    file_ = std::make_unique<QSaveFile>(path);
    errno = 0;
    // Unbuffered, so that every failed or short write is seen here: a buffered QSaveFile can report
    // a commit as done after a short write at flush time (a full disk), replacing a good file with
    // a truncated one.
    if (!file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(errno);
}

TSimpleXmlWriter::~TSimpleXmlWriter() {
    if (file_)
        file_->cancelWriting();
}

void TSimpleXmlWriter::fail(int code) {
    const QString reason = code ? systemText(code) : (file_ ? file_->errorString() : QString());
    if (file_)
        file_->cancelWriting();
    file_.reset();
    throw EFCreateError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(QFileInfo(path_).absoluteFilePath(), reason));
}

void TSimpleXmlWriter::lineDone() {
    out_ += "\r\n";
    if (file_ && out_.size() >= kWriteChunk)
        writeOut();
}

void TSimpleXmlWriter::writeOut() {
    size_t done = 0;
    while (done < out_.size()) {
        errno = 0;
        const qint64 written = file_->write(out_.data() + done, qint64(out_.size() - done));
        if (written <= 0)
            fail(errno);
        done += size_t(written);
    }
    out_.clear();
}

void TSimpleXmlWriter::Commit() {
    if (!file_)
        return;
    writeOut();
    errno = 0;
    if (!file_->commit())
        fail(errno);
    file_.reset();
}

void TSimpleXmlWriter::indent() {
    out_.append(std::min(open_.size(), kMaxIndentDepth) * 2, ' ');
}

void TSimpleXmlWriter::StartElement(QByteArrayView name) {
    indent();
    out_ += '<';
    out_.append(name.data(), size_t(name.size()));
    out_ += '>';
    open_.emplace_back(name.data(), size_t(name.size()));
    lineDone();
}

void TSimpleXmlWriter::EndElement() {
    if (open_.empty())
        return;
    const std::string name = std::move(open_.back());
    open_.pop_back();
    indent();
    out_ += "</";
    out_ += name;
    out_ += '>';
    lineDone();
}

void TSimpleXmlWriter::TextElement(QByteArrayView name, QByteArrayView value) {
    indent();
    out_ += '<';
    out_.append(name.data(), size_t(name.size()));
    if (value.isEmpty()) {
        out_ += "/>";
    } else {
        out_ += '>';
        appendEscaped(out_, value);
        out_ += "</";
        out_.append(name.data(), size_t(name.size()));
        out_ += '>';
    }
    lineDone();
}

void TSimpleXmlWriter::Text(QByteArrayView text) {
    indent();
    appendEscaped(out_, text);
    lineDone();
}

void TSimpleXmlWriter::CData(QByteArrayView text) {
    indent();
    out_ += "<![CDATA[";
    out_.append(text.data(), size_t(text.size()));
    out_ += "]]>";
    lineDone();
}

void TSimpleXmlWriter::Comment(QByteArrayView text) {
    indent();
    out_ += "<!--";
    out_.append(text.data(), size_t(text.size()));
    out_ += "-->";
    lineDone();
}

void TSimpleXmlWriter::ProcessingInstruction(QByteArrayView text) {
    indent();
    out_ += "<?";
    out_.append(text.data(), size_t(text.size()));
    out_ += "?>";
    lineDone();
}

quint32 TSimpleXmlDocument::store(QByteArrayView bytes) {
    if (quint64(text_.size()) + quint64(bytes.size()) >= std::numeric_limits<quint32>::max())
        throw EXmlError(QStringLiteral("Invalid Document: The document is too large"));
    const auto off = quint32(text_.size());
    text_.append(bytes.data(), size_t(bytes.size()));
    return off;
}

quint32 TSimpleXmlDocument::storeName(QByteArrayView name) {
    for (const auto& r : recentNames_) {
        if (r.len == quint32(name.size()) && view(r.off, r.len) == name)
            return r.off;
    }
    const quint32 off = store(name);
    recentNames_[nextRecent_] = {off, quint32(name.size())};
    nextRecent_ = (nextRecent_ + 1) % int(std::size(recentNames_));
    return off;
}

const std::vector<qint32>& TSimpleXmlDocument::childIndex(qint32 id) const {
    if (indexedParent_ != id) {
        index_.clear();
        for (qint32 c = nodes_[size_t(id)].firstChild; c >= 0; c = nodes_[size_t(c)].nextSibling)
            index_.push_back(c);
        indexedParent_ = id;
    }
    return index_;
}

// ---------------------------------------------------------------------------------------------
// Element handle

TSimpleXmlNodeKind TSimpleXmlElement::Kind() const {
    return doc_->nodes_[size_t(id_)].kind;
}

QByteArrayView TSimpleXmlElement::Name() const {
    if (!doc_)
        return {};
    const auto& n = doc_->nodes_[size_t(id_)];
    return doc_->view(n.nameOff, n.nameLen);
}

QByteArrayView TSimpleXmlElement::ValueView() const {
    if (!doc_)
        return {};
    const auto& n = doc_->nodes_[size_t(id_)];
    return doc_->view(n.valueOff, n.valueLen);
}

void TSimpleXmlElement::SetName(QByteArrayView name) {
    const quint32 off = doc_->storeName(name);
    auto& n = doc_->nodes_[size_t(id_)];
    n.nameOff = off;
    n.nameLen = quint32(name.size());
}

void TSimpleXmlElement::SetValue(QByteArrayView value) {
    const quint32 off = doc_->store(value);
    auto& n = doc_->nodes_[size_t(id_)];
    n.valueOff = off;
    n.valueLen = quint32(value.size());
}

qsizetype TSimpleXmlElement::ChildCount() const {
    if (!doc_)
        return 0;
    return qsizetype(doc_->childIndex(id_).size());
}

TSimpleXmlElement TSimpleXmlElement::Child(qsizetype index) const {
    if (!doc_ || index < 0)
        return {};
    const auto& idx = doc_->childIndex(id_);
    if (size_t(index) >= idx.size())
        return {};
    return {doc_, idx[size_t(index)]};
}

TSimpleXmlElement TSimpleXmlElement::FirstChild() const {
    if (!doc_)
        return {};
    const qint32 c = doc_->nodes_[size_t(id_)].firstChild;
    return c < 0 ? TSimpleXmlElement{} : TSimpleXmlElement{doc_, c};
}

TSimpleXmlElement TSimpleXmlElement::NextSibling() const {
    if (!doc_)
        return {};
    const qint32 c = doc_->nodes_[size_t(id_)].nextSibling;
    return c < 0 ? TSimpleXmlElement{} : TSimpleXmlElement{doc_, c};
}

TSimpleXmlElement TSimpleXmlElement::FindChild(QByteArrayView name) const {
    if (!doc_)
        return {};
    qint32 found = -1;
    const auto& nodes = doc_->nodes_;
    for (qint32 c = nodes[size_t(id_)].firstChild; c >= 0; c = nodes[size_t(c)].nextSibling) {
        const auto& n = nodes[size_t(c)];
        if (n.kind == xnElement && sameName(doc_->view(n.nameOff, n.nameLen), name))
            found = c;
    }
    return found < 0 ? TSimpleXmlElement{} : TSimpleXmlElement{doc_, found};
}

QByteArrayView TSimpleXmlElement::ChildValue(QByteArrayView name) const {
    return FindChild(name).ValueView();
}

TSimpleXmlElement TSimpleXmlElement::AddChild(QByteArrayView name, QByteArrayView value) {
    TSimpleXmlDocument::Node n;
    n.nameOff = doc_->storeName(name);
    n.nameLen = quint32(name.size());
    n.valueOff = doc_->store(value);
    n.valueLen = quint32(value.size());
    auto& nodes = doc_->nodes_;
    nodes.push_back(n);
    const auto child = qint32(nodes.size() - 1);
    auto& parent = nodes[size_t(id_)];
    if (parent.lastChild < 0)
        parent.firstChild = child;
    else
        nodes[size_t(parent.lastChild)].nextSibling = child;
    parent.lastChild = child;
    if (doc_->indexedParent_ == id_)
        doc_->index_.push_back(child);
    return {doc_, child};
}

void TSimpleXmlElement::ClearChildren() {
    if (!doc_)
        return;
    if (id_ == 0) {
        // Emptying the root empties the document: reclaim the space of everything below it.
        const QByteArray name = Name().toByteArray();
        doc_->Clear(name);
        return;
    }
    auto& n = doc_->nodes_[size_t(id_)];
    n.firstChild = n.lastChild = -1;
    doc_->invalidateIndex();
}
