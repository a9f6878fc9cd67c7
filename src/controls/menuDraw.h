#pragma once

#include "platform/colors.h"

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QRect>

class QAction;
class QFont;
class QMenu;
class QPainter;

// Gives a popup menu its look: every entry two lines tall, the bold caption over the entry's hint
// (QAction::statusTip) in regular type, on a near-white background; the highlighted entry gets a
// rounded, vertically graded face with a thin grey outline. Opening the menu and running its
// commands stay with the menu.
class TMenuDraw {
public:
    TMenuDraw();

    // Takes over measuring and painting of the entries the menu holds now (entries added later keep
    // the standard look). A separator, or an entry captioned "-", gets the separator look; its hint
    // is drawn as a heading. The painter neither owns nor frees the menu.
    void Attach(QMenu* menu);
    QMenu* Menu() const { return menu_; }

    bool Images() const { return images_; }
    bool Hints() const { return hints_; }

    // An image list serving a menu (kept on the menu) and an entry's position in it (kept on the
    // entry, -1 for none). With an image list the entries get an image column on the left.
    static void SetMenuImages(QMenu* menu, const QList<QPixmap>& images);
    static QList<QPixmap> MenuImages(const QMenu* menu);
    static void SetImageIndex(QAction* action, int index);
    static int ImageIndex(const QAction* action);

    // The entry font: "Trebuchet MS", 9 points, bold or regular.
    static QFont EntryFont(bool bold);
    // Size of a text as the menu measures it: one line per line break, "&" marking the accelerator.
    static QSize MeasureText(const QFont& font, const QString& text);
    // Fills `band` with 256 horizontal stripes graded from `from` (one step away at the top) to
    // `to` (exactly, at the bottom).
    static void GradientFill(QPainter& p, const QRect& band, TColor from, TColor to);

    // Colours of the look.
    static constexpr TColor clEntryBackground = 16448250;     // 250, 250, 250
    static constexpr TColor clImageColumn = 15658729;         // 233, 238, 238
    static constexpr TColor clLine = 12961221;                // 197, 197, 197
    static constexpr TColor clSeparatorBackground = 15656925; // 221, 231, 238
    static constexpr TColor clSeparatorLight = 16448250;      // 250, 250, 250
    static constexpr TColor clText = 7214336;                 // 0, 21, 110
    static constexpr TColor clTextDisabled = 14599640;        // 216, 197, 222
    static constexpr TColor clUpperBandTop = 15722724;        // 228, 232, 239
    static constexpr TColor clUpperBandBottom = 14599608;     // 184, 197, 222
    static constexpr TColor clLowerBandTop = 14203563;        // 171, 186, 216
    static constexpr TColor clLowerBandBottom = 15722724;     // 228, 232, 239

private:
    QPointer<QMenu> menu_;
    bool images_;
    bool hints_;
};
