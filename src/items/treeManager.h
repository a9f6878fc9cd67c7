#pragma once

#include <QByteArray>
#include <QList>

class TVirtualStringTree;

// The list manager: fills the item list and answers the list control's events.
class TTreeManager {
public:
    // Keeps the list control (which may be nullptr: then nothing is bound).
    explicit TTreeManager(TVirtualStringTree* tree);

    // Appends one waiting row per file, in order, taking each row's format index and output
    // folder from the staging list at the same position, then empties the staging list. An empty
    // list does nothing at all.
    void AddItems(const QList<QByteArray>& fileList);

    TVirtualStringTree* Tree() const { return tree_; }

private:
    TVirtualStringTree* tree_;
};

// The program's one list manager; the controller creates and frees it.
extern TTreeManager* TreeManager;
