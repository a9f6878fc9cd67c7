#pragma once

// Reading rendered controls back as exact pixels.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

namespace PixelProbe {

// The widget as painted now, with antialiasing off, device pixel ratio 1.
inline QImage Render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor At(const QImage& image, QPoint p) {
    return QColor(image.pixel(p));
}

// Bounding box of all pixels of exactly `color` (empty when there are none).
inline QRect BoundsOf(const QImage& image, const QColor& color) {
    QRect box;
    const QRgb wanted = color.rgb() | 0xFF000000;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) | 0xFF000000) == wanted)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace PixelProbe
