#pragma once

#include "items/_consts.h"
#include "platform/colors.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class TMenuDraw;

// The program's one menu painter. The controller creates and frees it; the list manager fetches the
// item menu from it when the list asks for a popup menu.
extern TMenuDraw* MenuDraw;

// How the item list shows its rows: the pieces the list manager's view handlers are made of.
namespace ItemListView {

constexpr TColor BackgroundColor = 15657705;  // RGB 233, 234, 238
constexpr TColor FontColor = 7960979;         // RGB 147, 121, 121
constexpr TColor ProgressBoxColor = 12164479; // RGB 127, 157, 185
constexpr int RowHeight = 25;
constexpr int PathColumnWidth = 700;
constexpr int ProgressColumnWidth = 100;
constexpr int BoxInset = 5;
constexpr int BarWidth = 15;

// The three hint lines of a row: file name, format name, output folder. A format index outside the
// catalogue is named as such instead of borrowing another format's name.
QString HintText(const TItemData& item);

// Column 1 of a row: the progress box, and the busy bar while the row's encoder runs.
void PaintProgressBox(QPainter& painter, const QRect& cellRect, const TItemData& item);

// Where the watermark goes so that its bottom-right corner sits in the client area's bottom-right
// corner (negative when the client area is smaller than the picture).
inline QPoint WatermarkOffset(const QSize& client, const QSize& picture) {
    return QPoint(client.width() - picture.width(), client.height() - picture.height());
}

} // namespace ItemListView
