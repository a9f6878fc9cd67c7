#include "controls/menuDraw.h"

#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QTest>

namespace {

const QColor EntryBackground(250, 250, 250);
const QColor Line(197, 197, 197);
const QColor SeparatorBackground(221, 231, 238);
const QColor ImageColumn(233, 238, 238);

QFont Font(bool bold) {
    QFont f("Trebuchet MS");
    f.setPointSize(9);
    f.setBold(bold);
    return f;
}

int TextWidth(const QFont& font, const QString& text) {
    return QFontMetrics(font).boundingRect(QRect(), Qt::TextShowMnemonic, text).width();
}

// The item list's menu: Delete, Clear, a separator, Properties.
struct ProgramMenu {
    QMenu menu;
    QAction* del;
    QAction* clear;
    QAction* separator;
    QAction* properties;
    ProgramMenu() {
        del = menu.addAction("&Delete");
        del->setStatusTip("delete selected item");
        clear = menu.addAction("&Clear");
        clear->setStatusTip("clear all items");
        separator = menu.addSeparator();
        properties = menu.addAction("&Properties");
        properties->setStatusTip("show properties");
    }
    void Open() {
        menu.popup(QPoint(50, 50));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
    }
};

// The colours of a band of `height` rows as the gradient fill gives them.
QList<QColor> Band(int height, TColor from, TColor to) {
    QImage img(1, height, QImage::Format_RGB32);
    QPainter p(&img);
    TMenuDraw::GradientFill(p, QRect(0, 0, 1, height), from, to);
    p.end();
    QList<QColor> rows;
    for (int y = 0; y < height; ++y)
        rows << img.pixelColor(0, y);
    return rows;
}

// Compares column x of rows [first, last] of `img` with `band` rows starting at bandRow0 = img row.
void CompareBand(const QImage& img, int x, int bandTop, const QList<QColor>& band, int first, int last) {
    for (int y = first; y <= last; ++y)
        QVERIFY2(img.pixelColor(x, y) == band.at(y - bandTop),
                 qPrintable(QString("row %1: %2 instead of %3")
                                .arg(y - bandTop)
                                .arg(img.pixelColor(x, y).name(), band.at(y - bandTop).name())));
}

bool HasColourIn(const QImage& img, const QRect& r, const QColor& c) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixelColor(x, y) == c)
                return true;
    return false;
}

} // namespace

class TestMenuDraw : public QObject {
    Q_OBJECT
private slots:
    void gradientStripes_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<uint>("from");
        QTest::addColumn<uint>("to");
        QTest::addColumn<int>("row");
        QTest::addColumn<QColor>("expected");
        // 256 rows: one stripe per row; the top stripe is one step from the start colour.
        QTest::addRow("black to white, first stripe") << 256 << 0u << 16777215u << 0 << QColor(1, 1, 1);
        QTest::addRow("black to white, last stripe")
            << 256 << 0u << 16777215u << 255 << QColor(255, 255, 255);
        QTest::addRow("upper band, first stripe")
            << 256 << 15722724u << 14599608u << 0 << QColor(228, 232, 239);
        // Stripe 95: 96 x -44 / 256 = -16.5 goes to -16 (halves to even).
        QTest::addRow("upper band, stripe 95")
            << 256 << 15722724u << 14599608u << 95 << QColor(212, 219, 233);
        QTest::addRow("upper band, last stripe")
            << 256 << 15722724u << 14599608u << 255 << QColor(184, 197, 222);
        QTest::addRow("lower band, last stripe")
            << 256 << 14203563u << 15722724u << 255 << QColor(228, 232, 239);
        // 10 rows: most stripes are empty; row 0 is stripe 12, row 1 stripe 38, and row 2 starts
        // with stripe 64 because rnd(64 x 10 / 256 = 2.5) is 2.
        QTest::addRow("10 rows, row 0") << 10 << 0u << 16777215u << 0 << QColor(13, 13, 13);
        QTest::addRow("10 rows, row 1") << 10 << 0u << 16777215u << 1 << QColor(39, 39, 39);
        QTest::addRow("10 rows, row 2") << 10 << 0u << 16777215u << 2 << QColor(65, 65, 65);
        // The last stripes are empty: row 9 is stripe 243 (rows 9 to 10), rnd(244 x 255 / 256) = 243.
        QTest::addRow("10 rows, last row") << 10 << 0u << 16777215u << 9 << QColor(243, 243, 243);
        QTest::addRow("512 rows, two rows per stripe") << 512 << 0u << 16777215u << 1 << QColor(1, 1, 1);
    }
    void gradientStripes() {
        QFETCH(int, height);
        QFETCH(uint, from);
        QFETCH(uint, to);
        QFETCH(int, row);
        QFETCH(QColor, expected);
        QImage img(30, height + 4, QImage::Format_RGB32);
        img.fill(Qt::magenta);
        QPainter p(&img);
        TMenuDraw::GradientFill(p, QRect(2, 2, 20, height), from, to);
        p.end();
        QCOMPARE(img.pixelColor(2, 2 + row), expected);
        QCOMPARE(img.pixelColor(21, 2 + row), expected);
        QCOMPARE(img.pixelColor(22, 2 + row), QColor(Qt::magenta));
        QCOMPARE(img.pixelColor(2, 1), QColor(Qt::magenta));
        QCOMPARE(img.pixelColor(2, 2 + height), QColor(Qt::magenta));
    }

    void entrySizesFollowTheMeasureRule() {
        ProgramMenu m;
        TMenuDraw painter;
        painter.Attach(&m.menu);
        QAction* noHint = m.menu.actions().at(0);
        noHint->setStatusTip(QString()); // Delete without a hint, for the empty-hint rule
        m.Open();
        const QFontMetrics bold(Font(true));
        const QFontMetrics regular(Font(false));
        QCOMPARE(m.menu.actionGeometry(m.clear).height(), bold.height() + regular.height() + 8);
        QCOMPARE(m.menu.actionGeometry(m.properties).height(), bold.height() + regular.height() + 8);
        QCOMPARE(m.menu.actionGeometry(m.del).height(), bold.height() + 8);
        QCOMPARE(m.menu.actionGeometry(m.separator).height(), bold.height() + 8);

        int widest = 0;
        for (const auto& [caption, hint] : {std::pair<QString, QString>{"&Delete", ""},
                                            {"&Clear", "clear all items"},
                                            {"-", ""},
                                            {"&Properties", "show properties"}})
            widest = std::max({widest, TextWidth(Font(true), caption), TextWidth(Font(false), hint)});
        QCOMPARE(m.menu.actionGeometry(m.clear).width(), widest + 8);
    }

    void entriesAddedAfterAttachKeepTheStandardLook() {
        ProgramMenu m;
        TMenuDraw painter;
        painter.Attach(&m.menu);
        QAction* later = m.menu.addAction("&Later");
        later->setStatusTip("a long hint that would widen the entry a lot");
        m.Open();
        const QFontMetrics bold(Font(true));
        const QFontMetrics regular(Font(false));
        QVERIFY(m.menu.actionGeometry(later).height() < bold.height() + regular.height() + 8);
    }

    void highlightedEntryHasTwoGradedBandsInARoundedOutline() {
        ProgramMenu m;
        TMenuDraw painter;
        painter.Attach(&m.menu);
        m.Open();
        m.menu.setActiveAction(m.clear);
        const QImage img = m.menu.grab().toImage();
        const QRect r = m.menu.actionGeometry(m.clear);
        const int hc = QFontMetrics(Font(true)).height();
        const int right = r.right();
        const int bottom = r.bottom();

        // Rounded outline: corners left out, edges in the line colour.
        QCOMPARE(img.pixelColor(r.left(), r.top()), EntryBackground);
        QCOMPARE(img.pixelColor(right, bottom), EntryBackground);
        QCOMPARE(img.pixelColor(r.left() + 1, r.top()), Line);
        QCOMPARE(img.pixelColor(r.left(), r.top() + 1), Line);
        QCOMPARE(img.pixelColor(right - 1, bottom), Line);
        QCOMPARE(img.pixelColor(right, bottom - 1), Line);

        // The upper band down to Hc + 4, the lower band below it (row 0 and the last row are outline).
        const int x = right - 2; // clear of the left-aligned texts
        const int split = r.top() + hc + 4;
        CompareBand(img, x, r.top(), Band(hc + 4, 15722724, 14599608), r.top() + 1, split - 1);
        CompareBand(img, x, split, Band(r.height() - hc - 4, 14203563, 15722724), split, bottom - 1);
        // Text in the enabled colour.
        QVERIFY(HasColourIn(img, QRect(r.left() + 4, r.top() + 2, 30, hc), QColor(0, 21, 110)));

        // The entry below is not highlighted.
        const QRect next = m.menu.actionGeometry(m.separator);
        QCOMPARE(img.pixelColor(next.left() + 1, next.top() + 3), SeparatorBackground);
    }

    void entryWithoutHintGetsOneGradientOverItsWholeHeight() {
        ProgramMenu m;
        m.clear->setStatusTip(QString());
        TMenuDraw painter;
        painter.Attach(&m.menu);
        m.Open();
        m.menu.setActiveAction(m.clear);
        const QImage img = m.menu.grab().toImage();
        const QRect r = m.menu.actionGeometry(m.clear);
        CompareBand(img, r.right() - 2, r.top(), Band(r.height(), 15722724, 14599608), r.top() + 1,
                    r.bottom() - 1);
    }

    void disabledEntryUsesTheDisabledColourAndCanBeHighlighted() {
        ProgramMenu m;
        m.properties->setEnabled(false);
        TMenuDraw painter;
        painter.Attach(&m.menu);
        m.Open();
        m.menu.setActiveAction(m.properties);
        QCOMPARE(m.menu.activeAction(), m.properties);
        const QImage img = m.menu.grab().toImage();
        const QRect r = m.menu.actionGeometry(m.properties);
        const int hc = QFontMetrics(Font(true)).height();
        QVERIFY(HasColourIn(img, QRect(r.left() + 4, r.top() + 2, 40, hc), QColor(216, 197, 222)));
        QVERIFY(HasColourIn(img, QRect(r.left() + 4, r.top() + hc + 4, 40, r.height() - hc - 5),
                            QColor(216, 197, 222)));
        CompareBand(img, r.right() - 2, r.top(), Band(hc + 4, 15722724, 14599608), r.top() + 1,
                    r.top() + hc + 3);
    }

    void separatorIsNeverHighlighted() {
        ProgramMenu m;
        TMenuDraw painter;
        painter.Attach(&m.menu);
        m.Open();
        const QRect r = m.menu.actionGeometry(m.separator);
        QImage img(m.menu.size(), QImage::Format_RGB32);
        img.fill(Qt::magenta);
        QPainter p(&img);
        QStyleOptionMenuItem opt;
        opt.initFrom(&m.menu);
        opt.rect = r;
        opt.menuItemType = QStyleOptionMenuItem::Separator;
        opt.state |= QStyle::State_Selected; // reported as highlighted
        m.menu.style()->drawControl(QStyle::CE_MenuItem, &opt, &p, &m.menu);
        p.end();
        const int bottom = r.top() + r.height();
        QCOMPARE(img.pixelColor(r.left(), r.top()), SeparatorBackground);
        QCOMPARE(img.pixelColor(r.left() + r.width() / 2, r.top() + 2), SeparatorBackground);
        QCOMPARE(img.pixelColor(r.left() + 3, bottom - 2), Line);
        QCOMPARE(img.pixelColor(r.right(), bottom - 2), Line);
        QCOMPARE(img.pixelColor(r.left() + 3, bottom - 1), EntryBackground);
        QCOMPARE(img.pixelColor(r.left() + 3, bottom), QColor(Qt::magenta));
    }

    void separatorHintIsAHeading() {
        ProgramMenu m;
        m.separator->setStatusTip("Items");
        TMenuDraw painter;
        painter.Attach(&m.menu);
        m.Open();
        const QImage img = m.menu.grab().toImage();
        const QRect r = m.menu.actionGeometry(m.separator);
        QVERIFY(HasColourIn(img, r.adjusted(4, 0, 0, -2), QColor(0, 21, 110)));
        QCOMPARE(img.pixelColor(r.right() - 2, r.top() + 1), SeparatorBackground);
        QCOMPARE(img.pixelColor(r.right() - 2, r.bottom() - 1), Line);
    }

    void imageListAddsTheImageColumn() {
        ProgramMenu m;
        QPixmap red(16, 16);
        red.fill(Qt::red);
        TMenuDraw::SetMenuImages(&m.menu, {red});
        TMenuDraw::SetImageIndex(m.clear, 0);
        TMenuDraw painter;
        painter.Attach(&m.menu);
        m.Open();
        const QImage img = m.menu.grab().toImage();
        const QRect r = m.menu.actionGeometry(m.clear);
        const QRect d = m.menu.actionGeometry(m.del);
        QCOMPARE(img.pixelColor(r.left() + 1, r.bottom() - 1), ImageColumn);
        QCOMPARE(img.pixelColor(r.left() + 26, r.top() + 1), Line);
        QCOMPARE(img.pixelColor(r.left() + 4, r.top() + 2), QColor(Qt::red));
        QCOMPARE(img.pixelColor(r.left() + 19, r.top() + 17), QColor(Qt::red));
        QCOMPARE(img.pixelColor(d.left() + 10, d.top() + 8), ImageColumn); // no image for Delete
        // Captions start after the column; the column widens the entries by 26.
        int widest = 0;
        for (const auto& [caption, hint] : {std::pair<QString, QString>{"&Delete", "delete selected item"},
                                            {"&Clear", "clear all items"},
                                            {"-", ""},
                                            {"&Properties", "show properties"}})
            widest = std::max({widest, TextWidth(Font(true), caption), TextWidth(Font(false), hint)});
        QCOMPARE(r.width(), widest + 8 + 26);
    }
};

QTEST_MAIN(TestMenuDraw)
#include "tst_menuDraw.moc"
