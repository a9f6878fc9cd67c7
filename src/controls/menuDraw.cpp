#include "menuDraw.h"

#include "platform/rounding.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace {

constexpr int ImageColumn = 26;
const char* const MenuImagesProperty = "quelvidMenuImages";
const char* const ImageIndexProperty = "quelvidImageIndex";

bool IsSeparatorEntry(const QAction* a) {
    return a->isSeparator() || a->text() == QLatin1String("-");
}

// Caption and shortcut text of an entry: a tab in the text separates an explicit shortcut text.
void SplitCaption(const QAction* a, QString& caption, QString& shortcut) {
    caption = a->text();
    const auto tab = caption.indexOf(u'\t');
    if (tab >= 0) {
        shortcut = caption.mid(tab + 1);
        caption.truncate(tab);
    } else {
        shortcut = a->shortcut().toString(QKeySequence::NativeText);
    }
    if (IsSeparatorEntry(a))
        caption = QStringLiteral("-");
}

// A rectangle with a 3 x 3 corner ellipse: at this size each corner loses exactly its corner pixel.
QRegion RoundedRegion(const QRect& r) {
    QRegion region(r);
    region -= QRect(r.left(), r.top(), 1, 1);
    region -= QRect(r.right(), r.top(), 1, 1);
    region -= QRect(r.left(), r.bottom(), 1, 1);
    region -= QRect(r.right(), r.bottom(), 1, 1);
    return region;
}

void RoundedOutline(QPainter& p, const QRect& r, const QColor& c) {
    p.fillRect(QRect(r.left() + 1, r.top(), r.width() - 2, 1), c);
    p.fillRect(QRect(r.left() + 1, r.bottom(), r.width() - 2, 1), c);
    p.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), c);
    p.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), c);
}

// Measures and paints the entries that were in the menu when it was attached.
class TMenuDrawStyle : public QProxyStyle {
public:
    TMenuDrawStyle(QMenu* menu, bool images, bool hints) : menu_(menu), images_(images), hints_(hints) {
        for (QAction* a : menu->actions())
            entries_.append(a);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* opt, const QSize& size,
                           const QWidget* widget) const override {
        if (type == CT_MenuItem && widget == menu_) {
            if (const QAction* a = EntryForOption(static_cast<const QStyleOptionMenuItem*>(opt)))
                return Measure(a);
        }
        return QProxyStyle::sizeFromContents(type, opt, size, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* opt, QPainter* p,
                     const QWidget* widget) const override {
        if (widget == menu_) {
            if (element == CE_MenuItem) {
                QAction* a = menu_->actionAt(opt->rect.center());
                if (a && entries_.contains(a)) {
                    p->save();
                    if (IsSeparatorEntry(a))
                        PaintSeparator(*p, a, opt->rect);
                    else
                        PaintEntry(*p, a, opt->rect, opt->state & State_Selected);
                    p->restore();
                    return;
                }
            } else if (element == CE_MenuEmptyArea) {
                p->fillRect(opt->rect, TColorToQColor(TMenuDraw::clEntryBackground));
                return;
            }
        }
        QProxyStyle::drawControl(element, opt, p, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* opt, QPainter* p,
                       const QWidget* widget) const override {
        if (widget == menu_) {
            if (element == PE_PanelMenu) {
                p->fillRect(opt->rect, TColorToQColor(TMenuDraw::clEntryBackground));
                return;
            }
            if (element == PE_FrameMenu) {
                const QRect r = opt->rect;
                const QColor c = TColorToQColor(TMenuDraw::clLine);
                p->fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
                p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
                p->fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
                p->fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
                return;
            }
        }
        QProxyStyle::drawPrimitive(element, opt, p, widget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* opt, const QWidget* widget) const override {
        if (widget == menu_) {
            switch (metric) {
            case PM_MenuPanelWidth:
            case PM_MenuVMargin:
                return 1;
            case PM_MenuHMargin:
                return 1;
            default:
                break;
            }
        }
        return QProxyStyle::pixelMetric(metric, opt, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        // A disabled entry can still be highlighted.
        if (hint == SH_Menu_AllowActiveAndDisabled && widget == menu_)
            return 1;
        return QProxyStyle::styleHint(hint, opt, widget, ret);
    }

private:
    bool ServedByImages() const { return !TMenuDraw::MenuImages(menu_).isEmpty(); }

    // The menu measures its entries in order, handing over only their texts; entries are matched
    // by caption and kind, starting after the previous match so that equal captions keep their order.
    const QAction* EntryForOption(const QStyleOptionMenuItem* opt) const {
        const bool separator = opt->menuItemType == QStyleOptionMenuItem::Separator;
        QString text = opt->text;
        const auto tab = text.indexOf(u'\t');
        if (tab >= 0)
            text.truncate(tab);
        const int n = int(entries_.size());
        for (int k = 1; k <= n; ++k) {
            const int i = (lastMeasured_ + k) % n;
            const QAction* a = entries_.at(i);
            if (!a || a->isSeparator() != separator)
                continue;
            QString caption = a->text();
            const auto t = caption.indexOf(u'\t');
            if (t >= 0)
                caption.truncate(t);
            if (caption == text) {
                lastMeasured_ = i;
                return a;
            }
        }
        return nullptr;
    }

    QSize Measure(const QAction* a) const {
        QString caption, shortcut;
        SplitCaption(a, caption, shortcut);
        const QFont bold = TMenuDraw::EntryFont(true);
        const QSize c = TMenuDraw::MeasureText(bold, caption);
        int wc = c.width();
        if (!shortcut.isEmpty())
            wc += TMenuDraw::MeasureText(bold, shortcut).width() + 8;
        const QSize h = TMenuDraw::MeasureText(TMenuDraw::EntryFont(false), a->statusTip());
        int width = std::max(wc, h.width()) + 8;
        if (ServedByImages())
            width += ImageColumn;
        return {width, c.height() + h.height() + 8};
    }

    void PaintEntry(QPainter& p, const QAction* a, const QRect& r, bool highlighted) const {
        QString caption, shortcut;
        SplitCaption(a, caption, shortcut);
        const QString hint = a->statusTip();
        const bool images = ServedByImages();
        const QFont bold = TMenuDraw::EntryFont(true);
        const int hc = TMenuDraw::MeasureText(bold, caption).height();

        p.fillRect(r, TColorToQColor(TMenuDraw::clEntryBackground));
        if (images) {
            p.fillRect(QRect(r.left(), r.top(), ImageColumn, r.height()),
                       TColorToQColor(TMenuDraw::clImageColumn));
            p.fillRect(QRect(r.left() + ImageColumn, r.top(), 1, r.height()),
                       TColorToQColor(TMenuDraw::clLine));
        }
        if (highlighted) {
            p.setClipRegion(RoundedRegion(r));
            if (!hint.isEmpty() && hints_) {
                const QRect upper(r.left(), r.top(), r.width(), hc + 4);
                const QRect lower(r.left(), r.top() + hc + 4, r.width(), r.height() - hc - 4);
                TMenuDraw::GradientFill(p, upper, TMenuDraw::clUpperBandTop, TMenuDraw::clUpperBandBottom);
                TMenuDraw::GradientFill(p, lower, TMenuDraw::clLowerBandTop, TMenuDraw::clLowerBandBottom);
            } else {
                TMenuDraw::GradientFill(p, r, TMenuDraw::clUpperBandTop, TMenuDraw::clUpperBandBottom);
            }
            p.setClipping(false);
            RoundedOutline(p, r, TColorToQColor(TMenuDraw::clLine));
        }

        p.setPen(TColorToQColor(a->isEnabled() ? TMenuDraw::clText : TMenuDraw::clTextDisabled));
        const int left = r.left() + (images ? 30 : 4);
        const int right = r.left() + r.width() - 4;
        const int bottom = r.top() + r.height();
        const QRect captionRect(left, r.top() + 2, right - left, bottom - r.top() - 2);
        p.setFont(bold);
        p.drawText(captionRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, caption);
        if (!shortcut.isEmpty())
            p.drawText(captionRect, Qt::AlignRight | Qt::AlignTop | Qt::TextHideMnemonic, shortcut);
        const int hintTop = r.top() + hc + 4;
        p.setFont(TMenuDraw::EntryFont(false));
        p.drawText(QRect(left, hintTop, right - left, bottom - hintTop),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextHideMnemonic, hint);

        const int index = TMenuDraw::ImageIndex(a);
        const QList<QPixmap> list = TMenuDraw::MenuImages(menu_);
        if (index >= 0 && index < list.size() && images_)
            p.drawPixmap(r.left() + 4, r.top() + 2, list.at(index));
    }

    void PaintSeparator(QPainter& p, const QAction* a, const QRect& r) const {
        const int right = r.left() + r.width();
        const int bottom = r.top() + r.height();
        const bool images = ServedByImages();
        p.fillRect(r, TColorToQColor(TMenuDraw::clSeparatorBackground));
        p.fillRect(QRect(r.left(), bottom - 2, r.width(), 1), TColorToQColor(TMenuDraw::clLine));
        p.fillRect(QRect(r.left(), bottom - 1, r.width(), 1), TColorToQColor(TMenuDraw::clSeparatorLight));
        const QString hint = a->statusTip();
        if (!hint.isEmpty()) {
            QFont heading = menu_->font();
            heading.setBold(true);
            p.setFont(heading);
            p.setPen(TColorToQColor(TMenuDraw::clText));
            const int left = r.left() + (images ? 10 : 4);
            p.drawText(QRect(left, r.top(), right - 4 - left, r.height()),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextHideMnemonic, hint);
        } else if (images) {
            p.fillRect(QRect(r.left(), r.top(), ImageColumn, r.height()),
                       TColorToQColor(TMenuDraw::clImageColumn));
            p.fillRect(QRect(r.left() + ImageColumn, r.top(), 1, r.height()),
                       TColorToQColor(TMenuDraw::clLine));
        }
    }

    QMenu* menu_;
    QList<QPointer<QAction>> entries_;
    bool images_;
    bool hints_;
    mutable int lastMeasured_ = -1;
};

} // namespace

TMenuDraw::TMenuDraw() : images_(true), hints_(true) {}

void TMenuDraw::Attach(QMenu* menu) {
    menu_ = menu;
    if (!menu)
        return;
    auto* style = new TMenuDrawStyle(menu, images_, hints_);
    style->setParent(menu);
    QStyle* previous = menu->style();
    menu->setStyle(style);
    if (previous && previous->parent() == menu && qobject_cast<QProxyStyle*>(previous))
        previous->deleteLater();
}

void TMenuDraw::SetMenuImages(QMenu* menu, const QList<QPixmap>& images) {
    menu->setProperty(MenuImagesProperty, QVariant::fromValue(images));
}

QList<QPixmap> TMenuDraw::MenuImages(const QMenu* menu) {
    return menu ? menu->property(MenuImagesProperty).value<QList<QPixmap>>() : QList<QPixmap>();
}

void TMenuDraw::SetImageIndex(QAction* action, int index) {
    action->setProperty(ImageIndexProperty, index);
}

int TMenuDraw::ImageIndex(const QAction* action) {
    const QVariant v = action->property(ImageIndexProperty);
    return v.isValid() ? v.toInt() : -1;
}

QFont TMenuDraw::EntryFont(bool bold) {
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPointSize(9);
    font.setBold(bold);
    return font;
}

QSize TMenuDraw::MeasureText(const QFont& font, const QString& text) {
    // An empty text takes no room: an entry without a hint is its caption plus 8 pixels tall.
    if (text.isEmpty())
        return {0, 0};
    return QFontMetrics(font).boundingRect(QRect(), Qt::TextShowMnemonic, text).size();
}

void TMenuDraw::GradientFill(QPainter& p, const QRect& band, TColor from, TColor to) {
    const int h = band.height();
    if (h <= 0 || band.width() <= 0)
        return;
    const int r0 = GetRValue(from), g0 = GetGValue(from), b0 = GetBValue(from);
    const int dr = GetRValue(to) - r0, dg = GetGValue(to) - g0, db = GetBValue(to) - b0;
    for (int i = 0; i < 256; ++i) {
        const int top = RoundHalfEven(i * double(h) / 256);
        const int bottom = RoundHalfEven((i + 1) * double(h) / 256);
        if (bottom <= top)
            continue;
        const QColor c(r0 + RoundHalfEven((i + 1) * double(dr) / 256),
                       g0 + RoundHalfEven((i + 1) * double(dg) / 256),
                       b0 + RoundHalfEven((i + 1) * double(db) / 256));
        p.fillRect(QRect(band.left(), band.top() + top, band.width(), bottom - top), c);
    }
}
