#include "items/addForm.h"

#include "controls/FlatEditUnit.h"
#include "controls/MyListBox.h"
#include "items/BrowseFolder.h"

TaddDlg::TaddDlg(QWidget* owner) : TFileDlgForm(owner, QStringLiteral("Add Files")) {}

void TaddDlg::WriteInformation() {
    Memo1->clear();
    Memo1->AddLine(QStringLiteral("file count: %1").arg(MyListBox1->count()));
    Memo1->AddLine(FormatLine());
    Memo1->AddLine(SaveToLine());
    Memo1->AddLine(QStringLiteral("Ready to go...click OK"));
    Memo1->AddLine(QStringLiteral("Cancel the operation...click Cancel"));
}

QString TaddDlg::FormatLine() const {
    return QStringLiteral("format: %1").arg(ComboBox1->currentText());
}

QString TaddDlg::SaveToLine() const {
    const QString folder = etDirectory->text();
    return QStringLiteral("save to: %1").arg(folder.isEmpty() ? QStringLiteral("use global path") : folder);
}

QByteArray TaddDlg::OutputFolder() const {
    return etDirectory->text().toUtf8();
}

void TaddDlg::ComboBox1Change() {
    Memo1->SetLine(1, FormatLine());
}

void TaddDlg::btDirectoryClick() {
    // A cancelled picker returns to the default output folder: the field is the only way back to
    // it, and the information line then says where the files really go.
    etDirectory->setText(WithTrailingSlash(PickFolder()));
    Memo1->SetLine(2, SaveToLine());
}
