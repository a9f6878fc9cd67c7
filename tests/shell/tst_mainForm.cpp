#include "controls/FSProgressBar.h"
#include "controls/LinePanelUnit.h"
#include "controls/MyFlatHintUnit.h"
#include "controls/imagebutton.h"
#include "controls/menuDraw.h"
#include "engine/commandManager.h"
#include "items/itemManager.h"
#include "items/saveManager.h"
#include "items/treeManager.h"
#include "items/treeManagerView.h"
#include "shell/uihook.h"

#include "mainWindowFixture.h"
#include "pixelProbe.h"

#include <QEnterEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>

namespace {

const QColor DarkBlue(21, 66, 139);
const QColor Grey(141, 141, 141);

QColor TextColor(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

void Enter(QWidget* widget) {
    QEnterEvent event(QPointF(2, 2), widget->mapTo(widget->window(), QPointF(2, 2)),
                      widget->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(widget, &event);
}

void Leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Quelvid")); }
    void windowFrame();
    void controlsAtTheirPlaces_data();
    void controlsAtTheirPlaces();
    void itemListLook();
    void startsIdle();
    void captionHoverLightsItsButton_data();
    void captionHoverLightsItsButton();
    void captionClickRunsItsCommand();
    void rightPressOnCaptionNeverClicks();
    void hintsShowInTheFlatHintWindow();
    void acceleratorsOfPushButtonsOnly();
    void brokenCommandFileReportedOnce();
    void closingFreesEveryManager();
};

void TestMainForm::windowFrame() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    QCOMPARE(mainDlg, w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelvid"));
    QCOMPARE(w->size(), QSize(861, 529));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    const QImage shot = PixelProbe::Render(*w);
    QCOMPARE(PixelProbe::At(shot, QPoint(600, 300 - 180)), QColor(129, 164, 209)); // window background
    QCOMPARE(PixelProbe::At(shot, QPoint(400, 150)), QColor(191, 219, 255));       // list panel
    QCOMPARE(PixelProbe::At(shot, QPoint(400, 175)), QColor(141, 178, 227));       // rule under the tab
}

void TestMainForm::controlsAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addRow("Image1") << "Image1" << QRect(0, 0, 400, 200);
    QTest::addRow("btnAdd") << "btnAdd" << QRect(16, 16, 112, 101);
    QTest::addRow("Image2") << "Image2" << QRect(0, 508, 861, 21);
    QTest::addRow("ProgressBar1") << "ProgressBar1" << QRect(16, 432, 828, 17);
    QTest::addRow("Image3") << "Image3" << QRect(849, 517, 11, 11);
    QTest::addRow("btnConvert") << "btnConvert" << QRect(144, 16, 112, 101);
    QTest::addRow("lbTimer") << "lbTimer" << QRect(600, 456, 244, 18);
    QTest::addRow("btnStop") << "btnStop" << QRect(272, 16, 112, 101);
    QTest::addRow("btnSupport") << "btnSupport" << QRect(400, 16, 112, 101);
    QTest::addRow("btnImport") << "btnImport" << QRect(16, 456, 121, 41);
    QTest::addRow("btnExport") << "btnExport" << QRect(144, 456, 121, 41);
    QTest::addRow("LinePanel1") << "LinePanel1" << QRect(16, 136, 828, 289);
    QTest::addRow("btnList") << "btnList" << QRect(8, 14, 66, 29);
    QTest::addRow("Shape1") << "Shape1" << QRect(0, 39, 828, 1);
    QTest::addRow("lbCount") << "lbCount" << QRect(576, 8, 244, 18);
    QTest::addRow("VirtualStringTree1") << "VirtualStringTree1" << QRect(0, 40, 828, 249);
}

void TestMainForm::controlsAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    const QHash<QString, QWidget*> controls{
        {"Image1", w->Image1},         {"btnAdd", w->btnAdd},
        {"Image2", w->Image2},         {"ProgressBar1", w->ProgressBar1},
        {"Image3", w->Image3},         {"btnConvert", w->btnConvert},
        {"lbTimer", w->lbTimer},       {"btnStop", w->btnStop},
        {"btnSupport", w->btnSupport}, {"btnImport", w->btnImport},
        {"btnExport", w->btnExport},   {"LinePanel1", w->LinePanel1},
        {"btnList", w->btnList},       {"Shape1", w->Shape1},
        {"lbCount", w->lbCount},       {"VirtualStringTree1", w->VirtualStringTree1}};
    QCOMPARE(controls.value(name)->geometry(), geometry);
}

void TestMainForm::itemListLook() {
    TMainWindowFixture f;
    TVirtualStringTree& list = f.List();
    QCOMPARE(list.DefaultNodeHeight(), 25);
    QVERIFY(list.isHeaderHidden());
    QCOMPARE(list.columnWidth(0), 700);
    QCOMPARE(list.columnWidth(1), 100);
    QCOMPARE(list.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(list.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(list.Images.size(), 4);
    // Inside a 5-pixel margin in the list's colour: the rows, the watermark in the bottom-right corner.
    const QSize client = list.viewport()->size();
    QCOMPARE(list.viewport()->geometry().topLeft(), QPoint(5, 5));
    QCOMPARE(list.BackgroundOffset, QPoint(client.width() - 256, client.height() - 256));
    const QImage shot = PixelProbe::Render(list);
    QCOMPARE(PixelProbe::At(shot, QPoint(2, 100)), QColor(233, 234, 238));
    QCOMPARE(PixelProbe::At(shot, QPoint(400, 246)), QColor(233, 234, 238));

    // The row with the keyboard focus gets no focus rectangle: an unselected focused row is plain.
    ItemManager->AddItem("/videos/a.avi", 0, "");
    TreeManager->AddItems({"/videos/a.avi"});
    list.setFocus();
    list.SetFocusedNode(list.GetFirst());
    QVERIFY(!list.Selected(list.GetFirst()));
    const QImage focused = PixelProbe::Render(list);
    for (const QPoint p : {QPoint(5, 5), QPoint(600, 5), QPoint(600, 29), QPoint(704, 17), QPoint(800, 17)})
        QCOMPARE(PixelProbe::At(focused, p), QColor(233, 234, 238));
}

void TestMainForm::startsIdle() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    QVERIFY(w->btnAdd->Enabled());
    QVERIFY(w->btnConvert->Enabled());
    QVERIFY(!w->btnStop->Enabled());
    QCOMPARE(TextColor(w->lbAdd), DarkBlue);
    QCOMPARE(TextColor(w->lbConvert), DarkBlue);
    QCOMPARE(TextColor(w->lbStop), Grey);
    QCOMPARE(w->lbCount->text(), QStringLiteral("0 files finished 0 of 0"));
    QCOMPARE(w->lbTimer->text(), QStringLiteral("timestamp: 00:00:00"));
    QCOMPARE(w->ProgressBar1->Position(), 0);
    QCOMPARE(w->lbUpdate->cursor().shape(), Qt::PointingHandCursor);
}

void TestMainForm::captionHoverLightsItsButton_data() {
    QTest::addColumn<QString>("caption");
    QTest::addRow("Add") << "lbAdd";
    QTest::addRow("Convert") << "lbConvert";
    QTest::addRow("Support") << "lbSupport";
    QTest::addRow("List") << "lbList";
}

void TestMainForm::captionHoverLightsItsButton() {
    QFETCH(QString, caption);
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    const QHash<QString, QPair<QLabel*, TImageButton*>> pairs{{"lbAdd", {w->lbAdd, w->btnAdd}},
                                                              {"lbConvert", {w->lbConvert, w->btnConvert}},
                                                              {"lbSupport", {w->lbSupport, w->btnSupport}},
                                                              {"lbList", {w->lbList, w->btnList}}};
    auto [label, button] = pairs.value(caption);
    // Every caption lies inside its button's picture.
    QVERIFY(button->geometry().contains(label->geometry()));
    const QImage normal = button->grab().toImage();
    Enter(label);
    QVERIFY(button->Hover());
    QVERIFY(button->grab().toImage() != normal);
    Leave(label);
    QVERIFY(!button->Hover());
    QCOMPARE(button->grab().toImage(), normal);
}

void TestMainForm::captionClickRunsItsCommand() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    // A click on the Add caption opens the file dialog (answered with nothing: cancelled).
    QTest::mouseClick(w->lbAdd, Qt::LeftButton);
    QCOMPARE(f.Dialogs.DialogsOpened, 1);
    QCOMPARE(w->lbCount->text(), QStringLiteral("0 files, finished 0 of 0"));
    // The Stop caption's button is disabled while idle: nothing happens.
    QTest::mouseClick(w->lbStop, Qt::LeftButton);
    QVERIFY(!w->btnStop->Pressed());
    QVERIFY(BatchDriver->IsIdle());
}

void TestMainForm::rightPressOnCaptionNeverClicks() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    QTest::mousePress(w->lbAdd, Qt::RightButton);
    QVERIFY(w->btnAdd->Pressed());
    QTest::mouseRelease(w->lbAdd, Qt::RightButton);
    QVERIFY(!w->btnAdd->Pressed());
    QCOMPARE(f.Dialogs.DialogsOpened, 0);
}

void TestMainForm::hintsShowInTheFlatHintWindow() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    QCOMPARE(TMyFlatHint::HintOf(w->btnAdd, QPoint(50, 40)), QStringLiteral("add video files"));
    QCOMPARE(TMyFlatHint::HintOf(w->btnStop, QPoint(50, 40)), QStringLiteral("stop converting"));
    QCOMPARE(TMyFlatHint::HintOf(w->btnExport, QPoint(50, 20)), QStringLiteral("save list to a disk file"));
    QVERIFY(TMyFlatHint::HintWindow());
    // A row's hint comes from the list manager.
    ItemManager->AddItem("/videos/a b.avi", 0, "");
    TreeManager->AddItems({"/videos/a b.avi"});
    QCOMPARE(TMyFlatHint::HintOf(f.List().viewport(), QPoint(300, 12)),
             QStringLiteral("[File Name]: /videos/a b.avi\n[format]: MP4 quick\n[path]: "));
    QCOMPARE(TMyFlatHint::HintOf(f.List().viewport(), QPoint(750, 12)), QString());
}

// Alt+I and Alt+E press Import and Export; the captions' letters make no shortcut.
void TestMainForm::acceleratorsOfPushButtonsOnly() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    w->activateWindow();
    QTest::keyClick(w, Qt::Key_A, Qt::AltModifier);
    QTest::keyClick(w, Qt::Key_C, Qt::AltModifier);
    QCOMPARE(f.Dialogs.DialogsOpened, 0);
    QVERIFY(BatchDriver->IsIdle());
    QTest::keyClick(w, Qt::Key_I, Qt::AltModifier);
    QCOMPARE(f.Dialogs.DialogsOpened, 1);
    QCOMPARE(f.Dialogs.Filters.last(), QStringLiteral("Ruxo File List File (*.rfl)|*.rfl"));
    // Export needs items to act on.
    ItemManager->AddItem("/videos/a.avi", 0, "");
    TreeManager->AddItems({"/videos/a.avi"});
    QTest::keyClick(w, Qt::Key_E, Qt::AltModifier);
    QCOMPARE(f.Dialogs.DialogsOpened, 2);
}

void TestMainForm::brokenCommandFileReportedOnce() {
    TScriptedDialogs dialogs;
    SetDialogs(&dialogs);
    TEncoderFixture encoder;
    QFile command(encoder.Folder() + QStringLiteral("command"));
    QVERIFY(command.open(QIODevice::WriteOnly | QIODevice::Truncate));
    command.write("<formats><entry><format>MP4</format></formats>");
    command.close();
    {
        TmainDlg window;
        QCOMPARE(dialogs.Messages.size(), 1);
        QVERIFY(dialogs.Messages[0].Text.startsWith(QStringLiteral("Invalid Document")));
        QCOMPARE(dialogs.Messages[0].Caption, QStringLiteral("Quelvid"));
        QVERIFY(CommandManager);
        QCOMPARE(CommandManager->Count(), 0);
        QVERIFY(BatchDriver && TreeManager && SaveManager && ItemManager);
    }
    QCOMPARE(dialogs.Messages.size(), 1);
    SetDialogs(nullptr);
}

void TestMainForm::closingFreesEveryManager() {
    {
        TMainWindowFixture f;
        QVERIFY(CommandManager && ItemManager && MenuDraw && TreeManager && BatchDriver && SaveManager);
        QCOMPARE(MenuDraw->Menu(), f.Window->PopupMenu1);
    }
    QVERIFY(!CommandManager && !ItemManager && !MenuDraw && !TreeManager && !BatchDriver && !SaveManager);
    QVERIFY(!mainDlg);
}

QTEST_MAIN(TestMainForm)
#include "tst_mainForm.moc"
