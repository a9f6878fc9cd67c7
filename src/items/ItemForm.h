#pragma once

#include "items/fileDlgForm.h"

struct TItemData;

// "Item Property": one item's input file, name and size, and its format and output folder, which
// the user may change. TTreeManager::ShowItemProperties fills it, runs it and writes back.
class TItemDlg : public TFileDlgForm {
    Q_OBJECT
public:
    explicit TItemDlg(QWidget* owner = nullptr);

    // Fills the dialog from the item: its path, format, output folder, and the file name and size
    // lines. Raises EOSError when the input file cannot be found.
    void ShowItem(const TItemData& item);

    // What OK writes back: the selected format, or the item's own index while none is selected
    // (an index the catalogue does not have is shown as such and never silently replaced).
    qint32 ChosenFormatIndex() const;

protected:
    void btDirectoryClick() override;

private:
    qint32 itemFormat_ = -1;
};
