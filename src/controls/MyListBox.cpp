#include "MyListBox.h"

#include <QAbstractItemDelegate>
#include <QPainter>

namespace {
constexpr TColor HighlightBox = 16757429;  // 181, 178, 255
constexpr TColor HighlightText = 16711680; // 0, 0, 255
} // namespace

class TMyListBox::Delegate : public QAbstractItemDelegate {
public:
    explicit Delegate(TMyListBox* box) : QAbstractItemDelegate(box), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool marked = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        box_->DrawItem(painter, index.row(), option.rect, marked);
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(1, box_->itemHeight_);
    }

private:
    TMyListBox* box_;
};

TMyListBox::TMyListBox(QWidget* owner) : QListWidget(owner) {
    color_ = QColorToTColor(palette().color(QPalette::Base));
    setItemDelegate(new Delegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Long texts run past the right edge and are clipped by the control.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetColor(color_);
}

TMyListBox::~TMyListBox() = default;

void TMyListBox::SetImageList(const QList<QPixmap>& images) {
    imageList_ = images;
    viewport()->update();
}

void TMyListBox::SetImageIndex(int value) {
    imageIndex_ = value;
    viewport()->update();
}

void TMyListBox::SetItemHeight(int value) {
    itemHeight_ = value;
    doItemsLayout();
    viewport()->update();
}

void TMyListBox::SetColor(TColor value) {
    color_ = value;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, TColorToQColor(value));
    setPalette(pal);
    viewport()->update();
}

void TMyListBox::SetFontColor(TColor value) {
    fontColor_ = value;
    viewport()->update();
}

void TMyListBox::SetBorderStyle(TBorderStyle value) {
    borderStyle_ = value;
    setFrameShape(value == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

QStringList TMyListBox::Items() const {
    QStringList texts;
    for (int i = 0; i < count(); ++i)
        texts << item(i)->text();
    return texts;
}

void TMyListBox::SetItems(const QStringList& texts) {
    clear();
    addItems(texts);
}

void TMyListBox::DrawItem(QPainter* painter, int index, QRect rect, bool selectedOrFocused) const {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setFont(font());
    const QFontMetrics metrics(font());
    const QString text = item(index) ? item(index)->text() : QString();

    if (metrics.horizontalAdvance(text) >= width())
        rect.setWidth(width());
    QColor background = TColorToQColor(color_);
    QColor textColor = TColorToQColor(fontColor_);
    painter->fillRect(rect, background);
    if (selectedOrFocused) {
        background = TColorToQColor(HighlightBox);
        textColor = TColorToQColor(HighlightText);
        painter->fillRect(rect, background);
    }

    int pictureWidth = 0;
    if (imageIndex_ >= 0 && imageIndex_ < imageList_.size()) {
        const QPixmap& picture = imageList_.at(imageIndex_);
        pictureWidth = picture.width();
        painter->drawPixmap(rect.left() + 4, rect.top() + (itemHeight_ - picture.height()) / 2, picture);
    }

    const int textX = rect.left() + pictureWidth + 8;
    const int textY = rect.top() + (itemHeight_ - metrics.height()) / 2;
    const QRect textBox(textX, textY, metrics.horizontalAdvance(text), metrics.height());
    painter->fillRect(textBox, background);
    painter->setPen(textColor);
    painter->drawText(textX, textY + metrics.ascent(), text);
    painter->restore();
}
