#include "FSProgressBar.h"

#include "paintHelpers.h"

#include <QPainter>
#include <algorithm>

using PaintHelpers::GradientColor;

bool SchemeColors(TColorScheme scheme, TProgressColors& c) {
    switch (scheme) {
    case csCustom:
        return false;
    case csDesert:
        c = {22144, 13036799, 16777215, 10215167, 31671};
        break;
    case csGrass:
        c = {1404727, 13366748, 16777215, 13235675, 2670946};
        break;
    case csSilver:
        c = {7039851, 14737632, 16777215, 15790320, 11382189};
        break;
    case csSky:
        c = {11753728, 16771797, 16777215, 16772829, 16756318};
        break;
    case csRose:
        c = {157, 14145535, 16777215, 15263999, 8421631};
        break;
    case csSun:
        c = {25700, 13565951, 16777215, 14680063, 376028};
        break;
    case csHackers:
        c = {0, 21760, 32768, 9563310, 43520};
        break;
    case csNight:
        c = {0, 8404992, 11031552, 16763799, 15496704};
        break;
    case csVelvet:
        c = {0, 89, 4605580, 10461170, 4737211};
        break;
    case csMetal:
        c = {0, 4605510, 7303023, 13553358, 7566195};
        break;
    case csViolet:
        c = {0, 8388672, 13238373, 16758747, 16724889};
        break;
    case csToxic:
        c = {0, 2905686, 4094843, 12377822, 4624014};
        break;
    default:
        return false;
    }
    return true;
}

TFSProgressBar::TFSProgressBar(QWidget* owner) : QWidget(owner) {
    SchemeColors(csDesert, colors_);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(200, 16);
}

void TFSProgressBar::SetColor(TColor& field, TColor value) {
    field = value;
    colorScheme_ = csCustom;
    update();
}

void TFSProgressBar::SetColorBorder(TColor value) {
    SetColor(colors_.Border, value);
}
void TFSProgressBar::SetBackColorFace(TColor value) {
    SetColor(colors_.BackFace, value);
}
void TFSProgressBar::SetBackColorGrad(TColor value) {
    SetColor(colors_.BackGrad, value);
}
void TFSProgressBar::SetForeColorFace(TColor value) {
    SetColor(colors_.ForeFace, value);
}
void TFSProgressBar::SetForeColorGrad(TColor value) {
    SetColor(colors_.ForeGrad, value);
}

void TFSProgressBar::SetColorScheme(TColorScheme value) {
    colorScheme_ = value;
    SchemeColors(value, colors_);
    update();
}

void TFSProgressBar::SetMin(int value) {
    if (value > max_)
        return;
    min_ = value;
    // Keeps Position >= Min when Min moves up past it.
    position_ = std::max(position_, min_);
    repaint();
}

void TFSProgressBar::SetMax(int value) {
    if (value < min_)
        return;
    max_ = value;
    repaint();
}

void TFSProgressBar::SetPosition(int value) {
    if (value < min_)
        return;
    position_ = value;
    repaint();
}

void TFSProgressBar::SetStep(int value) {
    step_ = value;
    repaint();
}

void TFSProgressBar::SetOrientation(TProgressBarOrientation value) {
    orientation_ = value;
    update();
}

qint64 TFSProgressBar::FillLength() const {
    const qint64 span = (orientation_ == pbHorizontal ? width() : height()) - 2;
    const qint64 range = qint64(max_) - min_;
    const qint64 done = qint64(position_) - min_;
    if (range == 0)
        return done > 0 ? span : 0;
    return PaintHelpers::DivRoundHalfEven(span * done, range);
}

void TFSProgressBar::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0)
        return;
    QPainter(this).drawImage(0, 0, Render());
}

namespace {

// Lines k = 0 .. n of a gradient from s to e; `line(k, colour)` draws one of them. A gradient
// without steps (n = 0) is its start colour alone.
template <typename DrawLine> void GradientLines(TColor s, TColor e, int n, DrawLine line) {
    if (n < 0)
        return;
    if (n == 0) {
        line(0, TColorToQColor(s));
        return;
    }
    for (int k = 0; k <= n; ++k)
        line(k, GradientColor(s, e, k, n));
}

QColor PixelAt(const QImage& image, int x, int y) {
    return image.valid(x, y) ? QColor(image.pixel(x, y)) : QColor(Qt::black);
}

} // namespace

QImage TFSProgressBar::Render() const {
    const int w = width(), h = height();
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(TColorToQColor(colors_.BackGrad));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Pixel spans are inclusive: span(a, b) covers a .. b; an empty span draws nothing.
    auto hspan = [&](int y, int x0, int x1, const QColor& c) {
        if (x1 >= x0)
            p.fillRect(x0, y, x1 - x0 + 1, 1, c);
    };
    auto vspan = [&](int x, int y0, int y1, const QColor& c) {
        if (y1 >= y0)
            p.fillRect(x, y0, 1, y1 - y0 + 1, c);
    };
    // A fill length past the frame paints as if it ended just outside the image.
    const qint64 fill = FillLength();

    if (orientation_ == pbHorizontal) {
        const int f = int(std::clamp<qint64>(fill, 0, w));
        GradientLines(colors_.BackFace, colors_.BackGrad, h - 2,
                      [&](int k, const QColor& c) { hspan(k, 1, w - 1, c); });
        if (f > 0)
            GradientLines(colors_.ForeFace, colors_.ForeGrad, h,
                          [&](int k, const QColor& c) { hspan(k, 0, f - 1, c); });
        vspan(1, 1, h - 1, PixelAt(image, 1, 1));
        vspan(f, 1, h - 1, PixelAt(image, 2, h - 2));
    } else {
        const int t = int(h - (std::clamp<qint64>(fill, -1, h) + 1));
        GradientLines(colors_.BackFace, colors_.BackGrad, w - 2,
                      [&](int k, const QColor& c) { vspan(k, 1, h - 1, c); });
        GradientLines(colors_.ForeFace, colors_.ForeGrad, w,
                      [&](int k, const QColor& c) { vspan(k, t, h - 1, c); });
        hspan(h - 2, 1, w - 1, PixelAt(image, 2, h - 2));
        hspan(t, 1, w - 1, PixelAt(image, w - 3, h - 3));
    }
    const QColor border = TColorToQColor(colors_.Border);
    hspan(0, 0, w - 1, border);
    hspan(h - 1, 0, w - 1, border);
    vspan(0, 0, h - 1, border);
    vspan(w - 1, 0, h - 1, border);
    return image;
}
