#pragma once

#include "platform/colors.h"

#include <QWidget>

enum TColorScheme {
    csCustom,
    csDesert,
    csGrass,
    csSilver,
    csSky,
    csRose,
    csSun,
    csHackers,
    csNight,
    csVelvet,
    csMetal,
    csViolet,
    csToxic
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };

// The five colours of a colour scheme.
struct TProgressColors {
    TColor Border;
    TColor BackFace;
    TColor BackGrad;
    TColor ForeFace;
    TColor ForeGrad;
};

// The colours a built-in scheme sets; csCustom has none (returns false).
bool SchemeColors(TColorScheme scheme, TProgressColors& colors);

// A framed trough in one colour gradient, with the filled part in a second gradient whose
// length follows Position between Min and Max. Horizontal bars grade top to bottom, vertical
// bars left to right. Setting Position, Min, Max or Step paints at once.
//
// Min <= Max and Position >= Min always hold (setters ignore values that would break this);
// Position may exceed Max, which paints a full bar. With Max equal to Min the bar is empty while
// Position equals Min and full once Position is above it.
class TFSProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit TFSProgressBar(QWidget* owner = nullptr);

    TColor ColorBorder() const { return colors_.Border; }
    void SetColorBorder(TColor value);
    TColor BackColorFace() const { return colors_.BackFace; }
    void SetBackColorFace(TColor value);
    TColor BackColorGrad() const { return colors_.BackGrad; }
    void SetBackColorGrad(TColor value);
    TColor ForeColorFace() const { return colors_.ForeFace; }
    void SetForeColorFace(TColor value);
    TColor ForeColorGrad() const { return colors_.ForeGrad; }
    void SetForeColorGrad(TColor value);
    TColorScheme ColorScheme() const { return colorScheme_; }
    void SetColorScheme(TColorScheme value);

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position() const { return position_; }
    void SetPosition(int value);
    int Step() const { return step_; } // stored only
    void SetStep(int value);
    TProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation value);

    // Filled length in pixels for the current size and values (before any clipping).
    qint64 FillLength() const;

    QSize sizeHint() const override { return QSize(200, 16); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void SetColor(TColor& field, TColor value);
    QImage Render() const;

    TProgressColors colors_{};
    TColorScheme colorScheme_ = csDesert;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
    TProgressBarOrientation orientation_ = pbHorizontal;
};
