#include "shell/mainForm.h"

#include "controls/FSProgressBar.h"
#include "controls/LinePanelUnit.h"
#include "controls/MyButtonEx.h"
#include "controls/MyFlatHintUnit.h"
#include "controls/imagebutton.h"
#include "items/treeManagerView.h"
#include "platform/VirtualStringTree.h"
#include "platform/colors.h"
#include "shell/uihook.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>

TmainDlg* mainDlg = nullptr;

namespace {

constexpr int ClientWidth = 861;
constexpr int ClientHeight = 529;
constexpr TColor WindowColor = 13739137;    // RGB 129, 164, 209
constexpr TColor LineColor = 14922381;      // RGB 141, 178, 227
constexpr TColor ListPanelColor = 16767935; // RGB 191, 219, 255

QFont TrebuchetFont(int pixelSize, bool bold = false, bool italic = false, bool underline = false) {
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

void SetTextColor(QWidget* widget, TColor color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, TColorToQColor(color));
    palette.setColor(QPalette::Text, TColorToQColor(color));
    widget->setPalette(palette);
}

const char* const ArtNames[] = {
    "topleft.png",           "bottom.png",           "corner.png",       "watermark.png",
    "add_normal.png",        "add_hover.png",        "add_down.png",     "add_disabled.png",
    "convert_normal.png",    "convert_hover.png",    "convert_down.png", "convert_disabled.png",
    "stop_normal.png",       "stop_hover.png",       "stop_down.png",    "stop_disabled.png",
    "support_normal.png",    "support_hover.png",    "support_down.png", "support_disabled.png",
    "list_normal.png",       "list_hover.png",       "list_down.png",    "status_waiting.png",
    "status_converting.png", "status_converted.png", "status_failed.png"};

// The window's pictures, decoded once.
QPixmap Art(const QString& name) {
    static QHash<QString, QPixmap> decoded;
    auto found = decoded.constFind(name);
    if (found != decoded.constEnd())
        return *found;
    return *decoded.insert(name, QPixmap(QStringLiteral(":/art/") + name));
}

QPixmap Art(const char* name) {
    return Art(QLatin1String(name));
}

// A transparent picture control, sized to its picture unless a size is given.
QLabel* NewPicture(QWidget* parent, const QPixmap& picture, const QRect& bounds, bool stretch) {
    auto* image = new QLabel(parent);
    image->setPixmap(picture);
    image->setScaledContents(stretch);
    image->setGeometry(bounds);
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    return image;
}

// "&Add" shows "Add" with the A underlined; unlike a button's caption it makes no shortcut.
QString UnderlinedAccelerator(const QString& caption) {
    const qsizetype amp = caption.indexOf(u'&');
    if (amp < 0 || amp + 1 >= caption.size())
        return caption.toHtmlEscaped();
    return caption.left(amp).toHtmlEscaped() + QStringLiteral("<u>") +
           caption.mid(amp + 1, 1).toHtmlEscaped() + QStringLiteral("</u>") +
           caption.mid(amp + 2).toHtmlEscaped();
}

// The caption of a picture button: bold dark blue text over the lower part of the button's picture.
QLabel* NewCaption(QWidget* parent, const QString& caption, int left, int top, int pixelSize) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setText(UnderlinedAccelerator(caption));
    label->setFont(TrebuchetFont(pixelSize, true));
    SetTextColor(label, Colors::DarkBlue);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// A right-aligned label that sizes itself to its text keeps its right edge where it is.
void KeepRightEdge(QLabel* label) {
    const int right = label->geometry().right();
    label->adjustSize();
    label->move(right + 1 - label->width(), label->y());
}

TImageButton* NewImageButton(QWidget* parent, const char* name, const QRect& bounds, const QString& hint,
                             bool withDisabled = true) {
    auto* button = new TImageButton(parent);
    button->setGeometry(bounds);
    button->SetUseDown(false);
    const QString base = QLatin1String(name);
    button->SetImage(Art(base + QStringLiteral("_normal.png")));
    button->SetImageOver(Art(base + QStringLiteral("_hover.png")));
    button->SetImageDown(Art(base + QStringLiteral("_down.png")));
    if (withDisabled)
        button->SetImageDisable(Art(base + QStringLiteral("_disabled.png")));
    button->setToolTip(hint);
    return button;
}

TMyButtonEx* NewPushButton(QWidget* parent, const QString& caption, const QRect& bounds,
                           const QString& hint) {
    auto* button = new TMyButtonEx(parent);
    button->setGeometry(bounds);
    button->SetCaption(caption);
    button->setFont(TrebuchetFont(12, true));
    button->SetFontColor(Colors::DarkBlue);
    button->SetDefaultColorFrom(15852245);
    button->SetDefaultColorTo(15849665);
    button->SetClickColorFrom(16576454);
    button->SetClickColorTo(16769224);
    button->SetOverColorFrom(0);
    button->SetOverColorTo(0);
    button->SetBorderColor(14401438);
    button->SetDrawFocus(false);
    button->setToolTip(hint);
    return button;
}

// Paints the item list as the application style does, but without a focus rectangle.
class TNoFocusRectStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameFocusRect)
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

// The item list's look: light grey rows 25 pixels high, the path column and the progress column,
// no header, a vertical scroll bar always, a 5-pixel inner margin and no frame.
void SetUpItemList(TVirtualStringTree* tree) {
    const QColor background = TColorToQColor(ItemListView::BackgroundColor);
    QPalette palette = tree->palette();
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase})
        palette.setColor(role, background);
    palette.setColor(QPalette::Text, TColorToQColor(ItemListView::FontColor));
    // No visible frame, but a 5-pixel inner margin in the list's own colour, inside which the rows and
    // the scroll bar sit: a plain box frame drawn in the background colour.
    palette.setColor(QPalette::WindowText, background);
    tree->setPalette(palette);
    tree->setFrameStyle(QFrame::Box | QFrame::Plain);
    tree->setLineWidth(5);
    QPalette scrollBarPalette = tree->verticalScrollBar()->palette();
    scrollBarPalette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    tree->verticalScrollBar()->setPalette(scrollBarPalette);
    tree->setFont(TrebuchetFont(16));
    tree->SetDefaultNodeHeight(ItemListView::RowHeight);
    tree->setHeaderHidden(true);
    tree->setColumnWidth(0, ItemListView::PathColumnWidth);
    tree->setColumnWidth(1, ItemListView::ProgressColumnWidth);
    tree->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tree->Background = Art("watermark.png");
    auto* style = new TNoFocusRectStyle;
    style->setParent(tree);
    tree->setStyle(style);
}

} // namespace

void PreloadMainWindow() {
    for (const char* name : ArtNames)
        Art(name);
    for (const int size : {11, 12, 13, 16})
        QFontMetrics(TrebuchetFont(size, true)).height();
}

TmainDlg::TmainDlg(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    mainDlg = this;
    setWindowTitle(QGuiApplication::applicationDisplayName());
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, TColorToQColor(WindowColor));
    setPalette(palette);
    setFont(TrebuchetFont(12));

    Image1 = NewPicture(this, Art("topleft.png"), QRect(0, 0, 400, 200), false);
    if (!Image1->pixmap().isNull())
        Image1->resize(Image1->pixmap().size());
    btnAdd = NewImageButton(this, "add", QRect(16, 16, 112, 101), QStringLiteral("add video files"));
    lbAdd = NewCaption(this, QStringLiteral("&Add"), 60, 96, 13);
    Image2 = NewPicture(this, Art("bottom.png"), QRect(0, ClientHeight - 21, ClientWidth, 21), true);

    ProgressBar1 = new TFSProgressBar(this);
    ProgressBar1->setGeometry(16, 432, 828, 17);
    ProgressBar1->SetColorScheme(csCustom);
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(100);
    ProgressBar1->SetPosition(0);
    ProgressBar1->SetStep(10);
    ProgressBar1->SetColorBorder(14922381);
    ProgressBar1->SetBackColorFace(13036799);
    ProgressBar1->SetBackColorGrad(Colors::clWhite);
    ProgressBar1->SetForeColorFace(10215167);
    ProgressBar1->SetForeColorGrad(31671);

    lbUpdate = new QLabel(QStringLiteral("check for updates"), this);
    lbUpdate->setGeometry(740, 8, 104, 18);
    lbUpdate->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lbUpdate->setFont(TrebuchetFont(12, true, true, true));
    SetTextColor(lbUpdate, Colors::clWhite);
    lbUpdate->setCursor(Qt::PointingHandCursor);
    KeepRightEdge(lbUpdate);

    Image3 = NewPicture(this, Art("corner.png"), QRect(849, 517, 11, 11), false);

    btnConvert =
        NewImageButton(this, "convert", QRect(144, 16, 112, 101), QStringLiteral("start converting"));
    lbConvert = NewCaption(this, QStringLiteral("&Convert"), 176, 96, 13);

    lbTimer = new QLabel(QStringLiteral("timestamp: 00:00:00"), this);
    lbTimer->setGeometry(600, 456, 244, 18);
    lbTimer->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lbTimer->setFont(TrebuchetFont(12, false, true));
    SetTextColor(lbTimer, Colors::clWhite);

    btnStop = NewImageButton(this, "stop", QRect(272, 16, 112, 101), QStringLiteral("stop converting"));
    lbStop = NewCaption(this, QStringLiteral("&Stop"), 315, 96, 13);
    btnSupport = NewImageButton(this, "support", QRect(400, 16, 112, 101), QStringLiteral("online support"));
    lbSupport = NewCaption(this, QStringLiteral("S&upport"), 432, 96, 13);

    btnImport = NewPushButton(this, QStringLiteral("&Import"), QRect(16, 456, 121, 41),
                              QStringLiteral("load list from a disk file"));
    btnExport = NewPushButton(this, QStringLiteral("&Export"), QRect(144, 456, 121, 41),
                              QStringLiteral("save list to a disk file"));
    setTabOrder(btnImport, btnExport);

    LinePanel1 = new TLinePanel(this);
    LinePanel1->setGeometry(16, 136, 828, 289);
    LinePanel1->SetColor(ListPanelColor);
    LinePanel1->SetLineColor(LineColor);
    LinePanel1->SetLineBorders({});

    btnList = NewImageButton(LinePanel1, "list", QRect(8, 14, 66, 29), QString(), false);
    btnList->SetImageDown(btnList->Image());
    Shape1 = new QFrame(LinePanel1);
    Shape1->setGeometry(0, 39, 828, 1);
    Shape1->setAutoFillBackground(true);
    QPalette shapePalette = Shape1->palette();
    shapePalette.setColor(QPalette::Window, TColorToQColor(LineColor));
    Shape1->setPalette(shapePalette);
    lbList = NewCaption(LinePanel1, QStringLiteral("List"), 32, 21, 11);

    lbCount = new QLabel(QStringLiteral("0 files finished 0 of 0"), LinePanel1);
    lbCount->setGeometry(576, 8, 244, 18);
    lbCount->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lbCount->setFont(TrebuchetFont(12));
    SetTextColor(lbCount, Colors::DarkBlue);

    for (const char* name :
         {"status_waiting.png", "status_converting.png", "status_converted.png", "status_failed.png"})
        listImage << Art(name);
    VirtualStringTree1 = new TVirtualStringTree(LinePanel1);
    VirtualStringTree1->setGeometry(0, 40, 828, 249);
    SetUpItemList(VirtualStringTree1);
    VirtualStringTree1->Images = listImage;

    MyFlatHint1 = new TMyFlatHint(this);
    const TColor tooltipBackground = QColorToTColor(QPalette().color(QPalette::ToolTipBase));
    MyFlatHint1->SetColorBackground(tooltipBackground);
    MyFlatHint1->SetColorArrowBackground(tooltipBackground);
    MyFlatHint1->SetColorArrow(Colors::DarkBlue);
    MyFlatHint1->SetColorBorder(Colors::clBlack);
    MyFlatHint1->SetMaxHintWidth(200);
    MyFlatHint1->SetFont(TrebuchetFont(16));
    MyFlatHint1->SetFontColor(Colors::DarkBlue);
    MyFlatHint1->SetBidiMode(bdLeftToRight);

    PopupMenu1 = new QMenu(this);
    pmiDelete = PopupMenu1->addAction(QStringLiteral("&Delete"));
    pmiDelete->setStatusTip(QStringLiteral("delete selected item"));
    pmiClear = PopupMenu1->addAction(QStringLiteral("&Clear"));
    pmiClear->setStatusTip(QStringLiteral("clear all items"));
    N1 = PopupMenu1->addSeparator();
    pmiProperties = PopupMenu1->addAction(QStringLiteral("&Properties"));
    pmiProperties->setStatusTip(QStringLiteral("show properties"));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.x() + (desktop.width() - ClientWidth) / 2,
             desktop.y() + (desktop.height() - ClientHeight) / 2);
    }

    FormCreate(this);
}

TmainDlg::~TmainDlg() {
    FormDestroy(this);
    if (mainDlg == this)
        mainDlg = nullptr;
}

void TmainDlg::FormCreate(QObject*) {
    FUIHook = new TUIHook();
    FUIHook->Setup();
}

void TmainDlg::FormDestroy(QObject*) {
    delete FUIHook;
    FUIHook = nullptr;
}
