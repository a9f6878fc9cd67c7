// libFuzzer target for the simple XML reader and writer: any input must give a document or an
// "Invalid Document: ..." error, never a crash, hang or out-of-bounds access; and whatever was read
// must be written back in a form that reads again.

#include "platform/errors.h"
#include "platform/simpleXml.h"
#include "platform/strConvert.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

// Everything read is summed here, so that no read can be optimised away.
size_t fuzzSink = 0;

namespace {

// Touches every node the way the catalogue and the list files do. Iterative, like the reader.
void walk(const TSimpleXmlDocument& doc) {
    std::vector<TSimpleXmlElement> pending{doc.Root()};
    while (!pending.empty()) {
        const TSimpleXmlElement e = pending.back();
        pending.pop_back();
        fuzzSink += size_t(e.Name().size()) + size_t(e.ValueView().size());
        if (!e.IsElement())
            continue;
        fuzzSink += size_t(e.ChildValue("format").size()) + size_t(e.ChildValue("PATH").size());
        try {
            fuzzSink += size_t(StrToInt(e.ChildValue("format")));
        } catch (const EConvertError&) {
        }
        for (TSimpleXmlElement c = e.FirstChild(); c; c = c.NextSibling())
            pending.push_back(c);
    }
    const TSimpleXmlElement root = doc.Root();
    const qsizetype count = root.ChildCount();
    if (count > 0)
        fuzzSink += size_t(root.Child(count - 1).Name().size());
    if (root.Child(count))
        std::abort();
}

// The names of all elements in document order.
std::vector<QByteArray> elementNames(const TSimpleXmlDocument& doc) {
    std::vector<QByteArray> names;
    std::vector<TSimpleXmlElement> pending{doc.Root()};
    while (!pending.empty()) {
        const TSimpleXmlElement e = pending.back();
        pending.pop_back();
        if (!e.IsElement())
            continue;
        names.push_back(e.Name().toByteArray());
        std::vector<TSimpleXmlElement> children;
        for (TSimpleXmlElement c = e.FirstChild(); c; c = c.NextSibling())
            children.push_back(c);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TSimpleXmlDocument doc("list");
    try {
        doc.LoadFromBytes(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const EXmlError& e) {
        if (!e.message().startsWith(QStringLiteral("Invalid Document: ")))
            std::abort();
        // A failed load leaves the document as it was.
        if (doc.Root().Name() != QByteArrayView("list") || doc.Root().ChildCount() != 0)
            std::abort();
        return 0;
    }
    walk(doc);
    const QByteArray written = doc.SaveToBytes();
    TSimpleXmlDocument again;
    again.LoadFromBytes(written); // must not raise: the writer's output is always well-formed
    if (elementNames(again) != elementNames(doc))
        std::abort();
    return 0;
}
