#include "imagebutton.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

TImageButton::TImageButton(QWidget* owner) : QWidget(owner) {
    // Moves arrive also without a held button, as they do for a windowless control.
    setMouseTracking(true);
}

TImageButton::~TImageButton() {
    for (QObject* label : labels_)
        label->removeEventFilter(this);
    EndGrab();
}

void TImageButton::SetImage(const QPixmap& picture) {
    image_ = picture.copy();
    update();
}

void TImageButton::SetImageOver(const QPixmap& picture) {
    imageOver_ = picture.copy();
    update();
}

void TImageButton::SetImageDown(const QPixmap& picture) {
    imageDown_ = picture.copy();
    update();
}

void TImageButton::SetImageDisable(const QPixmap& picture) {
    imageDisable_ = picture.copy();
    update();
}

void TImageButton::SetUseDown(bool value) {
    useDown_ = value;
    update();
}

void TImageButton::SetEnabled(bool value) {
    enabled_ = value;
    update();
}

QSize TImageButton::sizeHint() const {
    return image_.isNull() ? QWidget::sizeHint() : image_.size();
}

void TImageButton::paintEvent(QPaintEvent*) {
    const QPixmap* source = &image_;
    QPoint origin(0, 0);
    if (!enabled_) {
        source = &imageDisable_;
    } else if (pressed_) {
        source = imageDown_.isNull() ? &imageOver_ : &imageDown_;
        if (useDown_)
            origin = QPoint(2, 2);
    } else if (hover_ && !imageOver_.isNull()) {
        source = &imageOver_;
    }
    imageRect_ = QRect(origin, source->size());
    if (source->isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(origin, *source);
}

bool TImageButton::InsideImage(const QPoint& p) const {
    // Right and bottom edges are exclusive; an empty rectangle contains nothing.
    const int left = imageRect_.x(), top = imageRect_.y();
    return p.x() >= left && p.x() < left + imageRect_.width() && p.y() >= top &&
           p.y() < top + imageRect_.height();
}

void TImageButton::MouseEnter() {
    hover_ = true;
    update();
}

void TImageButton::MouseLeave() {
    hover_ = false;
    update();
}

void TImageButton::HandlePress() {
    pressed_ = true;
    update();
}

void TImageButton::HandleMove(const QPoint& point) {
    if (!InsideImage(point)) {
        pressed_ = false;
        update();
    }
}

void TImageButton::HandleRelease(Qt::MouseButton button, const QPoint& point) {
    pressed_ = false;
    update();
    if (InsideImage(point) && enabled_ && button == Qt::LeftButton)
        emit Click();
}

void TImageButton::EndGrab() {
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

void TImageButton::MouseDown(Qt::MouseButton, const QPoint&) {
    HandlePress();
    // Like a real press, a forwarded one captures the mouse so the release comes here.
    if (isVisible())
        grabMouse();
}

void TImageButton::MouseMove(const QPoint& point) {
    HandleMove(point);
}

void TImageButton::MouseUp(Qt::MouseButton button, const QPoint& point) {
    EndGrab();
    HandleRelease(button, point);
}

void TImageButton::enterEvent(QEnterEvent*) {
    MouseEnter();
}

void TImageButton::leaveEvent(QEvent*) {
    MouseLeave();
}

void TImageButton::mousePressEvent(QMouseEvent*) {
    HandlePress();
}

// The second press of a double click is a press like any other.
void TImageButton::mouseDoubleClickEvent(QMouseEvent*) {
    HandlePress();
}

void TImageButton::mouseMoveEvent(QMouseEvent* event) {
    HandleMove(event->position().toPoint());
}

void TImageButton::mouseReleaseEvent(QMouseEvent* event) {
    // Once every button is up, a grab taken by a forwarded press has done its job.
    if (event->buttons() == Qt::NoButton)
        EndGrab();
    HandleRelease(event->button(), event->position().toPoint());
}

void TImageButton::ForwardFrom(QWidget* label) {
    if (!label || labels_.contains(label))
        return;
    labels_.append(label);
    label->installEventFilter(this);
    connect(label, &QObject::destroyed, this, [this](QObject* gone) { labels_.removeAll(gone); });
}

bool TImageButton::eventFilter(QObject* watched, QEvent* event) {
    if (!labels_.contains(watched))
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Enter:
        MouseEnter();
        break;
    case QEvent::Leave:
        MouseLeave();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            MouseDown(Qt::LeftButton, QPoint(0, 0));
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            MouseUp(Qt::LeftButton, QPoint(0, 0));
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
