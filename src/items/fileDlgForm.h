#pragma once

#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QPlainTextEdit>

class QLabel;
class QToolButton;
class TLinePanel;
class TMyButtonEx;
class TMyFlatComboBox;
class TMyFlatEdit;
class TMyListBox;

// The information panel: read-only lines of green text on black. The dialogs rewrite single
// lines of it while they are open.
class TInfoMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TInfoMemo(QWidget* parent);
    QStringList Lines() const;
    void AddLine(const QString& text);
    // Rewrites line `index` (counting from 0), adding empty lines first when there are fewer.
    void SetLine(int index, const QString& text);
};

// The window the Add Files and Properties dialogs share: a fixed-size modal dialog with the file
// list, the format box, the output folder field with its folder button, the information panel and
// OK / Cancel. The controls are public so that the caller can fill the dialog and read it back.
class TFileDlgForm : public QDialog {
    Q_OBJECT
public:
    TFileDlgForm(QWidget* owner, const QString& caption);

    TLinePanel* LinePanel1;
    TMyListBox* MyListBox1;
    TMyFlatComboBox* ComboBox1;
    QLabel* Label2;
    TMyFlatEdit* etDirectory;
    QToolButton* btDirectory;
    QLabel* Label1;
    TLinePanel* LinePanel2;
    TInfoMemo* Memo1;
    TMyButtonEx* btnCancel;
    TMyButtonEx* btnOk;
    QList<QPixmap> PngImageList1;

    // Set only by OK; Cancel, Escape and the close box leave it false.
    bool Accepted = false;

    // The selected position of the format box (catalogue order), -1 when nothing is selected.
    int FormatIndex() const;

protected:
    virtual void ComboBox1Change() {}
    virtual void btDirectoryClick() = 0;
    void btnOkClick();
    void btnCancelClick();
    // Returns true when the key was handled by the dialog.
    virtual bool FormKeyDown(int key);
    void Memo1Enter();

    // Opens the folder picker owned by this dialog; the chosen folder ends in '/', empty when
    // cancelled.
    QString PickFolder();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
};
