#include "FlatEditUnit.h"

#include "platform/dialogSeam.h"
#include "platform/errors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <climits>

namespace {

constexpr int FrameWidth = 3;
constexpr TColor DisabledArrow = 8421504; // 128, 128, 128

int WholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

void FrameRect(QPainter& p, const QRect& r, const QColor& c) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
}

// Rows of a 5-pixel-wide filled triangle: base row from cx-2 to cx+2 at yb, apex at (cx, ya).
void Triangle(QPainter& p, int cx, int yb, int ya, const QColor& c) {
    const int dir = ya > yb ? 1 : -1;
    for (int k = 0; k < 3; ++k)
        p.fillRect(QRect(cx - 2 + k, yb + k * dir, 5 - 2 * k, 1), c);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TMyCustomFlatEdit

TMyCustomFlatEdit::TMyCustomFlatEdit(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setTextMargins(2, FrameWidth, 2, FrameWidth);
    resize(121, 19);
    // Hovering keeps this edit idle while another flat edit has the focus, so a focus change
    // elsewhere can change its look.
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (mouseInControl_)
            UpdateFrame();
    });
    if (parentColor_)
        CopyParentColor();
    AdjustHeight();
    UpdateFrame();
}

int TMyCustomFlatEdit::asInteger() const {
    if (valueType_ == evDefault || text().isEmpty())
        return 0;
    return WholeNumber(text());
}

void TMyCustomFlatEdit::SetColorFocused(TColor value) {
    colorFocused_ = value;
    UpdateFrame();
}

void TMyCustomFlatEdit::SetColorBorder(TColor value) {
    colorBorder_ = value;
    UpdateFrame();
}

void TMyCustomFlatEdit::SetColorFlat(TColor value) {
    colorFlat_ = value;
    parentColor_ = false;
    UpdateFrame();
}

void TMyCustomFlatEdit::SetParentColor(bool value) {
    parentColor_ = value;
    if (value) {
        CopyParentColor();
        UpdateFrame();
    }
}

bool TMyCustomFlatEdit::IsActive() const {
    if (hasFocus())
        return true;
    return mouseInControl_ && !qobject_cast<TMyCustomFlatEdit*>(QApplication::focusWidget());
}

void TMyCustomFlatEdit::CopyParentColor() {
    if (QWidget* p = parentWidget())
        colorFlat_ = QColorToTColor(p->palette().color(p->backgroundRole()));
}

int TMyCustomFlatEdit::TextHeight() const {
    const QFontMetrics fm(font());
    return fm.ascent() + fm.descent();
}

void TMyCustomFlatEdit::AdjustHeight() {
    resize(width(), TextHeight() + 2 * FrameWidth);
    updateGeometry();
}

QSize TMyCustomFlatEdit::sizeHint() const {
    return {121, TextHeight() + 2 * FrameWidth};
}

QSize TMyCustomFlatEdit::minimumSizeHint() const {
    return {2 * FrameWidth + 8, TextHeight() + 2 * FrameWidth};
}

void TMyCustomFlatEdit::UpdateFrame() {
    const QColor fill = TColorToQColor(FillColor());
    QPalette pal = palette();
    if (pal.color(QPalette::Active, QPalette::Base) != fill ||
        pal.color(QPalette::Disabled, QPalette::Base) != fill) {
        pal.setColor(QPalette::Base, fill);
        updatingPalette_ = true;
        setPalette(pal);
        updatingPalette_ = false;
    }
    update();
}

bool TMyCustomFlatEdit::event(QEvent* e) {
    if (e->type() == QEvent::ParentChange && parentColor_) {
        CopyParentColor();
        UpdateFrame();
    }
    return QLineEdit::event(e);
}

void TMyCustomFlatEdit::changeEvent(QEvent* e) {
    QLineEdit::changeEvent(e);
    switch (e->type()) {
    case QEvent::FontChange:
        AdjustHeight();
        break;
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
        if (!updatingPalette_ && parentColor_) {
            CopyParentColor();
            UpdateFrame();
        }
        break;
    case QEvent::EnabledChange:
        UpdateFrame();
        break;
    default:
        break;
    }
}

void TMyCustomFlatEdit::paintEvent(QPaintEvent* e) {
    QLineEdit::paintEvent(e);
    QPainter p(this);
    const QColor fill = TColorToQColor(FillColor());
    FrameRect(p, rect(), TColorToQColor(colorBorder_));
    FrameRect(p, rect().adjusted(1, 1, -1, -1), fill);
    FrameRect(p, rect().adjusted(2, 2, -2, -2), fill);
}

void TMyCustomFlatEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    UpdateFrame();
}

void TMyCustomFlatEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (valueType_ == evtFloat)
        setCursorPosition(0);
    UpdateFrame();
}

void TMyCustomFlatEdit::enterEvent(QEnterEvent* e) {
    QLineEdit::enterEvent(e);
    if (QApplication::activeWindow()) {
        mouseInControl_ = true;
        UpdateFrame();
    }
}

void TMyCustomFlatEdit::leaveEvent(QEvent* e) {
    QLineEdit::leaveEvent(e);
    mouseInControl_ = false;
    UpdateFrame();
}

void TMyCustomFlatEdit::StepUp() {
    if (valueType_ != evtInteger)
        return;
    const int v = text().isEmpty() ? 0 : WholeNumber(text());
    if ((maxValue_ == 0 || v < maxValue_) && v < INT_MAX)
        setText(QString::number(v + 1));
}

void TMyCustomFlatEdit::StepDown() {
    if (valueType_ != evtInteger)
        return;
    const int v = text().isEmpty() ? 0 : WholeNumber(text());
    if (v > minValue_)
        setText(QString::number(v - 1));
}

template <typename Step> void TMyCustomFlatEdit::GuardedStep(Step step) {
    try {
        step();
    } catch (const EQuelvidError& error) {
        Dialogs().ShowMessage(window(), error.message(), QGuiApplication::applicationDisplayName(),
                              TDialogSeam::miCritical);
    }
}

bool TMyCustomFlatEdit::HandleTypedCharacter(QKeyEvent* e) {
    const QString typed = e->text();
    if (typed.isEmpty())
        return false; // caret movement, function keys: not a typed character
    // Keyboard shortcuts (copy, paste, select all) and the keys a dialog acts on pass through.
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }

    const bool backspace = e->key() == Qt::Key_Backspace;
    const bool digit = typed.size() == 1 && typed.at(0) >= u'0' && typed.at(0) <= u'9';
    if (valueType_ != evtInteger || !(digit || backspace)) {
        e->accept();
        return true;
    }

    if (text() == QLatin1String("0"))
        setCursorPosition(0);
    const int length = int(text().length());
    const bool allSelected = length > 0 && selectedText().length() == length;
    if (backspace && (length <= 1 || allSelected)) {
        setText(QStringLiteral("0"));
        setCursorPosition(0);
        e->accept();
        return true;
    }
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    if (typed == QLatin1String("0") && length > 0 && caret == 0) {
        e->accept(); // no leading zero
        return true;
    }
    return false;
}

void TMyCustomFlatEdit::keyPressEvent(QKeyEvent* e) {
    if (valueType_ == evDefault) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    switch (e->key()) {
    case Qt::Key_Delete:
        e->accept();
        return;
    case Qt::Key_Up:
        GuardedStep([this] { StepUp(); });
        e->accept();
        return;
    case Qt::Key_Down:
        GuardedStep([this] { StepDown(); });
        e->accept();
        return;
    default:
        break;
    }
    if (HandleTypedCharacter(e))
        return;
    QLineEdit::keyPressEvent(e);
}

void TMyCustomFlatEdit::wheelEvent(QWheelEvent* e) {
    e->accept();
    if (valueType_ == evDefault)
        return;
    const int delta = e->angleDelta().y();
    if (delta > 0)
        GuardedStep([this] { StepUp(); });
    else if (delta < 0)
        GuardedStep([this] { StepDown(); });
}

// ---------------------------------------------------------------------------------------------
// TMyFlatComboBox

// Places the inner edit and the arrow button where the combo box paints them, and opens the list
// below the control rather than over it.
class TFlatComboStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* widget) const override {
        if (cc == CC_ComboBox) {
            const QRect r = opt->rect;
            switch (sc) {
            case SC_ComboBoxEditField:
                return QRect(r.left() + 3, r.top() + 3, r.width() - 19, r.height() - 6);
            case SC_ComboBoxArrow:
                return QRect(r.right() - 12, r.top(), 13, r.height());
            case SC_ComboBoxFrame:
            case SC_ComboBoxListBoxPopup:
                return r;
            default:
                break;
            }
        }
        return QProxyStyle::subControlRect(cc, opt, sc, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, opt, widget, ret);
    }
};

class TFlatComboDelegate : public QStyledItemDelegate {
public:
    explicit TFlatComboDelegate(TMyFlatComboBox* combo) : QStyledItemDelegate(combo), combo_(combo) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), combo_->ItemHeight()};
    }

private:
    TMyFlatComboBox* combo_;
};

TMyFlatComboBox::TMyFlatComboBox(QWidget* parent)
    : QComboBox(parent), color_(QColorToTColor(QApplication::palette().color(QPalette::Base))),
      comboStyle_(new TFlatComboStyle), delegate_(new TFlatComboDelegate(this)) {
    comboStyle_->setParent(this);
    setStyle(comboStyle_);
    setItemDelegate(delegate_);
    setMaxVisibleItems(8);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetStyle(csDropDown);
    ApplyListColors();
}

TMyFlatComboBox::~TMyFlatComboBox() = default;

void TMyFlatComboBox::SetColorArrow(TColor value) {
    colorArrow_ = value;
    update();
}

void TMyFlatComboBox::SetColorArrowBackground(TColor value) {
    colorArrowBackground_ = value;
    update();
}

void TMyFlatComboBox::SetColorBorder(TColor value) {
    colorBorder_ = value;
    update();
}

void TMyFlatComboBox::SetColor(TColor value) {
    color_ = value;
    ApplyListColors();
    update();
}

void TMyFlatComboBox::SetStyle(TComboBoxStyle value) {
    style_ = value;
    setEditable(value != csDropDownList);
    if (QLineEdit* edit = lineEdit()) {
        edit->setFrame(false);
        edit->setAutoFillBackground(true);
    }
    ApplyListColors();
    PlaceInnerEdit();
    update();
}

void TMyFlatComboBox::SetItemHeight(int value) {
    if (value <= 0)
        return;
    itemHeight_ = value;
    view()->doItemsLayout();
}

QStringList TMyFlatComboBox::Items() const {
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}

void TMyFlatComboBox::SetItems(const QStringList& items) {
    clear();
    addItems(items);
}

void TMyFlatComboBox::ApplyListColors() {
    const QColor c = TColorToQColor(color_);
    QPalette pal = view()->palette();
    pal.setColor(QPalette::Base, c);
    view()->setPalette(pal);
    if (QLineEdit* edit = lineEdit()) {
        QPalette ep = edit->palette();
        ep.setColor(QPalette::Base, c);
        ep.setColor(QPalette::Window, c);
        edit->setPalette(ep);
    }
}

void TMyFlatComboBox::PlaceInnerEdit() {
    if (QLineEdit* edit = lineEdit())
        edit->setGeometry(3, 3, width() - 19, height() - 6);
}

void TMyFlatComboBox::showPopup() {
    droppedDown_ = true;
    update();
    QComboBox::showPopup();
}

void TMyFlatComboBox::hidePopup() {
    QComboBox::hidePopup();
    droppedDown_ = false;
    update();
}

QSize TMyFlatComboBox::sizeHint() const {
    return {QComboBox::sizeHint().width(), fontMetrics().height() + 8};
}

QSize TMyFlatComboBox::minimumSizeHint() const {
    return {QComboBox::minimumSizeHint().width(), fontMetrics().height() + 8};
}

void TMyFlatComboBox::resizeEvent(QResizeEvent* e) {
    QComboBox::resizeEvent(e);
    PlaceInnerEdit();
}

void TMyFlatComboBox::changeEvent(QEvent* e) {
    QComboBox::changeEvent(e);
    switch (e->type()) {
    case QEvent::FontChange:
        itemHeight_ = 13;
        view()->doItemsLayout();
        updateGeometry();
        update();
        break;
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
        update();
        break;
    default:
        break;
    }
}

void TMyFlatComboBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width();
    const int h = height();
    const QColor color = TColorToQColor(color_);
    const QColor highlight = palette().color(QPalette::Active, QPalette::Highlight);

    p.fillRect(QRect(0, 0, w - 15, h), color);

    if (style_ == csDropDownList) {
        const bool highlighted = hasFocus() && !droppedDown_;
        if (highlighted)
            p.fillRect(QRect(QPoint(3, 3), QPoint(w - 17, h - 4)), highlight);
        const QRect textRect(QPoint(5, 3), QPoint(w - 19, h - 4));
        QColor textColor = palette().color(QPalette::Text);
        if (!isEnabled())
            textColor = palette().color(QPalette::Disabled, QPalette::Text);
        else if (highlighted)
            textColor = palette().color(QPalette::Active, QPalette::HighlightedText);
        // With nothing selected the placeholder text, if any, stands in for the entry's text.
        const bool placeholder = currentIndex() < 0 && !placeholderText().isEmpty();
        if (placeholder && !highlighted)
            textColor = palette().color(QPalette::PlaceholderText);
        p.setPen(textColor);
        p.setFont(font());
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(placeholder ? placeholderText() : currentText(), Qt::ElideRight,
                                            textRect.width()));
    }

    const QRect frame(0, 0, w - 12, h);
    FrameRect(p, frame, TColorToQColor(colorBorder_));
    FrameRect(p, frame.adjusted(1, 1, -1, -1), color);
    FrameRect(p, frame.adjusted(2, 2, -2, -2), color);
    if (style_ != csDropDownList && droppedDown_)
        FrameRect(p, QRect(QPoint(2, 2), QPoint(w - 15, h - 3)),
                  QApplication::palette().color(QPalette::Base));

    if (style_ == csSimple)
        return;
    const QRect arrow(w - 13, 0, 13, h);
    p.fillRect(arrow, TColorToQColor(colorArrowBackground_));
    FrameRect(p, arrow, TColorToQColor(colorBorder_));
    const int cx = arrow.left() + arrow.width() / 2;
    const int y0 = arrow.top() + arrow.height() / 2 - 1;
    const int yb = droppedDown_ ? y0 + 2 : y0;
    const int ya = droppedDown_ ? y0 : y0 + 2;
    if (isEnabled()) {
        Triangle(p, cx, yb, ya, TColorToQColor(colorArrow_));
    } else {
        Triangle(p, cx + 1, yb + 1, ya + 1, Qt::white);
        Triangle(p, cx, yb, ya, TColorToQColor(DisabledArrow));
    }
}
