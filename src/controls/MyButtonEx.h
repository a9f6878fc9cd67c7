#pragma once

#include "platform/colors.h"

#include <QPixmap>
#include <QWidget>

class QShortcut;

// The program's text push button: a rounded, focusable button painted with a vertical colour
// gradient, a thin border and a centred caption, optionally with a small glyph left of the
// caption. A left press swaps to the click gradient and moves the caption 2 pixels down; the
// release raises Click. Alt plus the caption's "&" letter raises Click without the mouse.
//
// Enabled is the toolkit's own (QWidget::setEnabled): a disabled button gets no mouse input,
// shows its caption in grey over the normal face and a faded glyph.
class TMyButtonEx : public QWidget {
    Q_OBJECT
public:
    explicit TMyButtonEx(QWidget* owner = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);

    TColor DefaultColorFrom() const { return defaultColorFrom_; }
    void SetDefaultColorFrom(TColor value);
    TColor DefaultColorTo() const { return defaultColorTo_; }
    void SetDefaultColorTo(TColor value);
    TColor ClickColorFrom() const { return clickColorFrom_; }
    void SetClickColorFrom(TColor value);
    TColor ClickColorTo() const { return clickColorTo_; }
    void SetClickColorTo(TColor value);
    // Kept for the form's settings; no paint rule uses them.
    TColor OverColorFrom() const { return overColorFrom_; }
    void SetOverColorFrom(TColor value);
    TColor OverColorTo() const { return overColorTo_; }
    void SetOverColorTo(TColor value);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value);
    // Caption colour while enabled (the font's colour).
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);

    // Copied on assignment; the caller keeps its own picture.
    const QPixmap& Glyph() const { return glyph_; }
    void SetGlyph(const QPixmap& picture);

    bool DrawFocus() const { return drawFocus_; }
    void SetDrawFocus(bool value);
    bool Default() const { return default_; } // stored only
    void SetDefault(bool value) { default_ = value; }

    bool Pressed() const { return pressed_; }

    QSize sizeHint() const override { return QSize(75, 25); }

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetColor(TColor& field, TColor value);
    void DoClick();
    void AcceleratorActivated();
    QImage FadedGlyph() const;

    QString caption_;
    TColor defaultColorFrom_ = 15658734; // 238, 238, 238
    TColor defaultColorTo_ = 15000804;   // 228, 228, 228
    TColor clickColorFrom_ = 15000804;
    TColor clickColorTo_ = 15658734;
    TColor overColorFrom_ = 0;
    TColor overColorTo_ = 0;
    TColor borderColor_ = 12961221; // 197, 197, 197
    TColor fontColor_ = Colors::clBlack;
    QPixmap glyph_;
    bool drawFocus_ = false;
    bool default_ = false;
    bool pressed_ = false;
    QShortcut* accelerator_ = nullptr;
};
