// quelvid-render-art: renders the artwork sources (SVG files under art/src) into the pictures under
// art/rendered that the program compiles in as ":/art/<name>".
//
//   quelvid-render-art <art/src> <art/rendered> [--preview <folder>]
//
// Most pictures are one SVG drawn at its natural size. The button states are composed from shared
// layers (a state panel, the icon, a soft shadow) with a tone applied to the icon, so that the four
// states of every button stay consistent with each other. --preview also writes enlarged copies and
// contact sheets on the window's colours, for looking at the set as a whole.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

enum class Tone { Plain, Lit, Pressed, Disabled };
enum class Kind { Png, PngOpaque, Jpeg };

// One layer: the SVG files drawn over each other, then toned, shadowed and placed as one.
struct Layer {
    QStringList svgs;
    Tone tone = Tone::Plain;
    QPoint offset;
    bool shadow = false;
};

struct Picture {
    QString file;
    QSize size;
    Kind kind = Kind::Png;
    QColor background; // opaque pictures are drawn over this colour
    std::vector<Layer> layers;
};

Layer layer(QStringList svgs, Tone tone = Tone::Plain, QPoint offset = {}, bool shadow = false) {
    return Layer{std::move(svgs), tone, offset, shadow};
}

const QColor windowColor(129, 164, 209);
const QColor listColor(233, 234, 238);
const QColor panelColor(191, 219, 255);
const QColor captionColor(21, 66, 139);

QString srcDir;

QImage renderSvg(const QString& name, QSize size) {
    QSvgRenderer renderer(srcDir + QLatin1Char('/') + name);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
        std::exit(1);
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

int clampByte(double v) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

QImage applyTone(const QImage& source, Tone tone) {
    if (tone == Tone::Plain)
        return source;
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            double r = qRed(c), g = qGreen(c), b = qBlue(c), a = qAlpha(c);
            switch (tone) {
            case Tone::Lit:
                r += (255 - r) * 0.16;
                g += (255 - g) * 0.16;
                b += (255 - b) * 0.16;
                break;
            case Tone::Pressed:
                r *= 0.86;
                g *= 0.86;
                b *= 0.86;
                break;
            case Tone::Disabled: {
                // Flat grey with little contrast, so a disabled button reads as unavailable at a glance.
                const double lum = 0.299 * r + 0.587 * g + 0.114 * b;
                r = g = b = 168 + (lum - 150) * 0.45;
                a *= 0.62;
                break;
            }
            case Tone::Plain:
                break;
            }
            line[x] = qRgba(clampByte(r), clampByte(g), clampByte(b), clampByte(a));
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A soft shadow below the icon: its alpha blurred by three box passes, tinted dark navy so it sits
// naturally on the blue window.
QImage shadowOf(const QImage& source, int radius, double opacity) {
    const int w = source.width(), h = source.height();
    std::vector<double> alpha(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            alpha[static_cast<size_t>(y * w + x)] = qAlpha(source.pixel(x, y)) / 255.0;
    std::vector<double> tmp(alpha.size());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += alpha[static_cast<size_t>(y * w + std::clamp(x + k, 0, w - 1))];
                tmp[static_cast<size_t>(y * w + x)] = sum / (2 * radius + 1);
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += tmp[static_cast<size_t>(std::clamp(y + k, 0, h - 1) * w + x)];
                alpha[static_cast<size_t>(y * w + x)] = sum / (2 * radius + 1);
            }
    }
    QImage shadow(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            shadow.setPixel(
                x, y, qRgba(12, 34, 78, clampByte(alpha[static_cast<size_t>(y * w + x)] * opacity * 255)));
    return shadow.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage compose(const Picture& picture) {
    QImage image(picture.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(picture.kind == Kind::Png ? QColor(Qt::transparent) : picture.background);
    QPainter painter(&image);
    for (const Layer& layer : picture.layers) {
        QImage flat(picture.size, QImage::Format_ARGB32_Premultiplied);
        flat.fill(Qt::transparent);
        {
            QPainter layerPainter(&flat);
            for (const QString& svg : layer.svgs)
                layerPainter.drawImage(0, 0, renderSvg(svg, picture.size));
        }
        const QImage drawn = applyTone(flat, layer.tone);
        if (layer.shadow) {
            const bool pressed = layer.tone == Tone::Pressed;
            painter.drawImage(layer.offset + QPoint(0, pressed ? 1 : 2),
                              shadowOf(drawn, pressed ? 1 : 2, pressed ? 0.35 : 0.45));
        }
        painter.drawImage(layer.offset, drawn);
    }
    painter.end();
    return image;
}

std::vector<Picture> catalogue() {
    std::vector<Picture> all;
    auto add = [&](const QString& file, QSize size, Kind kind, QColor background, std::vector<Layer> layers) {
        all.push_back(Picture{file, size, kind, background, std::move(layers)});
    };
    auto single = [&](const char* file, int w, int h, Kind kind, const char* svg, QColor background = {}) {
        add(QString::fromLatin1(file), QSize(w, h), kind, background, {layer({QString::fromLatin1(svg)})});
    };
    single("splash.jpg", 570, 330, Kind::Jpeg, "splash.svg", QColor(16, 42, 92));
    single("topleft.png", 400, 200, Kind::PngOpaque, "topleft.svg", windowColor);
    single("bottom.png", 6, 21, Kind::PngOpaque, "bottom.svg", windowColor);
    single("corner.png", 11, 11, Kind::Png, "corner.svg");
    single("watermark.png", 256, 256, Kind::PngOpaque, "watermark.svg", listColor);
    single("filerow.png", 32, 32, Kind::Png, "filerow.svg");
    single("folder.png", 16, 16, Kind::Png, "folder.svg");

    const std::pair<const char*, QStringList> buttons[] = {
        {"add", {QStringLiteral("icon_film.svg"), QStringLiteral("badge_plus.svg")}},
        {"convert", {QStringLiteral("icon_film.svg"), QStringLiteral("badge_convert.svg")}},
        {"stop", {QStringLiteral("icon_stop.svg")}},
        {"support", {QStringLiteral("icon_support.svg")}},
    };
    const QSize buttonSize(112, 101);
    for (const auto& [name, icon] : buttons) {
        const QString base = QString::fromLatin1(name);
        add(base + QStringLiteral("_normal.png"), buttonSize, Kind::Png, {},
            {layer(icon, Tone::Plain, {}, true)});
        add(base + QStringLiteral("_hover.png"), buttonSize, Kind::Png, {},
            {layer({QStringLiteral("panel_hover.svg")}), layer(icon, Tone::Lit, {}, true)});
        add(base + QStringLiteral("_down.png"), buttonSize, Kind::Png, {},
            {layer({QStringLiteral("panel_down.svg")}), layer(icon, Tone::Pressed, QPoint(1, 1), true)});
        add(base + QStringLiteral("_disabled.png"), buttonSize, Kind::Png, {}, {layer(icon, Tone::Disabled)});
    }

    for (const char* state : {"normal", "hover", "down"}) {
        const QString s = QString::fromLatin1(state);
        const QPoint glyphOffset = s == QLatin1String("down") ? QPoint(0, 1) : QPoint();
        add(QStringLiteral("list_%1.png").arg(s), QSize(66, 29), Kind::Png, {},
            {layer({QStringLiteral("tab_%1.svg").arg(s)}),
             layer({QStringLiteral("tab_glyph.svg")}, Tone::Plain, glyphOffset)});
    }

    for (const char* status : {"waiting", "converting", "converted", "failed"}) {
        const QString s = QString::fromLatin1(status);
        add(QStringLiteral("status_%1.png").arg(s), QSize(16, 16), Kind::Png, {},
            {layer({QStringLiteral("badge.svg"), QStringLiteral("sign_%1.svg").arg(s)})});
    }
    return all;
}

bool save(const QImage& image, const QString& path, Kind kind) {
    switch (kind) {
    case Kind::Jpeg:
        return image.convertToFormat(QImage::Format_RGB888).save(path, "JPEG", 90);
    case Kind::PngOpaque:
        return image.convertToFormat(QImage::Format_RGB888).save(path, "PNG");
    case Kind::Png:
        return image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG");
    }
    return false;
}

QImage enlarged(const QImage& image, int factor, QColor background) {
    QImage out(image.size() * factor, QImage::Format_ARGB32_Premultiplied);
    out.fill(background);
    QPainter painter(&out);
    painter.drawImage(QRect(QPoint(0, 0), out.size()), image);
    return out;
}

void drawCaption(QPainter& painter, QPoint at, const QString& text, QColor color, int pixelSize) {
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRect(at, QSize(200, 30)), Qt::AlignLeft | Qt::AlignTop, text);
}

// Contact sheets: the top of the main window as it will look, every button state with its caption,
// and the small pictures enlarged on the colours they are shown on.
void writePreviews(const QString& outDir, const QString& previewDir) {
    QDir().mkpath(previewDir);
    auto load = [&](const char* name) { return QImage(outDir + QLatin1Char('/') + QLatin1String(name)); };
    const char* names[] = {"add", "convert", "stop", "support"};
    const char* captions[] = {"Add", "Convert", "Stop", "Support"};
    const int captionX[] = {44, 32, 43, 32};

    QImage window(861, 529, QImage::Format_ARGB32_Premultiplied);
    window.fill(windowColor);
    {
        QPainter p(&window);
        p.drawImage(0, 0, load("topleft.png"));
        const char* states[] = {"normal", "hover", "down", "disabled"};
        for (int i = 0; i < 4; ++i) {
            const QString file =
                QStringLiteral("%1_%2.png").arg(QLatin1String(names[i]), QLatin1String(states[i]));
            p.drawImage(16 + 128 * i, 16, QImage(outDir + QLatin1Char('/') + file));
            drawCaption(p, QPoint(16 + 128 * i + captionX[i], 96), QLatin1String(captions[i]),
                        i == 3 ? QColor(141, 141, 141) : captionColor, 13);
        }
        p.drawImage(QRect(0, 508, 861, 21), load("bottom.png"));
        p.drawImage(849, 517, load("corner.png"));
        p.fillRect(16, 136, 828, 289, panelColor);
        p.drawImage(24, 150, load("list_normal.png"));
        p.drawImage(96, 150, load("list_hover.png"));
        p.drawImage(168, 150, load("list_down.png"));
        p.fillRect(16, 175, 828, 1, QColor(141, 178, 227));
        p.fillRect(16, 176, 828, 249, listColor);
        p.drawImage(16 + 828 - 256, 176, load("watermark.png"), 0, 256 - 249);
        for (int i = 0; i < 3; ++i)
            drawCaption(p, QPoint(24 + 72 * i + 24, 157), QStringLiteral("List"), captionColor, 11);
        const char* badges[] = {"status_waiting.png", "status_converting.png", "status_converted.png",
                                "status_failed.png"};
        for (int i = 0; i < 4; ++i)
            p.drawImage(26, 186 + 25 * i, load(badges[i]));
        p.fillRect(16, 432, 828, 17, QColor(255, 236, 198));
    }
    window.save(previewDir + QStringLiteral("/window.png"));
    enlarged(window.copy(0, 0, 530, 200), 2, windowColor)
        .save(previewDir + QStringLiteral("/window_top_2x.png"));

    QImage buttons(4 * 128 + 16, 4 * 117 + 16, QImage::Format_ARGB32_Premultiplied);
    buttons.fill(windowColor);
    {
        QPainter p(&buttons);
        const char* states[] = {"normal", "hover", "down", "disabled"};
        for (int s = 0; s < 4; ++s)
            for (int i = 0; i < 4; ++i) {
                const QString file =
                    QStringLiteral("%1_%2.png").arg(QLatin1String(names[i]), QLatin1String(states[s]));
                const QPoint at(16 + 128 * i, 16 + 117 * s);
                p.drawImage(at, QImage(outDir + QLatin1Char('/') + file));
                drawCaption(p, at + QPoint(captionX[i], 80), QLatin1String(captions[i]),
                            s == 3 ? QColor(141, 141, 141) : captionColor, 13);
            }
    }
    enlarged(buttons, 2, windowColor).save(previewDir + QStringLiteral("/buttons_2x.png"));

    QImage small(4 * 20 + 20 + 36 + 20 + 20, 40, QImage::Format_ARGB32_Premultiplied);
    small.fill(listColor);
    {
        QPainter p(&small);
        const char* badges[] = {"status_waiting.png", "status_converting.png", "status_converted.png",
                                "status_failed.png"};
        for (int i = 0; i < 4; ++i)
            p.drawImage(4 + 20 * i, 4, load(badges[i]));
        p.fillRect(0, 22, 84, 18, windowColor);
        p.drawImage(4, 23, load("folder.png"));
        p.drawImage(24, 23, load("corner.png"));
        p.drawImage(40, 19, load("bottom.png"));
        p.drawImage(86, 4, load("filerow.png"));
    }
    enlarged(small, 8, listColor).save(previewDir + QStringLiteral("/small_8x.png"));

    QImage tabs(3 * 72 + 8, 40, QImage::Format_ARGB32_Premultiplied);
    tabs.fill(panelColor);
    {
        QPainter p(&tabs);
        const char* states[] = {"list_normal.png", "list_hover.png", "list_down.png"};
        for (int i = 0; i < 3; ++i) {
            p.drawImage(8 + 72 * i, 4, load(states[i]));
            drawCaption(p, QPoint(8 + 72 * i + 24, 11), QStringLiteral("List"), captionColor, 11);
        }
        p.fillRect(0, 29, tabs.width(), 1, QColor(141, 178, 227));
        p.fillRect(0, 30, tabs.width(), 10, listColor);
    }
    enlarged(tabs, 4, panelColor).save(previewDir + QStringLiteral("/tabs_4x.png"));

    load("splash.jpg").save(previewDir + QStringLiteral("/splash.png"));

    QImage mark = load("watermark.png");
    // Stretch the faint tones so the drawing can be judged.
    for (int y = 0; y < mark.height(); ++y)
        for (int x = 0; x < mark.width(); ++x) {
            const QRgb c = mark.pixel(x, y);
            auto s = [](int v, int base) { return std::clamp(128 + (v - base) * 12, 0, 255); };
            mark.setPixel(x, y, qRgb(s(qRed(c), 233), s(qGreen(c), 234), s(qBlue(c), 238)));
        }
    mark.save(previewDir + QStringLiteral("/watermark_contrast.png"));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: quelvid-render-art <art/src> <art/rendered> [--preview <folder>]\n");
        return 2;
    }
    srcDir = args.at(1);
    const QString outDir = args.at(2);
    QDir().mkpath(outDir);
    for (const Picture& picture : catalogue()) {
        const QString path = outDir + QLatin1Char('/') + picture.file;
        if (!save(compose(picture), path, picture.kind)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    if (args.size() >= 5 && args.at(3) == QLatin1String("--preview"))
        writePreviews(outDir, args.at(4));
    return 0;
}
