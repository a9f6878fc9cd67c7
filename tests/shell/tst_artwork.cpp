// The pictures compiled into the program: each one is there with the size and kind of picture that
// its control expects, and the drawing rules that keep the set usable hold.
#include <QImage>
#include <QTest>

namespace {

const QRgb windowColor = qRgb(129, 164, 209);
const QRgb listColor = qRgb(233, 234, 238);

QImage art(const QString& name) {
    return QImage(QStringLiteral(":/art/") + name);
}

QImage argb(const QString& name) {
    return art(name).convertToFormat(QImage::Format_ARGB32);
}

int channelDistance(QRgb a, QRgb b) {
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

const char* const buttonNames[] = {"add", "convert", "stop", "support"};
const char* const buttonStates[] = {"normal", "hover", "down", "disabled"};
const char* const badgeNames[] = {"status_waiting.png", "status_converting.png", "status_converted.png",
                                  "status_failed.png"};

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT
private slots:
    void pictureSizeAndAlpha_data();
    void pictureSizeAndAlpha();
    void captionBandOfLargeButtonsIsPlain_data();
    void captionBandOfLargeButtonsIsPlain();
    void buttonStatesDiffer_data();
    void buttonStatesDiffer();
    void disabledButtonsAreGrey_data();
    void disabledButtonsAreGrey();
    void badgesAreGreenWithWhiteSign_data();
    void badgesAreGreenWithWhiteSign();
    void badgesDifferFromEachOther();
    void watermarkIsFaintOnListBackground();
    void topLeftDecorationFadesIntoWindow();
    void bottomStripStretchesEvenly();
    void listTabOpensIntoTheList_data();
    void listTabOpensIntoTheList();
};

void TestArtwork::pictureSizeAndAlpha_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("alpha");
    QTest::addRow("splash") << "splash.jpg" << QSize(570, 330) << false;
    QTest::addRow("top-left decoration") << "topleft.png" << QSize(400, 200) << false;
    QTest::addRow("bottom strip") << "bottom.png" << QSize(6, 21) << false;
    QTest::addRow("corner mark") << "corner.png" << QSize(11, 11) << true;
    QTest::addRow("watermark") << "watermark.png" << QSize(256, 256) << false;
    QTest::addRow("file row") << "filerow.png" << QSize(32, 32) << true;
    QTest::addRow("folder button") << "folder.png" << QSize(16, 16) << true;
    for (const char* name : buttonNames)
        for (const char* state : buttonStates) {
            const QString file = QStringLiteral("%1_%2.png").arg(QLatin1String(name), QLatin1String(state));
            QTest::addRow("%s", qPrintable(file)) << file << QSize(112, 101) << true;
        }
    for (const char* state : {"normal", "hover", "down"}) {
        const QString file = QStringLiteral("list_%1.png").arg(QLatin1String(state));
        QTest::addRow("%s", qPrintable(file)) << file << QSize(66, 29) << true;
    }
    for (const char* badge : badgeNames)
        QTest::addRow("%s", badge) << QString::fromLatin1(badge) << QSize(16, 16) << true;
}

void TestArtwork::pictureSizeAndAlpha() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, alpha);
    const QImage image = art(name);
    QVERIFY2(!image.isNull(), qPrintable(name));
    QCOMPARE(image.size(), size);
    QCOMPARE(image.hasAlphaChannel(), alpha);
    // Pictures with alpha are blended over their parent: their top-left corner lets it show through.
    if (alpha)
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void TestArtwork::captionBandOfLargeButtonsIsPlain_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : buttonNames)
        for (const char* state : buttonStates) {
            const QString file = QStringLiteral("%1_%2.png").arg(QLatin1String(name), QLatin1String(state));
            QTest::addRow("%s", qPrintable(file)) << file;
        }
}

// The caption label covers rows 80 to about 98 of the picture; the icon must leave that band alone,
// so each of its rows is one colour across the width the captions use (transparent, or the tile).
void TestArtwork::captionBandOfLargeButtonsIsPlain() {
    QFETCH(QString, name);
    const QImage image = argb(name);
    for (int y = 78; y < 98; ++y) {
        const QRgb first = image.pixel(20, y);
        for (int x = 20; x < 92; ++x)
            QVERIFY2(image.pixel(x, y) == first,
                     qPrintable(QStringLiteral("%1 at %2,%3").arg(name).arg(x).arg(y)));
    }
    if (name.endsWith(QLatin1String("_normal.png")) || name.endsWith(QLatin1String("_disabled.png")))
        QCOMPARE(qAlpha(image.pixel(56, 88)), 0);
}

void TestArtwork::buttonStatesDiffer_data() {
    QTest::addColumn<QString>("button");
    for (const char* name : buttonNames)
        QTest::addRow("%s", name) << QString::fromLatin1(name);
}

void TestArtwork::buttonStatesDiffer() {
    QFETCH(QString, button);
    QList<QImage> states;
    for (const char* state : buttonStates)
        states << argb(QStringLiteral("%1_%2.png").arg(button, QLatin1String(state)));
    for (int a = 0; a < states.size(); ++a)
        for (int b = a + 1; b < states.size(); ++b)
            QVERIFY2(states[a] != states[b], qPrintable(QStringLiteral("%1: states %2 and %3 are the same")
                                                            .arg(button)
                                                            .arg(buttonStates[a], buttonStates[b])));
}

void TestArtwork::disabledButtonsAreGrey_data() {
    buttonStatesDiffer_data();
}

void TestArtwork::disabledButtonsAreGrey() {
    QFETCH(QString, button);
    const QImage image = argb(button + QStringLiteral("_disabled.png"));
    int visible = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            ++visible;
            QVERIFY2(std::abs(qRed(c) - qGreen(c)) <= 2 && std::abs(qGreen(c) - qBlue(c)) <= 2,
                     qPrintable(QStringLiteral("coloured pixel at %1,%2").arg(x).arg(y)));
        }
    QVERIFY(visible > 500);
}

void TestArtwork::badgesAreGreenWithWhiteSign_data() {
    QTest::addColumn<QString>("name");
    for (const char* badge : badgeNames)
        QTest::addRow("%s", badge) << QString::fromLatin1(badge);
}

void TestArtwork::badgesAreGreenWithWhiteSign() {
    QFETCH(QString, name);
    const QImage image = argb(name);
    int green = 0, white = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) < 255)
                continue;
            if (qGreen(c) > qRed(c) + 40 && qGreen(c) > qBlue(c) + 40)
                ++green;
            if (qRed(c) >= 240 && qGreen(c) >= 240 && qBlue(c) >= 240)
                ++white;
        }
    QVERIFY2(green >= 80, qPrintable(QString::number(green)));
    QVERIFY2(white >= 12, qPrintable(QString::number(white)));
    // Round: the corners are clear.
    for (const QPoint corner : {QPoint(0, 0), QPoint(15, 0), QPoint(0, 15), QPoint(15, 15)})
        QCOMPARE(qAlpha(image.pixel(corner)), 0);
}

void TestArtwork::badgesDifferFromEachOther() {
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            QVERIFY2(argb(QString::fromLatin1(badgeNames[a])) != argb(QString::fromLatin1(badgeNames[b])),
                     qPrintable(QStringLiteral("%1 = %2").arg(badgeNames[a], badgeNames[b])));
}

void TestArtwork::watermarkIsFaintOnListBackground() {
    const QImage image = art(QStringLiteral("watermark.png"));
    int background = 0, lighter = 0, darker = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int distance = channelDistance(c, listColor);
            QVERIFY2(distance <= 12, qPrintable(QStringLiteral("too dark or light at %1,%2").arg(x).arg(y)));
            if (distance <= 1)
                ++background;
            else if (qGray(c) > qGray(listColor))
                ++lighter;
            else
                ++darker;
        }
    QVERIFY2(background >= image.width() * image.height() * 8 / 10, qPrintable(QString::number(background)));
    QVERIFY(lighter > 200);
    QVERIFY(darker > 200);
}

// The decoration is drawn unscaled at the window's top-left corner; its right and bottom edges are
// the window colour, so no seam shows where it ends.
void TestArtwork::topLeftDecorationFadesIntoWindow() {
    const QImage image = art(QStringLiteral("topleft.png"));
    for (int y = 0; y < image.height(); ++y)
        QVERIFY2(channelDistance(image.pixel(image.width() - 1, y), windowColor) <= 1,
                 qPrintable(QString::number(y)));
    for (int x = 0; x < image.width(); ++x)
        QVERIFY2(channelDistance(image.pixel(x, image.height() - 1), windowColor) <= 1,
                 qPrintable(QString::number(x)));
    // ...and it does decorate: the corner is lit.
    QVERIFY(qGray(image.pixel(2, 2)) > qGray(windowColor) + 20);
}

// The strip is stretched over the full window width, so every column must be the same.
void TestArtwork::bottomStripStretchesEvenly() {
    const QImage image = art(QStringLiteral("bottom.png"));
    for (int x = 1; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            QCOMPARE(image.pixel(x, y), image.pixel(0, y));
}

void TestArtwork::listTabOpensIntoTheList_data() {
    QTest::addColumn<QString>("name");
    for (const char* state : {"normal", "hover", "down"})
        QTest::addRow("%s", state) << QStringLiteral("list_%1.png").arg(QLatin1String(state));
}

// Below the rule at row 25 the list control covers the tab; just above it the tab's face has reached
// the list colour, so the tab reads as the list's own header.
void TestArtwork::listTabOpensIntoTheList() {
    QFETCH(QString, name);
    const QImage image = argb(name);
    for (int x = 3; x < 63; ++x)
        QVERIFY2(channelDistance(image.pixel(x, 24), listColor) <= 3, qPrintable(QString::number(x)));
    QCOMPARE(qAlpha(image.pixel(0, 24)), 255); // the outline runs down both sides
    QCOMPARE(qAlpha(image.pixel(65, 24)), 255);
}

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
