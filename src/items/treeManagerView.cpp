#include "items/treeManagerView.h"

#include "controls/menuDraw.h"
#include "engine/command.h"
#include "engine/commandManager.h"
#include "items/treeManager.h"
#include "platform/VirtualStringTree.h"

#include <QMenu>
#include <QPainter>

TMenuDraw* MenuDraw = nullptr;

namespace ItemListView {

QString HintText(const TItemData& item) {
    QString format;
    if (CommandManager && CommandManager->IsValidIndex(item.FormatIndex))
        format = CommandManager->FormatNames().at(item.FormatIndex);
    else
        format = QStringLiteral("(unknown format, index %1)").arg(item.FormatIndex);
    return QStringLiteral("[File Name]: ") + item.FileName + u'\n' + QStringLiteral("[format]: ") + format +
           u'\n' + QStringLiteral("[path]: ") + item.OutputFolder;
}

void PaintProgressBox(QPainter& painter, const QRect& cellRect, const TItemData& item) {
    const QRect box = cellRect.adjusted(BoxInset, BoxInset, -BoxInset, -BoxInset);
    if (box.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor color = TColorToQColor(ProgressBoxColor);
    // The outline covers the box's first and last columns and rows; its inside keeps the row's
    // background.
    painter.setPen(color);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.x(), box.y(), box.width() - 1, box.height() - 1);
    if (item.Running)
        painter.fillRect(QRect(box.x() + int(item.AnimationStep), box.y(), BarWidth, box.height()), color);
    painter.restore();
}

} // namespace ItemListView

void TTreeManager::BindView() {
    TVirtualStringTree* tree = tree_;
    tree->OnGetText = [this](PVirtualNode node, int column) { return GetText(node, column); };
    tree->OnGetImageIndex = [this](PVirtualNode node, int column) { return GetImageIndex(node, column); };
    tree->OnGetHint = [this](PVirtualNode node, int column) { return GetHint(node, column); };
    tree->OnGetPopupMenu = [this](PVirtualNode node, int column, const QPoint& globalPos) {
        return GetPopupMenu(node, column, globalPos);
    };
    tree->OnBeforeCellPaint = [this](QPainter* painter, PVirtualNode node, int column,
                                     const QRect& cellRect) {
        BeforeCellPaint(painter, node, column, cellRect);
    };
    tree->OnResize = [this] { Resize(); };
    Resize();
}

TTreeManager::~TTreeManager() {
    if (!tree_)
        return;
    tree_->OnGetText = nullptr;
    tree_->OnGetImageIndex = nullptr;
    tree_->OnGetHint = nullptr;
    tree_->OnGetPopupMenu = nullptr;
    tree_->OnBeforeCellPaint = nullptr;
    tree_->OnResize = nullptr;
    tree_->OnColumnDblClick = nullptr;
}

QString TTreeManager::GetText(PVirtualNode node, int column) const {
    const TItemNodeData* data = tree_->GetNodeData(node);
    if (!data || tree_->GetNodeLevel(node) != 0)
        return {};
    return column == 0 ? data->ItemData.FileName : QString();
}

int TTreeManager::GetImageIndex(PVirtualNode node, int column) const {
    const TItemNodeData* data = tree_->GetNodeData(node);
    return data && column == 0 ? data->Status : -1;
}

QString TTreeManager::GetHint(PVirtualNode node, int column) const {
    const TItemNodeData* data = tree_->GetNodeData(node);
    return data && column == 0 ? ItemListView::HintText(data->ItemData) : QString();
}

QMenu* TTreeManager::GetPopupMenu(PVirtualNode, int column, const QPoint&) const {
    // The item menu is offered over the path column only, and never while a run is in progress.
    if (column != 0 || !MenuDraw || (BatchDriver && !BatchDriver->IsIdle()))
        return nullptr;
    return MenuDraw->Menu();
}

void TTreeManager::BeforeCellPaint(QPainter* painter, PVirtualNode node, int column,
                                   const QRect& cellRect) const {
    const TItemNodeData* data = tree_->GetNodeData(node);
    if (column == 1 && data)
        ItemListView::PaintProgressBox(*painter, cellRect, data->ItemData);
}

void TTreeManager::Resize() {
    tree_->BackgroundOffset =
        ItemListView::WatermarkOffset(tree_->viewport()->size(), tree_->Background.size());
    tree_->viewport()->update();
}
