#pragma once

#include "platform/colors.h"

#include <QFlags>
#include <QWidget>

enum TLineBorder { lbTop = 0x1, lbLeft = 0x2, lbRight = 0x4, lbBottom = 0x8 };
Q_DECLARE_FLAGS(TLineBorders, TLineBorder)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLineBorders)

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A flat panel that fills itself with one colour and can draw one-pixel lines along any of its
// edges; it holds other controls. BorderWidth is the inner margin kept free for children
// (the widget's contents margins, so a layout honours it).
class TLinePanel : public QWidget {
    Q_OBJECT
public:
    // Takes its colour from the owner's background at creation.
    explicit TLinePanel(QWidget* owner = nullptr);

    TColor LineColor() const { return lineColor_; }
    void SetLineColor(TColor value);
    TLineBorders LineBorders() const { return lineBorders_; }
    void SetLineBorders(TLineBorders value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    // Caption colour (the font's colour).
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);

    QSize sizeHint() const override { return QSize(185, 41); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TColor lineColor_ = 12164479; // 127, 157, 185
    TLineBorders lineBorders_;
    TColor color_;
    QString caption_;
    TAlignment alignment_ = taCenter;
    int borderWidth_ = 0;
    TColor fontColor_ = Colors::clBlack;
};
