#pragma once

#include "items/fileDlgForm.h"

// "Add Files": shows the chosen video files and lets the user pick one format and one output
// folder for all of them. The caller puts the paths into MyListBox1, writes the information lines
// (WriteInformation), runs exec() and, when Accepted, reads FormatIndex() and OutputFolder().
class TaddDlg : public TFileDlgForm {
    Q_OBJECT
public:
    explicit TaddDlg(QWidget* owner = nullptr);

    // The five information lines: file count, format, target folder and the two hints.
    void WriteInformation();
    QString FormatLine() const;
    QString SaveToLine() const;

    // The folder field's text: empty (the default output folder) or a folder ending in '/'.
    QByteArray OutputFolder() const;

protected:
    void ComboBox1Change() override;
    void btDirectoryClick() override;
};
