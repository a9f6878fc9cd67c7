#include "items/ItemForm.h"

#include "controls/FlatEditUnit.h"
#include "controls/MyListBox.h"
#include "items/BrowseFolder.h"
#include "items/_consts.h"

TItemDlg::TItemDlg(QWidget* owner) : TFileDlgForm(owner, QStringLiteral("Item Property")) {}

void TItemDlg::ShowItem(const TItemData& item) {
    const QByteArray fileName = item.FileName.toUtf8();
    MyListBox1->addItem(QString::fromUtf8(fileName));

    itemFormat_ = item.FormatIndex;
    if (item.FormatIndex >= 0 && item.FormatIndex < ComboBox1->count()) {
        ComboBox1->setCurrentIndex(item.FormatIndex);
    } else {
        ComboBox1->setCurrentIndex(-1);
        ComboBox1->setPlaceholderText(
            QStringLiteral("(format %1 is not in the format list)").arg(item.FormatIndex));
    }

    etDirectory->setText(QString::fromUtf8(item.OutputFolder.toUtf8()));

    const QByteArray namePart = fileName.mid(fileName.lastIndexOf('/') + 1);
    Memo1->AddLine(QStringLiteral("file name: %1").arg(QString::fromUtf8(namePart)));
    Memo1->AddLine(QStringLiteral("file size: %1 Bytes").arg(FileSizeOf(fileName)));
}

qint32 TItemDlg::ChosenFormatIndex() const {
    return ComboBox1->currentIndex() >= 0 ? ComboBox1->currentIndex() : itemFormat_;
}

void TItemDlg::btDirectoryClick() {
    const QString folder = PickFolder();
    if (!folder.isEmpty())
        etDirectory->setText(WithTrailingSlash(folder));
}
