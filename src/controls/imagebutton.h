#pragma once

#include <QPixmap>
#include <QRect>
#include <QWidget>

// The large picture button of the main window: no frame, no text, one of four pictures by state
// (normal, mouse over, pressed, disabled), and a click when the left button is released over
// the painted picture. It paints no background, so transparent picture pixels show the parent.
//
// Its `Enabled` flag is its own: a disabled image button still receives the mouse and still
// shows its hint (the QWidget stays enabled); only painting and the click look at the flag.
//
// A caption label can forward its mouse notifications (ForwardFrom, or the Mouse* methods by
// hand); the button treats them exactly like real ones. A forwarded press takes the mouse grab,
// so the user's release over the label reaches the button in the button's own coordinates.
class TImageButton : public QWidget {
    Q_OBJECT
public:
    explicit TImageButton(QWidget* owner = nullptr);
    ~TImageButton() override;

    // Each setter copies the picture (the caller keeps its own) and requests a repaint.
    const QPixmap& Image() const { return image_; }
    void SetImage(const QPixmap& picture);
    const QPixmap& ImageOver() const { return imageOver_; }
    void SetImageOver(const QPixmap& picture);
    const QPixmap& ImageDown() const { return imageDown_; }
    void SetImageDown(const QPixmap& picture);
    const QPixmap& ImageDisable() const { return imageDisable_; }
    void SetImageDisable(const QPixmap& picture);

    // Pressed picture drawn 2 pixels right and down.
    bool UseDown() const { return useDown_; }
    void SetUseDown(bool value);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    // Run-time state: where the last paint drew its picture (empty before the first paint).
    QRect ImageRect() const { return imageRect_; }
    bool Pressed() const { return pressed_; }
    bool Hover() const { return hover_; }

    // Notifications forwarded from another control (a caption label). Points are in the
    // button's own coordinates; a label forwards its presses and releases with (0, 0).
    void MouseEnter();
    void MouseLeave();
    void MouseDown(Qt::MouseButton button, const QPoint& point);
    void MouseMove(const QPoint& point);
    void MouseUp(Qt::MouseButton button, const QPoint& point);

    // Makes `label` forward its mouse enter, leave, left press and left release to this button.
    void ForwardFrom(QWidget* label);

    QSize sizeHint() const override;

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HandlePress();
    void HandleMove(const QPoint& point);
    void HandleRelease(Qt::MouseButton button, const QPoint& point);
    void EndGrab();
    bool InsideImage(const QPoint& point) const;

    QPixmap image_;
    QPixmap imageOver_;
    QPixmap imageDown_;
    QPixmap imageDisable_;
    bool useDown_ = true;
    bool enabled_ = true;
    bool hover_ = false;
    bool pressed_ = false;
    QRect imageRect_; // empty until the first paint
    QList<QObject*> labels_;
};
