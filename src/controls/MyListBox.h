#pragma once

#include "platform/colors.h"

#include <QList>
#include <QListWidget>
#include <QPixmap>

enum TBorderStyle { bsNone, bsSingle };

// A list box whose every entry shows one fixed picture (ImageIndex of ImageList) followed by the
// entry's text, all entries ItemHeight pixels tall, and its own look for the selected or focused
// entry: a light blue-violet box with blue text. Entries are the QListWidget's items.
class TMyListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TMyListBox(QWidget* owner = nullptr);
    ~TMyListBox() override;

    const QList<QPixmap>& ImageList() const { return imageList_; }
    void SetImageList(const QList<QPixmap>& images);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);

    QStringList Items() const;
    void SetItems(const QStringList& texts);
    int ItemIndex() const { return currentRow(); }
    void SetItemIndex(int value) { setCurrentRow(value); }

private:
    class Delegate;
    friend class Delegate;
    void DrawItem(QPainter* painter, int index, QRect rect, bool selectedOrFocused) const;

    QList<QPixmap> imageList_;
    int imageIndex_ = 0;
    int itemHeight_ = 16;
    TColor color_;
    TColor fontColor_ = Colors::clBlack;
    TBorderStyle borderStyle_ = bsSingle;
};
