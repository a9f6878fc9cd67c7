#pragma once

#include "items/_consts.h"
#include "platform/bigAlloc.h"

#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QTreeView>
#include <functional>
#include <vector>

class QMenu;
class QPainter;
class TVirtualTreeModel;

// One row of the list. A node is a stable handle: it stays valid while other rows are added or
// deleted, until its own row is deleted or the list is cleared.
struct TVirtualNode {
    TItemNodeData Data; // zero-filled when the row is created
    // The row's zero-based position in the list (the same as TVirtualStringTree::Index).
    quint32 Index() const { return index_; }

private:
    friend class TVirtualStringTree;
    quint32 index_ = 0;
};
using PVirtualNode = TVirtualNode*;

// The item list control: a flat list of rows, each owning one TItemNodeData, shown in a QTreeView
// with two columns. Texts, pictures, hints, the context menu and cell backgrounds come from the
// On* events; an unbound event is skipped. Appending, clearing and walking cost linear time
// overall, and changes between BeginUpdate and the outermost EndUpdate reach the view as one
// notification, so a million rows stay fast.
class TVirtualStringTree : public QTreeView {
    Q_OBJECT
public:
    explicit TVirtualStringTree(QWidget* parent = nullptr);
    ~TVirtualStringTree() override;

    // Appends a row after the last one and returns it. Only top-level rows exist: a parent other
    // than nullptr is ignored.
    PVirtualNode AddChild(PVirtualNode parent = nullptr);
    TItemNodeData* GetNodeData(PVirtualNode node) const { return node ? &node->Data : nullptr; }
    PVirtualNode GetFirst() const { return nodes_.empty() ? nullptr : nodes_.front(); }
    PVirtualNode GetLast() const { return nodes_.empty() ? nullptr : nodes_.back(); }
    PVirtualNode GetNextSibling(PVirtualNode node) const {
        return (node && size_t(node->index_) + 1 < nodes_.size()) ? nodes_[node->index_ + 1] : nullptr;
    }
    // The row at a position, or nullptr outside the list.
    PVirtualNode NodeAt(quint32 index) const { return index < nodes_.size() ? nodes_[index] : nullptr; }
    quint32 TotalCount() const { return quint32(nodes_.size()); }
    quint32 Index(PVirtualNode node) const { return node ? node->index_ : 0; }
    int GetNodeLevel(PVirtualNode) const { return 0; }

    // Repaints one row (after the outermost EndUpdate when inside an update).
    void InvalidateNode(PVirtualNode node);

    // Selection is one row at a time: selecting a row drops the previous selection.
    void Selected(PVirtualNode node, bool selected);
    bool Selected(PVirtualNode node) const;
    PVirtualNode GetFirstSelected() const;
    PVirtualNode FocusedNode() const;
    void SetFocusedNode(PVirtualNode node);

    // Deletes the selected row(s), releasing their records (OnFreeNode first). When the focused
    // row goes, no row has the focus afterwards.
    void DeleteSelectedNodes();
    // Deletes every row, releasing all records.
    void Clear();

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // The row under a point of the viewport, or nullptr.
    PVirtualNode GetNodeAt(const QPoint& viewportPos) const;
    // The hint for a point of the viewport (OnGetHint of that row and column), or empty text.
    QString HintAt(const QPoint& viewportPos) const;

    // Events.
    std::function<QString(PVirtualNode node, int column)> OnGetText;
    std::function<int(PVirtualNode node, int column)> OnGetImageIndex; // -1: no picture
    std::function<QString(PVirtualNode node, int column)> OnGetHint;
    std::function<QMenu*(PVirtualNode node, int column, const QPoint& globalPos)> OnGetPopupMenu;
    std::function<void(QPainter* painter, PVirtualNode node, int column, const QRect& cellRect)>
        OnBeforeCellPaint;
    std::function<void(PVirtualNode node)> OnFreeNode;
    std::function<void()> OnResize;
    std::function<void(int column)> OnColumnDblClick;

    // Pictures for OnGetImageIndex.
    QList<QPixmap> Images;
    // A picture drawn unscaled behind the rows at BackgroundOffset (viewport coordinates); it does
    // not scroll with the rows. Call viewport()->update() after changing either.
    QPixmap Background;
    QPoint BackgroundOffset;

    // Row height in pixels (all rows share it).
    void SetDefaultNodeHeight(int height);
    int DefaultNodeHeight() const { return nodeHeight_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    friend class TVirtualTreeModel;
    friend class TVirtualTreeDelegate;

    void flushPending();
    PVirtualNode newNode();
    void freeNode(PVirtualNode node);
    void releaseStore();

    // Rows live in slabs; a deleted row's place is reused by the next new row.
    struct TSlab {
        TVirtualNode* nodes;
        size_t capacity;
        size_t used;
    };
    std::vector<TSlab> slabs_;
    std::vector<PVirtualNode> free_;

    TBigVector<PVirtualNode> nodes_;
    TVirtualTreeModel* model_ = nullptr;
    int updateCount_ = 0;
    int nodeHeight_ = 18;
    // Rows invalidated inside an update, repainted at the outermost EndUpdate.
    quint32 dirtyFirst_ = 0, dirtyLast_ = 0;
    bool dirty_ = false;
};

// Brackets a change of the list with BeginUpdate/EndUpdate, also when the change ends in an error.
class TTreeUpdate {
public:
    explicit TTreeUpdate(TVirtualStringTree* tree) : tree_(tree) { tree_->BeginUpdate(); }
    ~TTreeUpdate() { tree_->EndUpdate(); }
    TTreeUpdate(const TTreeUpdate&) = delete;
    TTreeUpdate& operator=(const TTreeUpdate&) = delete;

private:
    TVirtualStringTree* tree_;
};
