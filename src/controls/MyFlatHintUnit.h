#pragma once

#include "platform/colors.h"

#include <QFont>
#include <QPointer>
#include <QWidget>
#include <functional>

class TMyFlatHint;

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// Which quarter of the screen the mouse pointer is in; the hint opens toward the middle.
enum THintQuadrant { hqTopLeft, hqTopRight, hqBottomLeft, hqBottomRight };

// What the application knows about a hint about to be shown; OnShowHint may change it.
struct THintInfo {
    QPointer<QWidget> HintControl; // the widget whose hint is shown
    QPoint CursorPos;              // pointer, in HintControl's coordinates
    QRect CursorRect;              // moving out of this rectangle (HintControl's coordinates) ends the hint
    QPoint HintPos;                // pointer, in screen coordinates
};

// Answers the hint of a point inside a widget (widget coordinates). It returns the text and may
// narrow `area` (preset to the widget's rectangle) to the part the text belongs to, e.g. one row;
// moving out of that area ends the hint and asks again.
using THintProvider = std::function<QString(const QPoint& pos, QRect& area)>;

// The one hint window of the application: a flat box with a coloured arrow column on the side
// nearest the pointer. Shown by the application's hint service, never activated.
class TMyFlatHintWindow : public QWidget {
    Q_OBJECT
public:
    TMyFlatHintWindow();

    // Shows `text` near the pointer at `cursor` (screen coordinates), with the look of the
    // supplying TMyFlatHint. Shows nothing when no component supplies a look.
    // `direction` is the reading order of the widget whose hint is shown.
    void ActivateHint(const QPoint& cursor, const QString& text,
                      Qt::LayoutDirection direction = Qt::LeftToRight);
    void ReleaseHandle();

    QString HintText() const { return text_; }
    THintQuadrant Quadrant() const { return quadrant_; }
    QPoint ArrowAnchor() const { return anchor_; }
    TMyFlatHint* Supplier() const { return supplier_; }

    // Window size for a text: the text wrapped at maxHintWidth - 22, plus 22 by 6.
    static QSize CalcHintSize(const QString& text, const QFont& font, int maxHintWidth,
                              Qt::LayoutDirection direction = Qt::LeftToRight);
    // Quadrant of `cursor` on `screen`; a point on a middle line belongs to the right or bottom half.
    static THintQuadrant QuadrantOf(const QPoint& cursor, const QRect& screen);
    // Top-left corner of a window of `size` opened from `cursor`: 12 pixels off in the top-left
    // quadrant, 5 elsewhere.
    static QPoint PlaceHint(const QPoint& cursor, const QSize& size, THintQuadrant quadrant);
    // The arrow column and the arrow anchor for a client size and quadrant.
    static QRect ArrowColumn(const QSize& client, THintQuadrant quadrant);
    static QPoint ArrowAnchorOf(const QRect& column, THintQuadrant quadrant);
    // Paints the whole window into `p` (client rectangle at 0, 0).
    static void PaintHint(QPainter& p, const QSize& client, THintQuadrant quadrant, const QString& text,
                          const TMyFlatHint& look, Qt::LayoutDirection direction);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    static TMyFlatHint* FindSupplier();

    QString text_;
    QPointer<TMyFlatHint> supplier_;
    THintQuadrant quadrant_ = hqTopLeft;
    QPoint anchor_;
    Qt::LayoutDirection direction_ = Qt::LeftToRight;
};

// The hint look of the application. Creating one (with a form as its owner) makes the flat hint
// window the application's hint window: every widget's hint (its toolTip(), an item view's
// Qt::ToolTipRole data of the row under the pointer, or a registered THintProvider) shows there,
// and no standard tooltip ever appears. Hint timing: 500 ms before the first hint, 25 ms when
// moving on from a shown hint, hidden after 5000 ms.
class TMyFlatHint : public QObject {
    Q_OBJECT
public:
    using TShowHintEvent = std::function<void(QString& hintStr, bool& canShow, THintInfo& hintInfo)>;

    explicit TMyFlatHint(QObject* owner = nullptr);
    ~TMyFlatHint() override;

    TColor ColorBackground() const { return colorBackground_; }
    void SetColorBackground(TColor value) { colorBackground_ = value; }
    TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(TColor value) { colorBorder_ = value; }
    TColor ColorArrowBackground() const { return colorArrowBackground_; }
    void SetColorArrowBackground(TColor value) { colorArrowBackground_ = value; }
    TColor ColorArrow() const { return colorArrow_; }
    void SetColorArrow(TColor value) { colorArrow_ = value; }
    int MaxHintWidth() const { return maxHintWidth_; }
    void SetMaxHintWidth(int value) { maxHintWidth_ = value; }
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& value) { font_ = value; }
    // The hint text colour (the font's colour).
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value) { fontColor_ = value; }
    TBiDiMode BidiMode() const { return bidiMode_; }
    void SetBidiMode(TBiDiMode value) { bidiMode_ = value; }

    // Called before each hint is shown, with the text, a may-show flag and the hint information.
    TShowHintEvent OnShowHint;

    // The application's hint window, or nullptr while no TMyFlatHint exists.
    static TMyFlatHintWindow* HintWindow();
    // The application's hint timing in milliseconds (set to 500, 25 and 5000 by every new component).
    static void SetHintTiming(int hintPause, int hintShortPause, int hintHidePause);
    static int HintPause();
    static int HintShortPause();
    static int HintHidePause();
    // Hides the hint and forgets the widget under the pointer, as a click or key press does.
    static void CancelHint();

    // Lets a widget answer its hints itself (per row, per cell...). The provider is dropped when the
    // widget is destroyed; an empty provider removes it. Works for an item view or its viewport.
    static void SetHintProvider(QWidget* widget, THintProvider provider);
    // The hint of `pos` (widget coordinates) as the hint service finds it: a registered provider of
    // the widget or an ancestor, an item view's tooltip data for the row under the pointer, or the
    // toolTip() of the widget or its nearest ancestor inside the same window that has one.
    // `area` receives the rectangle (widget coordinates) the text belongs to.
    static QString HintOf(QWidget* widget, const QPoint& pos, QRect* area = nullptr);

private:
    TColor colorBackground_ = 16777215;     // 255, 255, 255
    TColor colorBorder_ = 0;                // 0, 0, 0
    TColor colorArrowBackground_ = 5493503; // 255, 210, 83
    TColor colorArrow_ = 0;                 // 0, 0, 0
    int maxHintWidth_ = 200;
    QFont font_;
    TColor fontColor_ = 0;
    TBiDiMode bidiMode_ = bdLeftToRight;
};
