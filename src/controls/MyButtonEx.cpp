#include "MyButtonEx.h"

#include "paintHelpers.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QShortcut>

namespace {

constexpr TColor DisabledCaptionColor = 12632256; // 192, 192, 192

// The window shape: the rectangle without the pixels that lie outside the border's rounded
// corners (a 5 x 5 corner ellipse cuts two pixels of the outer row and one of the next).
QRegion RoundedShape(int w, int h) {
    if (w < 5 || h < 5)
        return QRegion(0, 0, w, h);
    QRegion shape(2, 0, w - 4, h);
    shape += QRegion(1, 1, w - 2, h - 2);
    shape += QRegion(0, 2, w, h - 4);
    return shape;
}

// The one-pixel rounded border of the rectangle (0, 0) to (w, h): straight edges that stop two
// pixels short of each corner, joined by one diagonal pixel.
void DrawRoundedOutline(QImage& image, int w, int h, const QColor& color) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (w < 5 || h < 5) {
        p.setPen(color);
        p.drawRect(0, 0, w - 1, h - 1);
        return;
    }
    p.fillRect(2, 0, w - 4, 1, color);
    p.fillRect(2, h - 1, w - 4, 1, color);
    p.fillRect(0, 2, 1, h - 4, color);
    p.fillRect(w - 1, 2, 1, h - 4, color);
    const QRgb rgb = color.rgb();
    image.setPixel(1, 1, rgb);
    image.setPixel(w - 2, 1, rgb);
    image.setPixel(1, h - 2, rgb);
    image.setPixel(w - 2, h - 2, rgb);
}

// A dotted focus rectangle that inverts every other pixel of its outline, from (l, t) to (r, b)
// with the right and bottom edges exclusive.
void DrawFocusRectangle(QImage& image, int l, int t, int r, int b) {
    if (r <= l || b <= t)
        return;
    auto invert = [&](int x, int y) {
        if ((x + y) % 2 == 0)
            image.setPixel(x, y, image.pixel(x, y) ^ 0x00FFFFFF);
    };
    for (int x = l; x < r; ++x) {
        invert(x, t);
        if (b - 1 != t)
            invert(x, b - 1);
    }
    for (int y = t + 1; y < b - 1; ++y) {
        invert(l, y);
        if (r - 1 != l)
            invert(r - 1, y);
    }
}

} // namespace

TMyButtonEx::TMyButtonEx(QWidget* owner) : QWidget(owner) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(75, 25);
    accelerator_ = new QShortcut(this);
    accelerator_->setContext(Qt::WindowShortcut);
    connect(accelerator_, &QShortcut::activated, this, &TMyButtonEx::AcceleratorActivated);
}

void TMyButtonEx::SetCaption(const QString& value) {
    caption_ = value;
    accelerator_->setKey(QKeySequence::mnemonic(value));
    update();
}

void TMyButtonEx::SetColor(TColor& field, TColor value) {
    field = value;
    update();
}

void TMyButtonEx::SetDefaultColorFrom(TColor value) {
    SetColor(defaultColorFrom_, value);
}
void TMyButtonEx::SetDefaultColorTo(TColor value) {
    SetColor(defaultColorTo_, value);
}
void TMyButtonEx::SetClickColorFrom(TColor value) {
    SetColor(clickColorFrom_, value);
}
void TMyButtonEx::SetClickColorTo(TColor value) {
    SetColor(clickColorTo_, value);
}
void TMyButtonEx::SetOverColorFrom(TColor value) {
    SetColor(overColorFrom_, value);
}
void TMyButtonEx::SetOverColorTo(TColor value) {
    SetColor(overColorTo_, value);
}
void TMyButtonEx::SetBorderColor(TColor value) {
    SetColor(borderColor_, value);
}
void TMyButtonEx::SetFontColor(TColor value) {
    SetColor(fontColor_, value);
}

void TMyButtonEx::SetGlyph(const QPixmap& picture) {
    glyph_ = picture.copy();
    update();
}

void TMyButtonEx::SetDrawFocus(bool value) {
    drawFocus_ = value;
    update();
}

void TMyButtonEx::DoClick() {
    if (isVisible() && isEnabled())
        emit Click();
}

// The accelerator raises the click only; it leaves no pressed look behind on the face.
void TMyButtonEx::AcceleratorActivated() {
    if (isVisible() && isEnabled() && focusPolicy() != Qt::NoFocus)
        DoClick();
}

void TMyButtonEx::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    pressed_ = true;
    setFocus(Qt::MouseFocusReason);
    repaint();
}

void TMyButtonEx::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void TMyButtonEx::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_)
        return;
    if (!rect().contains(event->position().toPoint())) {
        // The rest of this drag is ignored: without the flag the release does nothing.
        pressed_ = false;
        repaint();
    }
}

void TMyButtonEx::mouseReleaseEvent(QMouseEvent*) {
    if (!pressed_)
        return;
    pressed_ = false;
    repaint();
    DoClick();
}

void TMyButtonEx::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    repaint();
}

void TMyButtonEx::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    repaint();
}

void TMyButtonEx::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        pressed_ = false;
        repaint();
    }
    QWidget::changeEvent(event);
}

void TMyButtonEx::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setMask(RoundedShape(width(), height()));
}

QImage TMyButtonEx::FadedGlyph() const {
    QImage faded = glyph_.toImage();
    const bool hasAlpha = faded.hasAlphaChannel();
    faded = faded.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < faded.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(faded.scanLine(y));
        for (int x = 0; x < faded.width(); ++x) {
            const int alpha = hasAlpha ? int(PaintHelpers::DivRoundHalfEven(qAlpha(line[x]) * 51, 256)) : 50;
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), alpha);
        }
    }
    return faded;
}

void TMyButtonEx::paintEvent(QPaintEvent*) {
    const int w = width(), h = height();
    if (w <= 0 || h <= 0)
        return;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);

    const QFontMetrics metrics(font());
    const int captionWidth = metrics.horizontalAdvance(caption_);
    const bool hasGlyph = !glyph_.isNull();
    const int x = hasGlyph ? (w - (glyph_.width() + captionWidth + 3)) / 2 : (w - captionWidth) / 2;

    const TColor from = pressed_ ? clickColorFrom_ : defaultColorFrom_;
    const TColor to = pressed_ ? clickColorTo_ : defaultColorTo_;
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        if (from == to) {
            image.fill(TColorToQColor(from));
        } else {
            // Rows 0 and 1 and the two right columns stay white: the face's inner highlight.
            for (int y = 2; y < h; ++y)
                p.fillRect(0, y, w - 2, 1, PaintHelpers::GradientColor(from, to, y, h));
        }
        if (hasGlyph) {
            const int gy = (h - glyph_.height()) / 2;
            const QPoint at = pressed_ ? QPoint(x + 2, gy + 2) : QPoint(x, gy);
            if (isEnabled())
                p.drawPixmap(at, glyph_);
            else
                p.drawImage(at, FadedGlyph());
        }
    }
    DrawRoundedOutline(image, w, h, TColorToQColor(borderColor_));
    {
        QPainter p(&image);
        p.setFont(font());
        p.setPen(TColorToQColor(isEnabled() ? fontColor_ : DisabledCaptionColor));
        int left = x;
        if (hasGlyph)
            left += glyph_.width() + (pressed_ ? 5 : 3);
        const QRect captionRect(left, pressed_ ? 2 : 0, captionWidth, h);
        p.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, caption_);
    }
    if (hasFocus() && isEnabled() && drawFocus_)
        DrawFocusRectangle(image, 4, 4, w - 4, h - 4);

    QPainter painter(this);
    painter.drawImage(0, 0, image);
}
