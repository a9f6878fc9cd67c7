#pragma once

#include "platform/colors.h"

#include <QComboBox>
#include <QLineEdit>

enum TEditValueType { evDefault, evtInteger, evtFloat };

// A single-line edit without a native border: it keeps a 3-pixel band on every side and paints
// its own frame there, white while active (focused, or hovered while no other flat edit has the
// focus) and in the flat colour while idle. The whole-number mode filters keys and steps the value
// with Up/Down and the mouse wheel.
class TMyCustomFlatEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMyCustomFlatEdit(QWidget* parent = nullptr);

    TEditValueType ValueType() const { return valueType_; }
    void SetValueType(TEditValueType value) { valueType_ = value; }
    int MinValue() const { return minValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    // 0 means no upper bound for stepping up.
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value) { maxValue_ = value; }

    // 0 in evDefault and for an empty text; otherwise the text as a whole number.
    // Throws EConvertError "'<text>' is not a valid integer value".
    int asInteger() const;

    TColor ColorFocused() const { return colorFocused_; }
    void SetColorFocused(TColor value);
    TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(TColor value);
    TColor ColorFlat() const { return colorFlat_; }
    // Also turns ParentColor off.
    void SetColorFlat(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);

    // Active: focused, or hovered while the application's focused widget is not a flat edit.
    bool IsActive() const;
    // The colour of the two inner frame lines and the background in the current state.
    TColor FillColor() const { return IsActive() ? colorFocused_ : colorFlat_; }

    // Step the value up or down by one within MinValue/MaxValue (evtInteger only).
    // Throw EConvertError when the text is not a whole number; the text is left unchanged.
    void StepUp();
    void StepDown();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void UpdateFrame();
    void CopyParentColor();
    void AdjustHeight();
    int TextHeight() const;
    // Runs a step and shows its failure as a message, as the event loop's default handling does.
    template <typename Step> void GuardedStep(Step step);
    bool HandleTypedCharacter(QKeyEvent* e);

    TEditValueType valueType_ = evDefault;
    int minValue_ = 0;
    int maxValue_ = 0;
    TColor colorFocused_ = 16777215; // 255, 255, 255
    TColor colorBorder_ = 8623776;   // 160, 150, 131
    TColor colorFlat_ = 14805739;    // 235, 234, 225
    bool parentColor_ = true;
    bool mouseInControl_ = false;
    bool updatingPalette_ = false;
};

class TMyFlatEdit : public TMyCustomFlatEdit {
    Q_OBJECT
public:
    using TMyCustomFlatEdit::TMyCustomFlatEdit;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TFlatComboStyle;
class TFlatComboDelegate;

// A combo box with a painted 3-pixel frame and a small painted arrow button on the right.
class TMyFlatComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TMyFlatComboBox(QWidget* parent = nullptr);
    ~TMyFlatComboBox() override;

    TColor ColorArrow() const { return colorArrow_; }
    void SetColorArrow(TColor value);
    TColor ColorArrowBackground() const { return colorArrowBackground_; }
    void SetColorArrowBackground(TColor value);
    TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(TColor value);
    // Text area, inner frame and drop-down list background.
    TColor Color() const { return color_; }
    void SetColor(TColor value);

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);

    // Height of one entry of the drop-down list; a font change resets it to 13.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);

    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int value) { setCurrentIndex(value); }
    QStringList Items() const;
    void SetItems(const QStringList& items);

    // True while the drop-down list is shown.
    bool DroppedDown() const { return droppedDown_; }

    void showPopup() override;
    void hidePopup() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void ApplyListColors();
    void PlaceInnerEdit();

    TColor colorArrow_ = 0;
    TColor colorArrowBackground_ = 12965593; // 217, 214, 197
    TColor colorBorder_ = 8623776;           // 160, 150, 131
    TColor color_;
    TComboBoxStyle style_ = csDropDown;
    int itemHeight_ = 13;
    bool droppedDown_ = false;
    TFlatComboStyle* comboStyle_;
    TFlatComboDelegate* delegate_;
};
