#include "items/saveManager.h"

#include "items/treeManager.h"

#include "items/sharedFolderText.h"
#include "platform/VirtualStringTree.h"
#include "platform/strConvert.h"

#include <QFileInfo>
#include <QStringEncoder>
#include <charconv>

TSaveManager* SaveManager = nullptr;

namespace {

// UTF-8 of a wide string in a buffer reused from row to row.
class TNarrowBuffer {
public:
    QByteArrayView Narrow(QStringView wide) {
        encoder_.resetState(); // a lone surrogate at the end of one name must not reach the next
        buffer_.resize(size_t(encoder_.requiredSpace(wide.size())));
        char* end = encoder_.appendToBuffer(buffer_.data(), wide);
        return QByteArrayView(buffer_.data(), end - buffer_.data());
    }

private:
    QStringEncoder encoder_{QStringEncoder::Utf8};
    std::string buffer_;
};

} // namespace

TSaveManager::TSaveManager(TVirtualStringTree* tree) : tree_(tree) {}

void TSaveManager::Export(const QString& path) {
    // The list is written element by element in the document layout, straight into the file,
    // rather than built as a document first: a million rows then cost one pass and no copy.
    TSimpleXmlWriter writer(path);
    writer.StartElement("list");
    TNarrowBuffer fileName, folder;
    PVirtualNode node = tree_->GetFirst();
    for (quint32 i = 0; i < tree_->TotalCount() && node; ++i, node = tree_->GetNextSibling(node)) {
        const TItemData& data = tree_->GetNodeData(node)->ItemData;
        char number[16];
        const auto [end, ec] = std::to_chars(number, number + sizeof number, data.FormatIndex);
        writer.StartElement("item");
        writer.TextElement("filename", fileName.Narrow(data.FileName));
        writer.TextElement("format", QByteArrayView(number, end - number));
        writer.TextElement("path", folder.Narrow(data.OutputFolder));
        writer.EndElement();
    }
    writer.EndElement();
    writer.Commit();
}

void TSaveManager::Import(const QString& path) {
    if (!QFileInfo::exists(path))
        return;
    document_.LoadFromFile(path);
    struct Release {
        TSimpleXmlDocument& doc;
        ~Release() { doc.Clear("list"); }
    } release{document_};
    TTreeUpdate update(tree_);
    TSharedFolderText folders;
    for (TSimpleXmlElement item = document_.Root().FirstChild(); item; item = item.NextSibling()) {
        if (!item.IsElement())
            continue;
        const TSimpleXmlElement fileName = item.FindChild("filename");
        if (!fileName)
            continue;
        TItemData data;
        data.FileName = QString::fromUtf8(fileName.ValueView());
        data.FormatIndex = StrToInt(item.ChildValue("format"));
        data.OutputFolder = folders.Widen(item.ChildValue("path"));
        AppendItemRow(tree_, std::move(data));
    }
}
