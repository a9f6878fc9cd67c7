// Section two: flat edit, flat combo box, the flat hint window and the owner-drawn popup menu.
// States that need the focus, an open list or a shown popup are captured one after another once
// the window is up and shown as pictures beside the live controls.
#include "gallery.h"

#include "controls/FlatEditUnit.h"
#include "controls/MyFlatHintUnit.h"
#include "controls/menuDraw.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QFont ProgramFont() {
    QFont f(QStringLiteral("Trebuchet MS"));
    f.setPixelSize(16);
    return f;
}

QLabel* Caption(const QString& text, QWidget* parent) {
    return GalleryHeading(text, parent);
}

QWidget* Cell(QWidget* control, const QString& note, QWidget* parent) {
    return GalleryCell(control, note, parent, false);
}

// The look the main window gives its hint component.
void ProgramHintLook(TMyFlatHint* hint) {
    const TColor tooltip = QColorToTColor(QApplication::palette().color(QPalette::ToolTipBase));
    hint->SetColorBackground(tooltip);
    hint->SetColorArrowBackground(tooltip);
    hint->SetColorArrow(9126421);
    hint->SetColorBorder(0);
    hint->SetMaxHintWidth(200);
    hint->SetFont(ProgramFont());
    hint->SetFontColor(9126421);
}

QPixmap QuadrantPicture(const TMyFlatHint& look, THintQuadrant q, const QString& text) {
    const QSize size = TMyFlatHintWindow::CalcHintSize(text, look.Font(), look.MaxHintWidth());
    QPixmap pm(size);
    QPainter p(&pm);
    TMyFlatHintWindow::PaintHint(p, size, q, text, look, Qt::LeftToRight);
    return pm;
}

} // namespace

QWidget* gallerySectionTwo(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(6);
    int row = 0;

    // --- Flat edit ----------------------------------------------------------------------------
    grid->addWidget(Caption(QStringLiteral("Flat edit"), box), row++, 0, 1, 4);

    auto* idle = new TMyFlatEdit;
    idle->SetColorFlat(14805739);
    idle->setText(QStringLiteral("clip.avi"));
    idle->setToolTip(QStringLiteral("An idle flat edit: the frame is filled with the flat colour"));
    auto* focused = new TMyFlatEdit;
    focused->SetColorFlat(14805739);
    focused->setText(QStringLiteral("has the focus"));
    auto* number = new TMyFlatEdit;
    number->SetValueType(evtInteger);
    number->SetMinValue(0);
    number->SetMaxValue(99);
    number->setText(QStringLiteral("25"));
    number->setToolTip(QStringLiteral("Whole numbers only; Up, Down and the mouse wheel step from 0 to 99"));
    auto* parentColour = new TMyFlatEdit;
    parentColour->setText(QStringLiteral("parent's colour"));
    auto* disabled = new TMyFlatEdit;
    disabled->SetColorFlat(14805739);
    disabled->setText(QStringLiteral("disabled"));
    disabled->setEnabled(false);

    auto* folder = new TMyFlatEdit;
    folder->setFont(ProgramFont());
    folder->SetColorBorder(16777215);
    folder->SetColorFlat(16777215);
    folder->setReadOnly(true);
    {
        QPalette pal = folder->palette();
        pal.setColor(QPalette::Text, TColorToQColor(7960979));
        folder->setPalette(pal);
    }
    folder->setText(QStringLiteral("/home/user/Videos/convert/"));
    folder->resize(250, folder->height());
    folder->setMinimumWidth(250);

    auto* focusedShot = new QLabel;
    grid->addWidget(Cell(idle, QStringLiteral("idle"), box), row, 0);
    grid->addWidget(Cell(focusedShot, QStringLiteral("focused (active)"), box), row, 1);
    grid->addWidget(Cell(number, QStringLiteral("whole number 0..99"), box), row, 2);
    grid->addWidget(Cell(disabled, QStringLiteral("disabled"), box), row++, 3);
    grid->addWidget(Cell(parentColour, QStringLiteral("ParentColor"), box), row, 0);
    grid->addWidget(Cell(folder, QStringLiteral("output folder (read-only, white frame)"), box), row++, 1, 1,
                    3);
    // The live focused edit is only needed for its picture; keep it out of sight.
    focused->setParent(box);
    focused->move(-500, -500);

    // --- Flat combo box -----------------------------------------------------------------------
    grid->addWidget(Caption(QStringLiteral("Flat combo box"), box), row++, 0, 1, 4);
    const QStringList formats = {QStringLiteral("MP4 (H.264 video, AAC audio)"),
                                 QStringLiteral("AVI (MPEG-4 video, MP3 audio)"),
                                 QStringLiteral("MKV (VP9 video, Opus audio)"),
                                 QStringLiteral("Animated GIF"), QStringLiteral("MP3 audio only")};
    auto makeProgramCombo = [&] {
        auto* c = new TMyFlatComboBox;
        c->SetStyle(csDropDownList);
        c->setFont(ProgramFont());
        c->SetColor(QColorToTColor(QApplication::palette().color(QPalette::Base)));
        c->SetColorArrowBackground(QColorToTColor(QApplication::palette().color(QPalette::Button)));
        c->SetColorBorder(16777215);
        c->SetColorArrow(0);
        c->SetItemHeight(22);
        c->SetItems(formats);
        c->SetItemIndex(0);
        c->resize(260, 30);
        c->setFixedSize(260, 30);
        return c;
    };
    auto* programCombo = makeProgramCombo();
    programCombo->setToolTip(QStringLiteral("The format combo box of the dialogs"));
    auto* plainCombo = new TMyFlatComboBox;
    plainCombo->SetStyle(csDropDownList);
    plainCombo->SetItems(formats);
    plainCombo->SetItemIndex(2);
    plainCombo->setFixedSize(200, 21);
    auto* editable = new TMyFlatComboBox;
    editable->SetItems(formats);
    editable->setEditText(QStringLiteral("editable style"));
    editable->setFixedSize(200, 21);
    auto* disabledCombo = new TMyFlatComboBox;
    disabledCombo->SetStyle(csDropDownList);
    disabledCombo->SetItems(formats);
    disabledCombo->SetItemIndex(1);
    disabledCombo->setFixedSize(200, 21);
    disabledCombo->setEnabled(false);

    auto* focusedComboShot = new QLabel;
    auto* openComboShot = new QLabel;
    grid->addWidget(Cell(programCombo, QStringLiteral("program look, closed"), box), row, 0, 1, 2);
    grid->addWidget(Cell(focusedComboShot, QStringLiteral("focused, closed: highlight"), box), row++, 2, 1,
                    2);
    grid->addWidget(Cell(plainCombo, QStringLiteral("default colours"), box), row, 0, 1, 2);
    grid->addWidget(Cell(disabledCombo, QStringLiteral("disabled"), box), row++, 2, 1, 2);
    grid->addWidget(Cell(editable, QStringLiteral("editable"), box), row, 0, 1, 2);
    grid->addWidget(Cell(openComboShot, QStringLiteral("open list: arrow points up"), box), row++, 2, 2, 2);
    auto* focusedCombo = makeProgramCombo();
    focusedCombo->setParent(box);
    focusedCombo->move(-900, -900);
    auto* openCombo = makeProgramCombo();
    openCombo->setParent(box);
    openCombo->move(-900, -900);
    row++;

    // --- Flat hint window ---------------------------------------------------------------------
    grid->addWidget(Caption(QStringLiteral("Flat hint window"), box), row++, 0, 1, 4);
    auto* hint = new TMyFlatHint(box);
    ProgramHintLook(hint);
    auto* quadrants = new QWidget(box);
    auto* qRow = new QHBoxLayout(quadrants);
    qRow->setContentsMargins(0, 0, 0, 0);
    const QString shortHint = QStringLiteral("Add video files to the list");
    const std::pair<THintQuadrant, QString> cases[] = {
        {hqTopLeft, QStringLiteral("pointer top-left")},
        {hqTopRight, QStringLiteral("pointer top-right")},
        {hqBottomLeft, QStringLiteral("pointer bottom-left")},
        {hqBottomRight, QStringLiteral("pointer bottom-right")},
    };
    for (const auto& [q, note] : cases) {
        auto* l = new QLabel;
        l->setPixmap(QuadrantPicture(*hint, q, shortHint));
        qRow->addWidget(Cell(l, note, quadrants), 0, Qt::AlignTop);
    }
    qRow->addStretch();
    grid->addWidget(quadrants, row++, 0, 1, 4);
    auto* liveHintShot = new QLabel;
    grid->addWidget(
        Cell(liveHintShot, QStringLiteral("shown by the hint service: long text wrapped at 178 px"), box),
        row++, 0, 1, 4);

    // --- Owner-drawn popup menu ---------------------------------------------------------------
    grid->addWidget(Caption(QStringLiteral("Owner-drawn popup menu"), box), row++, 0, 1, 4);
    auto* menu = new QMenu(box);
    QAction* del = menu->addAction(QStringLiteral("&Delete"));
    del->setStatusTip(QStringLiteral("delete selected item"));
    QAction* clear = menu->addAction(QStringLiteral("&Clear"));
    clear->setStatusTip(QStringLiteral("clear all items"));
    menu->addSeparator();
    QAction* props = menu->addAction(QStringLiteral("&Properties"));
    props->setStatusTip(QStringLiteral("show properties"));
    TMenuDraw().Attach(menu);

    auto* imageMenu = new QMenu(box);
    QAction* open = imageMenu->addAction(QStringLiteral("&Open"));
    open->setStatusTip(QStringLiteral("open a list file"));
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    QAction* heading = imageMenu->addSeparator();
    heading->setStatusTip(QStringLiteral("Recent lists"));
    QAction* recent = imageMenu->addAction(QStringLiteral("holiday.rfl"));
    recent->setStatusTip(QStringLiteral("/home/user/lists/holiday.rfl"));
    QAction* gone = imageMenu->addAction(QStringLiteral("&Missing"));
    gone->setStatusTip(QStringLiteral("a disabled entry"));
    gone->setEnabled(false);
    imageMenu->addAction(QStringLiteral("No &hint"));
    QPixmap folderPic(16, 16);
    folderPic.fill(Qt::transparent);
    {
        QPainter p(&folderPic);
        p.fillRect(QRect(1, 4, 14, 10), QColor(226, 178, 62));
        p.fillRect(QRect(1, 2, 6, 3), QColor(226, 178, 62));
        p.fillRect(QRect(1, 6, 14, 8), QColor(246, 206, 96));
    }
    TMenuDraw::SetMenuImages(imageMenu, {folderPic});
    TMenuDraw::SetImageIndex(open, 0);
    TMenuDraw::SetImageIndex(recent, 0);
    TMenuDraw().Attach(imageMenu);

    auto* menuShot = new QLabel;
    auto* disabledMenuShot = new QLabel;
    auto* imageMenuShot = new QLabel;
    auto* menus = new QWidget(box);
    auto* mRow = new QHBoxLayout(menus);
    mRow->setContentsMargins(0, 0, 0, 0);
    mRow->addWidget(Cell(menuShot, QStringLiteral("item list menu, Clear highlighted"), menus), 0,
                    Qt::AlignTop);
    mRow->addWidget(Cell(disabledMenuShot, QStringLiteral("without hint / disabled highlighted"), menus), 0,
                    Qt::AlignTop);
    mRow->addWidget(Cell(imageMenuShot, QStringLiteral("image list, heading, shortcut"), menus), 0,
                    Qt::AlignTop);
    mRow->addStretch();
    grid->addWidget(menus, row++, 0, 1, 4);
    grid->setRowStretch(row, 1);

    // Capture the states that need the focus or a popup, one after another.
    QTimer::singleShot(300, box, [=] {
        box->window()->activateWindow();
        QApplication::processEvents();

        focused->move(0, 0);
        focused->setFocus();
        QApplication::processEvents();
        focusedShot->setPixmap(focused->grab());
        focused->move(-500, -500);

        focusedCombo->move(0, 0);
        focusedCombo->setFocus();
        QApplication::processEvents();
        focusedComboShot->setPixmap(focusedCombo->grab());
        focusedCombo->move(-900, -900);

        openCombo->move(0, 0);
        openCombo->SetItemIndex(1);
        openCombo->showPopup();
        QApplication::processEvents();
        {
            const QPixmap head = openCombo->grab();
            QWidget* popup = openCombo->view()->window();
            const QPixmap list = popup->grab();
            QPixmap both(std::max(head.width(), list.width()), head.height() + list.height());
            both.fill(box->palette().color(QPalette::Window));
            QPainter p(&both);
            p.drawPixmap(0, 0, head);
            p.drawPixmap(0, head.height(), list);
            p.end();
            openComboShot->setPixmap(both);
        }
        openCombo->hidePopup();
        openCombo->move(-900, -900);
        if (QWidget* f = QApplication::focusWidget())
            f->clearFocus(); // leave every live control in its idle look
        QApplication::processEvents();

        auto shoot = [](QMenu* m, QAction* active) {
            m->popup(QPoint(0, 0));
            QApplication::processEvents();
            m->setActiveAction(active);
            QApplication::processEvents();
            const QPixmap pm = m->grab();
            m->hide();
            return pm;
        };
        menuShot->setPixmap(shoot(menu, clear));
        props->setEnabled(false);
        clear->setStatusTip(QString());
        disabledMenuShot->setPixmap(shoot(menu, props));
        props->setEnabled(true);
        clear->setStatusTip(QStringLiteral("clear all items"));
        imageMenuShot->setPixmap(shoot(imageMenu, recent));

        TMyFlatHintWindow* window = TMyFlatHint::HintWindow();
        window->ActivateHint(QPoint(40, 40),
                             QStringLiteral("Convert every item of the list in turn, with the format chosen "
                                            "for it, into its output folder"));
        QApplication::processEvents();
        liveHintShot->setPixmap(window->grab());
        window->ReleaseHandle();
    });
    return box;
}
