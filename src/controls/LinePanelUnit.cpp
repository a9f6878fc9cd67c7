#include "LinePanelUnit.h"

#include <QEvent>
#include <QPainter>

TLinePanel::TLinePanel(QWidget* owner) : QWidget(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QWidget* source = owner ? owner : this;
    color_ = QColorToTColor(source->palette().color(source->backgroundRole()));
    resize(185, 41);
}

void TLinePanel::SetLineColor(TColor value) {
    lineColor_ = value;
    update();
}

void TLinePanel::SetLineBorders(TLineBorders value) {
    lineBorders_ = value;
    update();
}

void TLinePanel::SetColor(TColor value) {
    color_ = value;
    update();
}

void TLinePanel::SetCaption(const QString& value) {
    caption_ = value;
    update();
}

void TLinePanel::SetAlignment(TAlignment value) {
    alignment_ = value;
    update();
}

void TLinePanel::SetBorderWidth(int value) {
    borderWidth_ = value;
    setContentsMargins(value, value, value, value);
}

void TLinePanel::SetFontColor(TColor value) {
    fontColor_ = value;
    update();
}

void TLinePanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

void TLinePanel::paintEvent(QPaintEvent*) {
    const int w = width(), h = height();
    if (w <= 0 || h <= 0)
        return;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(TColorToQColor(color_));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor line = TColorToQColor(lineColor_);
    if (lineBorders_ & lbTop)
        p.fillRect(0, 0, w, 1, line);
    if (lineBorders_ & lbLeft)
        p.fillRect(0, 0, 1, h, line);
    if (lineBorders_ & lbRight)
        p.fillRect(w - 1, 0, 1, h, line);
    if (lineBorders_ & lbBottom)
        p.fillRect(0, h - 1, w, 1, line);

    if (!caption_.isEmpty()) {
        int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        flags |= alignment_ == taLeftJustify    ? Qt::AlignLeft
                 : alignment_ == taRightJustify ? Qt::AlignRight
                                                : Qt::AlignHCenter;
        p.setFont(font());
        const QRect client(0, 0, w, h);
        if (isEnabled()) {
            p.setPen(TColorToQColor(fontColor_));
            p.drawText(client, flags, caption_);
        } else {
            p.setPen(palette().color(QPalette::Active, QPalette::Light));
            p.drawText(client.translated(1, 1), flags, caption_);
            p.setPen(palette().color(QPalette::Active, QPalette::Dark));
            p.drawText(client, flags, caption_);
        }
    }
    p.end();
    QPainter(this).drawImage(0, 0, image);
}
