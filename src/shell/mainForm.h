#pragma once

#include <QList>
#include <QPixmap>
#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class TFSProgressBar;
class TImageButton;
class TLinePanel;
class TMyButtonEx;
class TMyFlatHint;
class TUIHook;
class TVirtualStringTree;

// The main window: the tool row of picture buttons, the item list in its panel, the overall progress
// bar, the count and elapsed-time readouts and the Import and Export buttons. Its controller (TUIHook)
// binds every event at run time; the window itself binds none.
class TmainDlg : public QWidget {
    Q_OBJECT
public:
    explicit TmainDlg(QWidget* owner = nullptr);
    ~TmainDlg() override;

    // In the order of the window's design: a later control paints over an earlier one.
    QLabel* Image1 = nullptr;
    TImageButton* btnAdd = nullptr;
    QLabel* lbAdd = nullptr;
    QLabel* Image2 = nullptr;
    TFSProgressBar* ProgressBar1 = nullptr;
    QLabel* lbUpdate = nullptr;
    QLabel* Image3 = nullptr;
    TImageButton* btnConvert = nullptr;
    QLabel* lbConvert = nullptr;
    QLabel* lbTimer = nullptr;
    TImageButton* btnStop = nullptr;
    QLabel* lbStop = nullptr;
    TImageButton* btnSupport = nullptr;
    QLabel* lbSupport = nullptr;
    TMyButtonEx* btnImport = nullptr;
    TMyButtonEx* btnExport = nullptr;
    TLinePanel* LinePanel1 = nullptr;
    TImageButton* btnList = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* lbList = nullptr;
    QLabel* lbCount = nullptr;
    TVirtualStringTree* VirtualStringTree1 = nullptr;
    QList<QPixmap> listImage;
    TMyFlatHint* MyFlatHint1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* pmiDelete = nullptr;
    QAction* pmiClear = nullptr;
    QAction* N1 = nullptr;
    QAction* pmiProperties = nullptr;

    TUIHook* UIHook() const { return FUIHook; }

private:
    void FormCreate(QObject* sender);
    void FormDestroy(QObject* sender);

    TUIHook* FUIHook = nullptr;
};

// Set when the application creates the main window, before its creation handler runs.
extern TmainDlg* mainDlg;

// Loads the main window's pictures and fonts ahead of its creation (start-up runs it while the splash
// is shown). Creating the window without it works the same, only slower.
void PreloadMainWindow();
