#include "platform/VirtualStringTree.h"

#include <QAbstractTableModel>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>

// The flat model behind the view. It reports only the rows already announced to the view; rows
// appended inside an update are announced together at the outermost EndUpdate.
class TVirtualTreeModel : public QAbstractTableModel {
public:
    explicit TVirtualTreeModel(TVirtualStringTree* tree) : QAbstractTableModel(tree), tree_(tree) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : shown_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override {
        if (parent.isValid() || row < 0 || row >= shown_ || column < 0 || column >= 2)
            return {};
        return createIndex(row, column, tree_->nodes_[size_t(row)]);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid())
            return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        auto* node = static_cast<PVirtualNode>(index.internalPointer());
        switch (role) {
        case Qt::DisplayRole:
            return tree_->OnGetText ? tree_->OnGetText(node, index.column()) : QString();
        case Qt::DecorationRole: {
            const int image = tree_->OnGetImageIndex ? tree_->OnGetImageIndex(node, index.column()) : -1;
            if (image >= 0 && image < tree_->Images.size())
                return tree_->Images[image];
            return {};
        }
        case Qt::ToolTipRole:
            return tree_->OnGetHint ? tree_->OnGetHint(node, index.column()) : QString();
        default:
            return {};
        }
    }

    PVirtualNode nodeOf(const QModelIndex& index) const {
        return index.isValid() ? static_cast<PVirtualNode>(index.internalPointer()) : nullptr;
    }
    QModelIndex indexOf(PVirtualNode node, int column = 0) const {
        return node ? index(int(node->Index()), column) : QModelIndex();
    }

    // Rows [shown_, count) become visible to the view.
    void announceAppended(int count) {
        if (count <= shown_)
            return;
        beginInsertRows({}, shown_, count - 1);
        shown_ = count;
        endInsertRows();
    }
    void beginRemove(int first, int last) { beginRemoveRows({}, first, last); }
    void endRemove(int removed) {
        shown_ -= removed;
        endRemoveRows();
    }
    void beginReset() { beginResetModel(); }
    void endReset(int count) {
        shown_ = count;
        endResetModel();
    }
    void rowsChanged(int first, int last) { emit dataChanged(index(first, 0), index(last, 1)); }

    int shown_ = 0;

private:
    TVirtualStringTree* tree_;
};

// Paints a cell: the row's background and selection, then OnBeforeCellPaint, then the picture and
// the text. No focus rectangle.
class TVirtualTreeDelegate : public QStyledItemDelegate {
public:
    explicit TVirtualTreeDelegate(TVirtualStringTree* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        auto* node = static_cast<PVirtualNode>(index.internalPointer());
        const int column = index.column();
        QStyleOptionViewItem opt = option;
        opt.state &= ~QStyle::State_HasFocus;
        QStyle* style = tree_->style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, tree_);
        if (tree_->OnBeforeCellPaint) {
            painter->save();
            tree_->OnBeforeCellPaint(painter, node, column, opt.rect);
            painter->restore();
        }
        QRect r = opt.rect.adjusted(2, 0, -2, 0);
        const int image = tree_->OnGetImageIndex ? tree_->OnGetImageIndex(node, column) : -1;
        if (image >= 0 && image < tree_->Images.size()) {
            const QPixmap& pm = tree_->Images[image];
            const QSize size = pm.deviceIndependentSize().toSize();
            painter->drawPixmap(QPoint(r.left(), r.top() + (r.height() - size.height()) / 2), pm);
            r.setLeft(r.left() + size.width() + 4);
        }
        const QString text = tree_->OnGetText ? tree_->OnGetText(node, column) : QString();
        if (!text.isEmpty() && r.width() > 0) {
            const bool selected = opt.state & QStyle::State_Selected;
            painter->setFont(opt.font);
            painter->setPen(
                opt.palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
            const QString shown = opt.fontMetrics.elidedText(text, Qt::ElideRight, r.width());
            painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {100, tree_->nodeHeight_};
    }

private:
    TVirtualStringTree* tree_;
};

TVirtualStringTree::TVirtualStringTree(QWidget* parent) : QTreeView(parent) {
    model_ = new TVirtualTreeModel(this);
    setModel(model_);
    setItemDelegate(new TVirtualTreeDelegate(this));
    setUniformRowHeights(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(0);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHeaderHidden(true);
    header()->setStretchLastSection(false);
    setAllColumnsShowFocus(true);
}

TVirtualStringTree::~TVirtualStringTree() {
    // The records are released by their own destructors; OnFreeNode is not raised here, since the
    // object it is bound to may already be gone at shutdown.
    model_->beginReset();
    for (PVirtualNode node : nodes_)
        node->~TVirtualNode();
    nodes_.clear();
    model_->endReset(0);
    releaseStore();
}

PVirtualNode TVirtualStringTree::newNode() {
    if (!free_.empty()) {
        void* place = free_.back();
        free_.pop_back();
        return new (place) TVirtualNode;
    }
    if (slabs_.empty() || slabs_.back().used == slabs_.back().capacity) {
        // Slabs grow from a few rows to 8 MiB, so a short list stays small and a long one costs
        // few large blocks.
        constexpr size_t largest = (size_t(8) << 20) / sizeof(TVirtualNode);
        const size_t capacity = slabs_.empty() ? 64 : std::min(slabs_.back().capacity * 2, largest);
        slabs_.push_back(
            {static_cast<TVirtualNode*>(BigAlloc(capacity * sizeof(TVirtualNode))), capacity, 0});
    }
    TSlab& slab = slabs_.back();
    return new (slab.nodes + slab.used++) TVirtualNode;
}

void TVirtualStringTree::releaseStore() {
    for (const TSlab& slab : slabs_)
        BigFree(slab.nodes, slab.capacity * sizeof(TVirtualNode));
    slabs_.clear();
    free_.clear();
}

PVirtualNode TVirtualStringTree::AddChild(PVirtualNode) {
    PVirtualNode node = newNode();
    node->index_ = quint32(nodes_.size());
    nodes_.push_back(node);
    if (updateCount_ == 0)
        model_->announceAppended(int(nodes_.size()));
    return node;
}

void TVirtualStringTree::InvalidateNode(PVirtualNode node) {
    if (!node)
        return;
    const quint32 row = node->index_;
    if (updateCount_ > 0 || int(row) >= model_->shown_) {
        if (!dirty_) {
            dirtyFirst_ = dirtyLast_ = row;
            dirty_ = true;
        } else {
            dirtyFirst_ = std::min(dirtyFirst_, row);
            dirtyLast_ = std::max(dirtyLast_, row);
        }
        return;
    }
    model_->rowsChanged(int(row), int(row));
}

void TVirtualStringTree::BeginUpdate() {
    ++updateCount_;
}

void TVirtualStringTree::EndUpdate() {
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0)
        flushPending();
}

void TVirtualStringTree::flushPending() {
    const int shownBefore = model_->shown_;
    model_->announceAppended(int(nodes_.size()));
    if (dirty_) {
        dirty_ = false;
        // Rows announced just now are painted anyway; repaint the others that changed.
        if (int(dirtyFirst_) < shownBefore)
            model_->rowsChanged(int(dirtyFirst_), std::min(int(dirtyLast_), shownBefore - 1));
    }
}

void TVirtualStringTree::Selected(PVirtualNode node, bool selected) {
    if (!node)
        return;
    flushPending();
    selectionModel()->select(model_->indexOf(node), (selected ? QItemSelectionModel::ClearAndSelect
                                                              : QItemSelectionModel::Deselect) |
                                                        QItemSelectionModel::Rows);
}

bool TVirtualStringTree::Selected(PVirtualNode node) const {
    return node && int(node->index_) < model_->shown_ &&
           selectionModel()->isRowSelected(int(node->index_), QModelIndex());
}

PVirtualNode TVirtualStringTree::GetFirstSelected() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    PVirtualNode first = nullptr;
    for (const QModelIndex& index : rows) {
        PVirtualNode node = model_->nodeOf(index);
        if (!first || node->index_ < first->index_)
            first = node;
    }
    return first;
}

PVirtualNode TVirtualStringTree::FocusedNode() const {
    return model_->nodeOf(selectionModel()->currentIndex());
}

void TVirtualStringTree::SetFocusedNode(PVirtualNode node) {
    flushPending();
    const QModelIndex index = model_->indexOf(node);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    if (index.isValid())
        scrollTo(index);
}

void TVirtualStringTree::freeNode(PVirtualNode node) {
    if (OnFreeNode)
        OnFreeNode(node);
    node->~TVirtualNode();
    free_.push_back(node);
}

void TVirtualStringTree::DeleteSelectedNodes() {
    flushPending();
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    if (rows.empty())
        return;
    std::sort(rows.begin(), rows.end());
    const QModelIndex current = selectionModel()->currentIndex();
    if (current.isValid() && std::binary_search(rows.begin(), rows.end(), current.row()))
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    // Remove runs of adjacent rows from the last one backwards, so earlier positions stay valid.
    size_t end = rows.size();
    while (end > 0) {
        size_t begin = end - 1;
        while (begin > 0 && rows[begin - 1] == rows[begin] - 1)
            --begin;
        const int first = rows[begin], last = rows[end - 1];
        model_->beginRemove(first, last);
        std::vector<PVirtualNode> gone(nodes_.begin() + first, nodes_.begin() + last + 1);
        nodes_.erase(nodes_.begin() + first, nodes_.begin() + last + 1);
        model_->endRemove(last - first + 1);
        for (PVirtualNode node : gone)
            freeNode(node);
        end = begin;
    }
    for (size_t i = size_t(rows.front()); i < nodes_.size(); ++i)
        nodes_[i]->index_ = quint32(i);
}

void TVirtualStringTree::Clear() {
    model_->beginReset();
    TBigVector<PVirtualNode> gone;
    gone.swap(nodes_);
    dirty_ = false;
    model_->endReset(0);
    if (OnFreeNode) {
        for (PVirtualNode node : gone)
            OnFreeNode(node);
    }
    for (PVirtualNode node : gone)
        node->~TVirtualNode();
    releaseStore();
}

PVirtualNode TVirtualStringTree::GetNodeAt(const QPoint& viewportPos) const {
    return model_->nodeOf(indexAt(viewportPos));
}

QString TVirtualStringTree::HintAt(const QPoint& viewportPos) const {
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid() || !OnGetHint)
        return {};
    return OnGetHint(model_->nodeOf(index), index.column());
}

void TVirtualStringTree::SetDefaultNodeHeight(int height) {
    nodeHeight_ = height;
    scheduleDelayedItemsLayout();
}

void TVirtualStringTree::paintEvent(QPaintEvent* event) {
    if (!Background.isNull()) {
        QPainter painter(viewport());
        painter.drawPixmap(BackgroundOffset, Background);
    }
    QTreeView::paintEvent(event);
}

void TVirtualStringTree::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    if (OnResize)
        OnResize();
}

void TVirtualStringTree::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        // A right click selects the row under the mouse and gives it the focus.
        if (PVirtualNode node = GetNodeAt(event->position().toPoint())) {
            SetFocusedNode(node);
            Selected(node, true);
        }
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void TVirtualStringTree::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton || !OnColumnDblClick)
        return;
    const int column = columnAt(event->position().toPoint().x());
    if (column >= 0)
        OnColumnDblClick(column);
}

void TVirtualStringTree::contextMenuEvent(QContextMenuEvent* event) {
    if (!OnGetPopupMenu)
        return;
    const QPoint pos = event->pos();
    const int column = event->reason() == QContextMenuEvent::Mouse ? columnAt(pos.x()) : 0;
    PVirtualNode node = event->reason() == QContextMenuEvent::Mouse ? GetNodeAt(pos) : FocusedNode();
    if (QMenu* menu = OnGetPopupMenu(node, column, event->globalPos()))
        menu->popup(event->globalPos());
    event->accept();
}

bool TVirtualStringTree::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString hint = HintAt(help->pos());
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, viewport(), visualRect(indexAt(help->pos())));
        return true;
    }
    return QTreeView::viewportEvent(event);
}
