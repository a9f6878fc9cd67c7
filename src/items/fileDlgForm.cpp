#include "items/fileDlgForm.h"

#include "controls/FlatEditUnit.h"
#include "controls/LinePanelUnit.h"
#include "controls/MyButtonEx.h"
#include "controls/MyListBox.h"
#include "engine/commandManager.h"
#include "items/BrowseFolder.h"
#include "platform/colors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr TColor clDialog = 13739137;       // RGB(129, 164, 209)
constexpr TColor clPanelLine = 14922381;    // RGB(141, 178, 227)
constexpr TColor clFieldText = 7960979;     // RGB(147, 121, 121)
constexpr TColor clCaptionText = 9126421;   // RGB(21, 66, 139)
constexpr TColor clButtonFrom = 15852245;   // RGB(213, 226, 241)
constexpr TColor clButtonTo = 15849665;     // RGB(193, 216, 241)
constexpr TColor clClickFrom = 16576454;    // RGB(198, 239, 252)
constexpr TColor clClickTo = 16769224;      // RGB(200, 224, 255)
constexpr TColor clButtonBorder = 14401438; // RGB(158, 191, 219)

QFont trebuchet(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void setColorRole(QWidget* widget, QPalette::ColorRole role, TColor color) {
    QPalette palette = widget->palette();
    palette.setColor(role, TColorToQColor(color));
    widget->setPalette(palette);
}

// The font colour of a control, whichever role its style draws the text with.
void setFontColor(QWidget* widget, TColor color) {
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, TColorToQColor(color));
    widget->setPalette(palette);
}

QLabel* makeLabel(QWidget* parent, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setFont(trebuchet(16));
    setFontColor(label, clCaptionText);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// The panel's border width keeps the margin around its one child.
void fillPanel(TLinePanel* panel, QWidget* child) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(child);
}

TMyButtonEx* makeButton(QWidget* parent, const QString& caption, int left, int top) {
    auto* button = new TMyButtonEx(parent);
    button->setGeometry(left, top, 121, 41);
    button->SetCaption(caption);
    button->SetDefaultColorFrom(clButtonFrom);
    button->SetDefaultColorTo(clButtonTo);
    button->SetClickColorFrom(clClickFrom);
    button->SetClickColorTo(clClickTo);
    button->SetOverColorFrom(0);
    button->SetOverColorTo(0);
    button->SetBorderColor(clButtonBorder);
    button->SetDrawFocus(false);
    button->setFont(trebuchet(12, true));
    button->SetFontColor(clCaptionText);
    return button;
}

} // namespace

TInfoMemo::TInfoMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setFont(trebuchet(16));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, QColor(0, 255, 0));
    setPalette(palette);
    viewport()->setCursor(Qt::ArrowCursor);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QStringList TInfoMemo::Lines() const {
    if (document()->isEmpty())
        return {};
    return toPlainText().split(u'\n');
}

void TInfoMemo::AddLine(const QString& text) {
    appendPlainText(text);
}

void TInfoMemo::SetLine(int index, const QString& text) {
    while (Lines().size() <= index)
        AddLine(QString());
    QTextCursor cursor(document()->findBlockByNumber(index));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

TFileDlgForm::TFileDlgForm(QWidget* owner, const QString& caption)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(caption);
    setFixedSize(442, 547);
    setFont(trebuchet(12));
    setAutoFillBackground(true);
    setColorRole(this, QPalette::Window, clDialog);

    PngImageList1 << QPixmap(QStringLiteral(":/art/filerow.png"));

    LinePanel1 = new TLinePanel(this);
    LinePanel1->setGeometry(9, 8, 425, 129);
    LinePanel1->SetColor(Colors::clWhite);
    LinePanel1->SetLineColor(clPanelLine);
    LinePanel1->SetLineBorders({});
    LinePanel1->SetBorderWidth(5);
    MyListBox1 = new TMyListBox(LinePanel1);
    fillPanel(LinePanel1, MyListBox1);
    MyListBox1->SetBorderStyle(bsNone);
    MyListBox1->SetItemHeight(35);
    MyListBox1->setFont(trebuchet(16));
    MyListBox1->SetFontColor(clFieldText);
    MyListBox1->SetImageList(PngImageList1);
    MyListBox1->SetImageIndex(0);

    ComboBox1 = new TMyFlatComboBox(this);
    ComboBox1->setGeometry(9, 152, 425, 30);
    ComboBox1->SetStyle(csDropDownList);
    ComboBox1->SetColor(QColorToTColor(palette().color(QPalette::Base)));
    ComboBox1->SetColorArrowBackground(QColorToTColor(palette().color(QPalette::Button)));
    ComboBox1->SetColorBorder(Colors::clWhite);
    ComboBox1->SetColorArrow(0);
    ComboBox1->setFont(trebuchet(16));
    setFontColor(ComboBox1, clFieldText);
    ComboBox1->SetItemHeight(22);

    Label2 = makeLabel(this, QStringLiteral("save path (leave it blank to use global path)"), 8, 192);

    etDirectory = new TMyFlatEdit(this);
    etDirectory->setGeometry(8, 224, 393, 28);
    etDirectory->setReadOnly(true);
    etDirectory->SetColorBorder(Colors::clWhite);
    etDirectory->SetColorFlat(Colors::clWhite);
    etDirectory->setFont(trebuchet(16));
    setFontColor(etDirectory, clFieldText);

    btDirectory = new QToolButton(this);
    btDirectory->setGeometry(410, 226, 24, 24);
    btDirectory->setAutoRaise(true);
    btDirectory->setFocusPolicy(Qt::NoFocus);
    btDirectory->setIcon(QPixmap(QStringLiteral(":/art/folder.png")));
    btDirectory->setIconSize(QSize(16, 16));
    btDirectory->setToolTip(QStringLiteral("directory select"));

    Label1 = makeLabel(this, QStringLiteral("Information"), 8, 272);

    LinePanel2 = new TLinePanel(this);
    LinePanel2->setGeometry(9, 304, 425, 177);
    LinePanel2->SetColor(0);
    LinePanel2->SetLineColor(clPanelLine);
    LinePanel2->SetLineBorders({});
    LinePanel2->SetBorderWidth(5);
    Memo1 = new TInfoMemo(LinePanel2);
    fillPanel(LinePanel2, Memo1);
    // Clicking the panel hands the focus on to OK; Tab passes over it.
    Memo1->setFocusPolicy(Qt::ClickFocus);

    btnCancel = makeButton(this, QStringLiteral("&Cancel"), 184, 496);
    btnOk = makeButton(this, QStringLiteral("&OK"), 312, 496);

    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(btDirectory, &QToolButton::clicked, this, [this] { btDirectoryClick(); });
    connect(btnOk, &TMyButtonEx::Click, this, [this] { btnOkClick(); });
    connect(btnCancel, &TMyButtonEx::Click, this, [this] { btnCancelClick(); });

    // The dialog sees key presses before its controls do.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    FormCreate();
}

int TFileDlgForm::FormatIndex() const {
    return ComboBox1->currentIndex();
}

void TFileDlgForm::FormCreate() {
    if (CommandManager)
        ComboBox1->addItems(CommandManager->FormatNames());
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
}

void TFileDlgForm::btnOkClick() {
    Accepted = true;
    accept();
}

void TFileDlgForm::btnCancelClick() {
    reject();
}

bool TFileDlgForm::FormKeyDown(int key) {
    if (key != Qt::Key_Escape)
        return false;
    btnCancelClick();
    return true;
}

void TFileDlgForm::Memo1Enter() {
    btnOk->setFocus(Qt::OtherFocusReason);
}

QString TFileDlgForm::PickFolder() {
    return QString::fromUtf8(BrowseForFolder(this, "Save Directory", QByteArray()));
}

bool TFileDlgForm::eventFilter(QObject* watched, QEvent* event) {
    // An open drop-down list is a window of its own and keeps its Escape (closing the list).
    if (event->type() == QEvent::KeyPress && static_cast<QWidget*>(watched)->window() == this &&
        FormKeyDown(static_cast<QKeyEvent*>(event)->key()))
        return true;
    if (watched == Memo1 && event->type() == QEvent::FocusIn)
        Memo1Enter();
    return QDialog::eventFilter(watched, event);
}
