#include "shell/uihook.h"

#include "controls/FSProgressBar.h"
#include "controls/MyButtonEx.h"
#include "controls/MyListBox.h"
#include "controls/imagebutton.h"
#include "controls/menuDraw.h"
#include "engine/command.h"
#include "engine/commandManager.h"
#include "items/addForm.h"
#include "items/itemManager.h"
#include "items/saveManager.h"
#include "items/treeManager.h"
#include "items/treeManagerView.h"
#include "platform/VirtualStringTree.h"
#include "platform/colors.h"
#include "platform/dialogSeam.h"
#include "platform/programFolder.h"
#include "shell/SplashForm.h"
#include "shell/mainForm.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QUrl>
#include <memory>

namespace {

const QString AddFilter = QStringLiteral(
    "All Supported Formats|*.mpg;*.mpeg;*.wmv;*.avi;*.vob;*.mov;*.mp2;*.mpv;*.mp4;*.flv|All Files|*.*");
const QString ListFilter = QStringLiteral("Ruxo File List File (*.rfl)|*.rfl");
const QString WorksDone = QStringLiteral("Congratulations, works done!");

void SetLabelColor(QLabel* label, TColor color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, TColorToQColor(color));
    label->setPalette(palette);
}

void OpenWebPage(const QString& address) {
    // A failure to open the page is not reported.
    QDesktopServices::openUrl(QUrl(address));
}

// Makes a caption label act as part of its button: the label's mouse enter, leave, press and release
// go straight to the button. Any press shows the button pressed (and gives it the mouse grab, so the
// user's release reaches the button itself); only a left release can click it.
class TLabelForwarder : public QObject {
public:
    TLabelForwarder(QWidget* label, TImageButton* button) : QObject(label), button_(button) {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Enter:
            button_->MouseEnter();
            break;
        case QEvent::Leave:
            button_->MouseLeave();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            button_->MouseDown(Qt::LeftButton, QPoint(0, 0));
            break;
        case QEvent::MouseButtonRelease:
            button_->MouseUp(static_cast<QMouseEvent*>(event)->button(), QPoint(0, 0));
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TImageButton* button_;
};

// A label raises its click on a left release inside it that follows a left press on it.
class TLabelClick : public QObject {
public:
    TLabelClick(QWidget* label, std::function<void()> onClick)
        : QObject(label), onClick_(std::move(onClick)) {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* label = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            pressed_ = true;
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            const bool inside =
                label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (std::exchange(pressed_, false) && inside)
                onClick_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onClick_;
    bool pressed_ = false;
};

bool RunInProgress() {
    return BatchDriver && !BatchDriver->IsIdle();
}

} // namespace

QString CountText(quint32 total, quint32 finished) {
    return QString::asprintf("%u files, finished %u of %u", total, finished, total);
}

QString TimestampText(qint64 seconds) {
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds / 60) % 60;
    const qint64 rest = seconds % 60;
    return QString::asprintf("timestamp: %.2lld:%.2lld:%.2lld", (long long)hours, (long long)minutes,
                             (long long)rest);
}

QString ListFileName(const QString& chosen) {
    const QString name = chosen.mid(chosen.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    return extension == QStringLiteral(".rfl") ? chosen : chosen + QStringLiteral(".rfl");
}

void ShowCommandError(const QString& message) {
    // At start-up (a broken command file) the splash must not cover the message.
    if (SplashDlg)
        SplashDlg->hide();
    Dialogs().ShowMessage(mainDlg, message, QGuiApplication::applicationDisplayName(),
                          TDialogSeam::miCritical);
}

TUIHook::TUIHook() {
    // A command file that is not well-formed is reported once; the program starts with an empty
    // catalogue.
    CommandManager = new TCommandManager(QString());
    try {
        CommandManager->Load(ProgramFolder() + QStringLiteral("command"));
    } catch (const std::exception& error) {
        ShowCommandError(QString::fromUtf8(error.what()));
    }
    ItemManager = new TItemManager();
    MenuDraw = new TMenuDraw();
}

TUIHook::~TUIHook() {
    delete std::exchange(MenuDraw, nullptr);
    delete std::exchange(SaveManager, nullptr);
    delete std::exchange(ItemManager, nullptr);
    delete std::exchange(TreeManager, nullptr);
    delete std::exchange(CommandManager, nullptr);
    delete std::exchange(BatchDriver, nullptr);
}

void TUIHook::BindLabel(QWidget* label, TImageButton* button) {
    new TLabelForwarder(label, button);
}

void TUIHook::Setup() {
    TmainDlg* w = mainDlg;
    // 1. The window's caption is the application title.
    w->setWindowTitle(QGuiApplication::applicationDisplayName());
    // 2. Double buffering: Qt paints every widget through a back buffer already.
    // 3. The caption labels act as parts of their buttons.
    BindLabel(w->lbAdd, w->btnAdd);
    BindLabel(w->lbConvert, w->btnConvert);
    BindLabel(w->lbStop, w->btnStop);
    BindLabel(w->lbSupport, w->btnSupport);
    BindLabel(w->lbList, w->btnList);
    // 4. The window starts idle: only Stop is disabled.
    w->btnStop->SetEnabled(false);
    SetLabelColor(w->lbStop, Colors::Grey);
    // 5. Buttons and the update label.
    connect(w->btnAdd, &TImageButton::Click, this, Guarded([this, w] { AddFiles(w->btnAdd); }));
    connect(w->btnConvert, &TImageButton::Click, this, Guarded([this, w] { ConvertItems(w->btnConvert); }));
    connect(w->btnStop, &TImageButton::Click, this, Guarded([this, w] { StopConvert(w->btnStop); }));
    connect(w->btnSupport, &TImageButton::Click, this,
            Guarded([this, w] { OpenSupportPage(w->btnSupport); }));
    connect(w->btnList, &TImageButton::Click, this, Guarded([this, w] { ShowListPage(w->btnList); }));
    connect(w->btnImport, &TMyButtonEx::Click, this, Guarded([this, w] { ImportList(w->btnImport); }));
    connect(w->btnExport, &TMyButtonEx::Click, this, Guarded([this, w] { ExportList(w->btnExport); }));
    new TLabelClick(w->lbUpdate, Guarded([this, w] { OpenUpdatePage(w->lbUpdate); }));
    // 6. The item menu is painted by the menu painter.
    MenuDraw->Attach(w->PopupMenu1);
    // 7. The item menu's entries.
    connect(w->pmiDelete, &QAction::triggered, this, Guarded([this, w] { DeleteItems(w->pmiDelete); }));
    connect(w->pmiClear, &QAction::triggered, this, Guarded([this, w] { ClearItems(w->pmiClear); }));
    connect(w->pmiProperties, &QAction::triggered, this,
            Guarded([this, w] { ShowProperties(w->pmiProperties); }));
    // 8. The list manager answers the list control's questions.
    TreeManager = new TTreeManager(w->VirtualStringTree1);
    // 9. The batch driver and its callbacks.
    BatchDriver = new TCommand(w->VirtualStringTree1);
    BatchDriver->OnProgress =
        Guarded([this](TCommand* sender, quint32 percent) { ConvertProgress(sender, percent); });
    BatchDriver->OnComplete =
        Guarded([this](TCommand* sender, bool stopped) { ConvertComplete(sender, stopped); });
    BatchDriver->OnTimer = Guarded([this](TCommand* sender) { ConvertTick(sender); });
    // 10. The list file manager.
    SaveManager = new TSaveManager(w->VirtualStringTree1);
}

void TUIHook::SetIdleState() {
    TmainDlg* w = mainDlg;
    w->btnAdd->SetEnabled(true);
    SetLabelColor(w->lbAdd, Colors::DarkBlue);
    w->btnConvert->SetEnabled(true);
    SetLabelColor(w->lbConvert, Colors::DarkBlue);
    w->btnStop->SetEnabled(false);
    SetLabelColor(w->lbStop, Colors::Grey);
}

void TUIHook::SetConvertingState() {
    TmainDlg* w = mainDlg;
    w->btnAdd->SetEnabled(false);
    SetLabelColor(w->lbAdd, Colors::Grey);
    w->btnConvert->SetEnabled(false);
    SetLabelColor(w->lbConvert, Colors::Grey);
    w->btnStop->SetEnabled(true);
    SetLabelColor(w->lbStop, Colors::DarkBlue);
}

void TUIHook::AddFiles(QObject*) {
    QList<QByteArray> files;
    const QStringList chosen = Dialogs().GetOpenFileNames(mainDlg, AddFilter);
    for (const QString& path : chosen)
        files << path.toUtf8();
    // Repaint what the file dialog uncovered before the next dialog opens.
    QCoreApplication::sendPostedEvents(mainDlg, QEvent::UpdateRequest);
    if (!chosen.isEmpty()) {
        // The dialog goes also when an error ends the steps below.
        std::unique_ptr<TaddDlg> addDlg(new TaddDlg(mainDlg));
        addDlg->MyListBox1->addItems(chosen);
        // "file count", "format", "save to" and the two hints, in this order: the dialog rewrites
        // the second and third line by position.
        addDlg->WriteInformation();
        addDlg->exec();
        if (addDlg->Accepted) {
            const qint32 formatIndex = addDlg->FormatIndex();
            const QByteArray outputFolder = addDlg->OutputFolder();
            for (const QByteArray& file : files)
                ItemManager->AddItem(file, formatIndex, outputFolder);
            TreeManager->AddItems(files);
        }
    }
    RefreshCount(0);
}

void TUIHook::ConvertItems(QObject*) {
    // A run that is still winding down after Stop must end before the next one starts.
    if (mainDlg->VirtualStringTree1->TotalCount() == 0 || RunInProgress())
        return;
    SetConvertingState();
    BatchDriver->Start();
}

void TUIHook::StopConvert(QObject*) {
    BatchDriver->Stop();
}

void TUIHook::DeleteItems(QObject*) {
    if (RunInProgress())
        return;
    mainDlg->VirtualStringTree1->DeleteSelectedNodes();
    RefreshCount(0);
}

void TUIHook::ClearItems(QObject*) {
    if (RunInProgress())
        return;
    mainDlg->VirtualStringTree1->Clear();
    RefreshCount(0);
}

void TUIHook::ShowProperties(QObject*) {
    TreeManager->ShowItemProperties(mainDlg->VirtualStringTree1->FocusedNode());
}

void TUIHook::ImportList(QObject*) {
    if (RunInProgress())
        return;
    const QString path = Dialogs().GetOpenFileName(mainDlg, ListFilter);
    if (path.isEmpty())
        return;
    SaveManager->Import(path);
    RefreshCount(0);
}

void TUIHook::ExportList(QObject*) {
    if (!BatchDriver->Stopped() || mainDlg->VirtualStringTree1->TotalCount() == 0)
        return;
    const QString path = Dialogs().GetSaveFileName(mainDlg, ListFilter);
    if (path.isEmpty())
        return;
    SaveManager->Export(ListFileName(path));
}

void TUIHook::ShowListPage(QObject*) {
    mainDlg->VirtualStringTree1->setVisible(true);
}

void TUIHook::OpenSupportPage(QObject*) {
    OpenWebPage(WebPages::SupportPage);
}

void TUIHook::OpenUpdatePage(QObject*) {
    OpenWebPage(WebPages::HomePage);
}

void TUIHook::ConvertProgress(TCommand*, quint32 percent) {
    mainDlg->ProgressBar1->SetPosition(int(percent));
    RefreshCount(quint32(BatchDriver->CurrentIndex()) + 1);
}

void TUIHook::ConvertComplete(TCommand*, bool stopped) {
    SetIdleState();
    if (!stopped)
        Dialogs().ShowMessage(mainDlg, WorksDone, QGuiApplication::applicationDisplayName(),
                              TDialogSeam::miInformation);
}

void TUIHook::ConvertTick(TCommand*) {
    mainDlg->lbTimer->setText(TimestampText(BatchDriver->ElapsedSeconds()));
}

void TUIHook::RefreshCount(quint32 finished) {
    const quint32 total = mainDlg->VirtualStringTree1->TotalCount();
    mainDlg->lbCount->setText(CountText(total, finished));
}

TQuelvidApplication::TQuelvidApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQuelvidApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowCommandError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowCommandError(QStringLiteral("Unknown error."));
    }
    return false;
}
