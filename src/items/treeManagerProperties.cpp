// The list manager's Properties command: the Item Property dialog for one row, and the list
// control's double-click that opens it.
#include "items/treeManager.h"

#include "controls/FlatEditUnit.h"
#include "engine/command.h"
#include "items/ItemForm.h"
#include "platform/VirtualStringTree.h"
#include "platform/dialogSeam.h"

#include <QGuiApplication>

void TTreeManager::ShowItemProperties(TVirtualNode* node) {
    if (!node || !tree_ || tree_->GetNodeLevel(node) != 0)
        return;
    TItemNodeData* data = tree_->GetNodeData(node);

    // Destroyed on every way out, also when the input file has vanished and ShowItem raises.
    TItemDlg dialog(tree_->window());
    dialog.ShowItem(data->ItemData);
    dialog.exec();

    // A run may have started or ended while the dialog was open; only an idle list is changed.
    if (!dialog.Accepted || (BatchDriver && !BatchDriver->IsIdle()))
        return;
    tree_->BeginUpdate();
    data->ItemData.FormatIndex = dialog.ChosenFormatIndex();
    data->ItemData.OutputFolder = QString::fromUtf8(dialog.etDirectory->text().toUtf8());
    tree_->InvalidateNode(node);
    tree_->EndUpdate();
}

void TTreeManager::BindProperties() {
    tree_->OnColumnDblClick = [this](int) {
        // The double-click arrives from the list control's event handling, where no error may
        // unwind: it is shown like any command's error.
        try {
            ShowItemProperties(tree_->FocusedNode());
        } catch (const std::exception& error) {
            Dialogs().ShowMessage(tree_->window(), QString::fromUtf8(error.what()),
                                  QGuiApplication::applicationDisplayName(), TDialogSeam::miCritical);
        }
    };
}
