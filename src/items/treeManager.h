#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QMenu;
class QPainter;
class QPoint;
class QRect;
class TVirtualStringTree;
struct TVirtualNode;
struct TItemData;

// Appends a new waiting row holding item after the last row, the way Add and Import create rows.
TVirtualNode* AppendItemRow(TVirtualStringTree* tree, TItemData&& item);

// The list manager: fills the item list and answers the list control's events.
class TTreeManager {
public:
    // Keeps the list control (which may be nullptr: then nothing is bound).
    explicit TTreeManager(TVirtualStringTree* tree);
    // Unbinds the list control's events, so that the control, which outlives the manager at
    // shutdown, never calls into a freed manager.
    ~TTreeManager();
    TTreeManager(const TTreeManager&) = delete;
    TTreeManager& operator=(const TTreeManager&) = delete;

    // Appends one waiting row per file, in order, taking each row's format index and output
    // folder from the staging list at the same position, then empties the staging list. An empty
    // list does nothing at all.
    void AddItems(const QList<QByteArray>& fileList);

    TVirtualStringTree* Tree() const { return tree_; }

    // How the list shows its rows (treeManagerView.cpp); bound to the list control's events by the
    // constructor. Column 0 holds the status picture and the path, column 1 the progress box.
    QString GetText(TVirtualNode* node, int column) const;
    int GetImageIndex(TVirtualNode* node, int column) const;
    QString GetHint(TVirtualNode* node, int column) const;
    // The item menu, over column 0 only and only while no run is in progress.
    QMenu* GetPopupMenu(TVirtualNode* node, int column, const QPoint& globalPos) const;
    void BeforeCellPaint(QPainter* painter, TVirtualNode* node, int column, const QRect& cellRect) const;
    // Keeps the watermark in the bottom-right corner of the client area.
    void Resize();

    // The Item Property dialog for one row (treeManagerProperties.cpp): nothing for no row; the
    // format and output folder are written back only when OK was pressed and no run is in
    // progress. Raises EOSError (and shows no dialog) when the row's input file has vanished.
    // The list control's double-click opens it for the focused row.
    void ShowItemProperties(TVirtualNode* node);

private:
    void BindView();
    void BindProperties();

    TVirtualStringTree* tree_;
};

// The program's one list manager; the controller creates and frees it.
extern TTreeManager* TreeManager;
