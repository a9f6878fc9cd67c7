// Section one: image button, gradient push button, line panel, picture list box and gradient
// progress bar, each in its states side by side. Pressed and hover states are put in place
// before the window is shown, through the same notifications a caption label forwards.
#include "gallery.h"

#include "controls/FSProgressBar.h"
#include "controls/LinePanelUnit.h"
#include "controls/MyButtonEx.h"
#include "controls/MyListBox.h"
#include "controls/imagebutton.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QColor WindowBlue(129, 164, 209);
const QColor PanelBlue(191, 219, 255);
const QColor DarkBlue(21, 66, 139);

QFont ProgramFont(int pixels, bool bold) {
    QFont f(QStringLiteral("Trebuchet MS"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QLabel* Heading(const QString& text, QWidget* parent) {
    return GalleryHeading(text, parent);
}

QWidget* Cell(QWidget* control, const QString& note, QWidget* parent) {
    return GalleryCell(control, note, parent, true);
}

QWidget* Row(const QList<QWidget*>& cells, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(14);
    for (QWidget* c : cells) {
        c->setParent(row);
        h->addWidget(c, 0, Qt::AlignTop);
    }
    h->addStretch();
    return row;
}

// Stand-in pictures for when the program's artwork is not built in: a rounded tile whose tone
// tells the state.
QPixmap StandIn(QSize size, const QString& state) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QColor top(236, 244, 255), bottom(176, 203, 238);
    if (state == "hover")
        top = QColor(255, 255, 255), bottom = QColor(200, 224, 255);
    else if (state == "down")
        top = QColor(160, 190, 230), bottom = QColor(205, 225, 250);
    else if (state == "disabled")
        top = QColor(226, 226, 226), bottom = QColor(190, 190, 190);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    const int d = state == "down" ? 1 : 0;
    QPainterPath path;
    path.addRoundedRect(QRectF(3.5 + d, 3.5 + d, size.width() - 8, size.height() - 8), 10, 10);
    p.fillPath(path, g);
    p.setPen(QPen(state == "disabled" ? QColor(150, 150, 150) : QColor(90, 130, 190), 1));
    p.drawPath(path);
    return pm;
}

QPixmap Art(const QString& name, QSize size, const QString& state) {
    QPixmap pm(QStringLiteral(":/art/%1_%2.png").arg(name, state));
    return pm.isNull() ? StandIn(size, state) : pm;
}

// A large tool-row button with its caption label on a piece of the main window's background.
QWidget* LargeButton(const QString& name, const QString& caption, const QString& state, QWidget* parent) {
    auto* back = new QWidget(parent);
    back->resize(112 + 8, 101 + 8);
    back->setAutoFillBackground(true);
    QPalette pal = back->palette();
    pal.setColor(QPalette::Window, WindowBlue);
    back->setPalette(pal);
    auto* button = new TImageButton(back);
    button->setGeometry(4, 4, 112, 101);
    button->SetUseDown(false);
    button->SetImage(Art(name, {112, 101}, "normal"));
    button->SetImageOver(Art(name, {112, 101}, "hover"));
    button->SetImageDown(Art(name, {112, 101}, "down"));
    button->SetImageDisable(Art(name, {112, 101}, "disabled"));
    auto* label = new QLabel(caption, back);
    label->setFont(ProgramFont(13, true));
    label->setAlignment(Qt::AlignHCenter);
    label->setGeometry(4 + 6, 4 + 80, 100, 18);
    QPalette lp = label->palette();
    lp.setColor(QPalette::WindowText, state == "disabled" ? QColor(120, 120, 120) : DarkBlue);
    label->setPalette(lp);
    button->ForwardFrom(label);
    if (state == "hover")
        button->MouseEnter();
    if (state == "down") {
        button->MouseEnter();
        button->MouseDown(Qt::LeftButton, QPoint(0, 0)); // not shown yet: takes no grab
    }
    if (state == "disabled")
        button->SetEnabled(false);
    return back;
}

QWidget* ListTab(const QString& state, QWidget* parent) {
    auto* panel = new TLinePanel(parent);
    panel->resize(90, 36);
    panel->SetColor(QColorToTColor(PanelBlue));
    auto* button = new TImageButton(panel);
    button->setGeometry(4, 6, 66, 29);
    button->SetUseDown(false);
    const QPixmap normal = Art("list", {66, 29}, "normal");
    button->SetImage(normal);
    button->SetImageOver(Art("list", {66, 29}, "hover"));
    button->SetImageDown(normal);
    auto* label = new QLabel(QStringLiteral("List"), panel);
    label->setFont(ProgramFont(11, true));
    QPalette lp = label->palette();
    lp.setColor(QPalette::WindowText, DarkBlue);
    label->setPalette(lp);
    label->setGeometry(4 + 24, 6 + 7, 40, 15);
    button->ForwardFrom(label);
    if (state == "hover")
        button->MouseEnter();
    if (state == "down")
        button->MouseDown(Qt::LeftButton, QPoint(0, 0));
    return panel;
}

// The look the main window and dialogs give their push buttons.
TMyButtonEx* PushButton(const QString& caption, QWidget* parent) {
    auto* b = new TMyButtonEx(parent);
    b->resize(121, 41);
    b->SetCaption(caption);
    b->SetDefaultColorFrom(15852245);
    b->SetDefaultColorTo(15849665);
    b->SetClickColorFrom(16576454);
    b->SetClickColorTo(16769224);
    b->SetBorderColor(14401438);
    b->setFont(ProgramFont(12, true));
    b->SetFontColor(9126421);
    return b;
}

void Press(QWidget* w) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

QPixmap SmallGlyph() {
    QPixmap pm(QStringLiteral(":/art/folder.png"));
    if (!pm.isNull())
        return pm;
    pm = QPixmap(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.fillRect(1, 4, 14, 10, QColor(240, 190, 60));
    p.fillRect(1, 2, 6, 3, QColor(240, 190, 60));
    return pm;
}

TFSProgressBar* Bar(QSize size, int position, QWidget* parent) {
    auto* bar = new TFSProgressBar(parent);
    bar->resize(size);
    bar->SetPosition(position);
    return bar;
}

} // namespace

QWidget* gallerySectionOne(QWidget* parent) {
    auto* section = new QWidget(parent);
    auto* v = new QVBoxLayout(section);
    v->setSpacing(8);

    v->addWidget(Heading(QStringLiteral("Image button (TImageButton)"), section));
    QList<QWidget*> large;
    const QStringList names{"add", "convert", "stop", "support"};
    const QStringList captions{"Add", "Convert", "Stop", "Support"};
    const QStringList states{"normal", "hover", "down", "disabled"};
    for (int i = 0; i < 4; ++i)
        large << Cell(LargeButton(names[i], captions[i], states[i], section), states[i], section);
    v->addWidget(Row(large, section));
    QList<QWidget*> tabs;
    for (const QString& state : {QStringLiteral("normal"), QStringLiteral("hover"), QStringLiteral("down")})
        tabs << Cell(ListTab(state, section), "List tab, " + state, section);
    v->addWidget(Row(tabs, section));

    v->addWidget(Heading(QStringLiteral("Gradient push button (TMyButtonEx)"), section));
    TMyButtonEx* pressed = PushButton(QStringLiteral("&Export"), section);
    Press(pressed);
    TMyButtonEx* disabled = PushButton(QStringLiteral("&Import"), section);
    disabled->setEnabled(false);
    TMyButtonEx* withGlyph = PushButton(QStringLiteral("&Browse"), section);
    withGlyph->SetGlyph(SmallGlyph());
    TMyButtonEx* fadedGlyph = PushButton(QStringLiteral("&Browse"), section);
    fadedGlyph->SetGlyph(SmallGlyph());
    fadedGlyph->setEnabled(false);
    auto* standard = new TMyButtonEx(section);
    standard->SetCaption(QStringLiteral("&OK"));
    TMyButtonEx* focused = PushButton(QStringLiteral("&Cancel"), section);
    focused->SetDrawFocus(true);
    // Focus needs an active window; after the other sections have taken their focused pictures.
    QTimer::singleShot(900, focused, [focused] {
        focused->window()->activateWindow();
        focused->setFocus();
    });
    v->addWidget(Row({Cell(PushButton(QStringLiteral("&Import"), section), "normal", section),
                      Cell(pressed, "pressed", section), Cell(disabled, "disabled", section),
                      Cell(withGlyph, "glyph", section), Cell(fadedGlyph, "glyph, disabled", section),
                      Cell(focused, "focus, DrawFocus", section), Cell(standard, "as created", section)},
                     section));

    v->addWidget(
        Heading(QStringLiteral("Line panel (TLinePanel) and picture list box (TMyListBox)"), section));
    auto* frame = new TLinePanel(section);
    frame->resize(150, 80);
    frame->SetColor(16767935);
    frame->SetLineColor(14922381);
    auto* lined = new TLinePanel(section);
    lined->resize(150, 80);
    lined->SetColor(QColorToTColor(PanelBlue));
    lined->SetLineColor(14922381);
    lined->SetLineBorders(lbTop | lbLeft | lbRight | lbBottom);
    lined->SetCaption(QStringLiteral("four lines"));
    lined->SetFontColor(9126421);
    auto* bottomOnly = new TLinePanel(section);
    bottomOnly->resize(150, 80);
    bottomOnly->SetColor(Colors::clWhite);
    bottomOnly->SetLineBorders(lbBottom);
    bottomOnly->SetAlignment(taLeftJustify);
    bottomOnly->SetCaption(QStringLiteral("bottom line, left"));
    auto* embossed = new TLinePanel(section);
    embossed->resize(150, 80);
    embossed->SetCaption(QStringLiteral("disabled caption"));
    embossed->setEnabled(false);
    auto* info = new TLinePanel(section);
    info->resize(200, 80);
    info->SetColor(Colors::clBlack);
    info->SetBorderWidth(5);
    auto* memo = new QPlainTextEdit(QStringLiteral("file name: clip.mp4\nfile size: 1048576 Bytes"), info);
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setStyleSheet(QStringLiteral("background: black; color: lime;"));
    memo->setGeometry(5, 5, 190, 70);
    v->addWidget(Row({Cell(frame, "item list frame", section), Cell(lined, "all edges", section),
                      Cell(bottomOnly, "lbBottom", section), Cell(embossed, "disabled", section),
                      Cell(info, "information frame", section)},
                     section));

    auto* listFrame = new TLinePanel(section);
    listFrame->resize(425, 129);
    listFrame->SetColor(Colors::clWhite);
    listFrame->SetBorderWidth(5);
    auto* list = new TMyListBox(listFrame);
    list->setGeometry(5, 5, 415, 119);
    list->SetBorderStyle(bsNone);
    list->SetItemHeight(35);
    QPixmap rowPicture(QStringLiteral(":/art/filerow.png"));
    if (rowPicture.isNull())
        rowPicture = StandIn({32, 32}, "normal");
    list->SetImageList({rowPicture});
    list->SetImageIndex(0);
    list->setFont(ProgramFont(16, false));
    list->SetFontColor(7960979);
    list->SetItems(
        {QStringLiteral("/home/user/Videos/holiday.mp4"), QStringLiteral("/home/user/Videos/birthday.avi"),
         QStringLiteral("/home/user/Videos/a very long name that runs past the right edge of the list.mkv")});
    list->SetItemIndex(1);
    v->addWidget(
        Row({Cell(listFrame, "file list, second entry selected, third too long", section)}, section));

    v->addWidget(Heading(QStringLiteral("Gradient progress bar (TFSProgressBar)"), section));
    auto* program = Bar({420, 17}, 25, section);
    program->SetColorBorder(14922381);
    QList<QWidget*> progress{Cell(program, "main window look, 25 %", section)};
    for (int pos : {0, 60, 100})
        progress << Cell(Bar({150, 17}, pos, section), QStringLiteral("desert, %1 %").arg(pos), section);
    v->addWidget(Row(progress, section));
    QList<QWidget*> schemes;
    const QStringList schemeNames{"desert",  "grass", "silver", "sky",   "rose",   "sun",
                                  "hackers", "night", "velvet", "metal", "violet", "toxic"};
    for (int s = csDesert; s <= csToxic; ++s) {
        auto* bar = Bar({96, 16}, 30 + 5 * s, section);
        bar->SetColorScheme(TColorScheme(s));
        schemes << Cell(bar, schemeNames[s - csDesert], section);
        if (schemes.size() == 6) {
            v->addWidget(Row(schemes, section));
            schemes.clear();
        }
    }
    QList<QWidget*> vertical;
    for (int pos : {0, 35, 70, 100}) {
        auto* bar = Bar({16, 90}, pos, section);
        bar->SetOrientation(pbVertical);
        bar->SetColorScheme(pos == 70 ? csNight : csSky);
        vertical << Cell(bar, QStringLiteral("%1 %").arg(pos), section);
    }
    v->addWidget(Row(vertical, section));
    v->addStretch();
    return section;
}
