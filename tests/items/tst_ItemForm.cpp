#include "items/ItemForm.h"

#include "catalogueFixture.h"
#include "controls/FlatEditUnit.h"
#include "controls/MyButtonEx.h"
#include "controls/MyListBox.h"
#include "encoderFixture.h"
#include "engine/command.h"
#include "items/treeManager.h"
#include "platform/VirtualStringTree.h"
#include "platform/dialogSeam.h"
#include "platform/errors.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

namespace {

const QStringList kFormats = {"MP4 video", "WebM video", "MKV video"};

// Plays the user on the Item Property dialog once it is open. The dialog is closed anyway after
// ten seconds so that a broken dialog fails the test instead of hanging it.
class TDialogDriver : public QObject {
public:
    explicit TDialogDriver(std::function<void(TItemDlg&)> act) : act_(std::move(act)) {
        QTimer::singleShot(0, this, [this] { Poll(); });
    }
    bool Opened = false;
    bool TimedOut = false;

private:
    void Poll() {
        auto* dialog = qobject_cast<TItemDlg*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (++polls_ < 1000)
                QTimer::singleShot(10, this, [this] { Poll(); });
            return;
        }
        Opened = true;
        QTimer::singleShot(10000, dialog, [this, dialog] {
            TimedOut = true;
            dialog->reject();
        });
        act_(*dialog);
    }
    std::function<void(TItemDlg&)> act_;
    int polls_ = 0;
};

void makeFile(const QString& path, qint64 size) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(size)); // sparse: no disk space used
}

} // namespace

class TestItemForm : public QObject {
    Q_OBJECT
private slots:
    void init() {
        catalogue_ = std::make_unique<TCatalogueFixture>(kFormats);
        SetDialogs(&dialogs_);
        tree_ = std::make_unique<TVirtualStringTree>();
        tree_->resize(600, 300);
        manager_ = std::make_unique<TTreeManager>(tree_.get());
        QVERIFY(files_.isValid());
        clip_ = files_.filePath("clip.avi");
        makeFile(clip_, 1234);
    }
    void cleanup() {
        manager_.reset();
        tree_.reset();
        SetDialogs(nullptr);
        dialogs_ = TScriptedDialogs();
        catalogue_.reset();
    }

    void showsTheItem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("folder");
        QTest::addRow("small file") << "clip.avi" << qint64(1234) << 1 << "/data/out/";
        QTest::addRow("5 GB sparse file") << "big.mkv" << qint64(5000000000) << 2 << "";
        QTest::addRow("colon and spaces in the name") << "a:b c.avi" << qint64(0) << 0 << "/";
    }
    void showsTheItem() {
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QFETCH(int, format);
        QFETCH(QString, folder);
        const QString path = files_.filePath(name);
        makeFile(path, size);
        PVirtualNode row = addRow(path, format, folder);

        QStringList list, lines;
        int shownFormat = -2;
        QString shownFolder, caption;
        TDialogDriver driver([&](TItemDlg& dialog) {
            caption = dialog.windowTitle();
            list = dialog.MyListBox1->Items();
            lines = dialog.Memo1->Lines();
            shownFormat = dialog.ComboBox1->currentIndex();
            shownFolder = dialog.etDirectory->text();
            QTest::keyClick(dialog.MyListBox1, Qt::Key_Escape);
        });
        manager_->ShowItemProperties(row);
        QVERIFY(driver.Opened && !driver.TimedOut);
        QCOMPARE(caption, QString("Item Property"));
        QCOMPARE(list, QStringList{path});
        QCOMPARE(lines, QStringList({"file name: " + name, QString("file size: %1 Bytes").arg(size)}));
        QCOMPARE(shownFormat, format);
        QCOMPARE(shownFolder, folder);
    }

    void okWritesBackFormatAndFolder() {
        PVirtualNode row = addRow(clip_, 0, "");
        TItemNodeData* data = tree_->GetNodeData(row);
        data->Status = stFailed;
        data->ItemData.AnimationStep = 7;
        dialogs_.FolderAnswers << "/data/out";
        TDialogDriver driver([&](TItemDlg& dialog) {
            QTest::keyClick(dialog.ComboBox1, Qt::Key_Down);
            QTest::keyClick(dialog.ComboBox1, Qt::Key_Down);
            QTest::mouseClick(dialog.btDirectory, Qt::LeftButton);
            QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        });
        manager_->ShowItemProperties(row);
        QVERIFY(driver.Opened && !driver.TimedOut);
        QCOMPARE(data->ItemData.FormatIndex, 2);
        QCOMPARE(data->ItemData.OutputFolder, QString("/data/out/"));
        QCOMPARE(data->ItemData.FileName, clip_);
        QCOMPARE(data->Status, stFailed);
        QCOMPARE(data->ItemData.AnimationStep, 7u);
    }

    void onlyOkChangesTheRow_data() {
        QTest::addColumn<QString>("action");
        QTest::addRow("Escape") << "escape";
        QTest::addRow("Cancel clicked") << "cancel";
        QTest::addRow("close box") << "close";
    }
    void onlyOkChangesTheRow() {
        QFETCH(QString, action);
        PVirtualNode row = addRow(clip_, 1, "/keep/");
        dialogs_.FolderAnswers << "/data/out";
        TDialogDriver driver([&](TItemDlg& dialog) {
            QTest::keyClick(dialog.ComboBox1, Qt::Key_Down);
            QTest::mouseClick(dialog.btDirectory, Qt::LeftButton);
            if (action == "escape")
                QTest::keyClick(dialog.ComboBox1, Qt::Key_Escape);
            else if (action == "cancel")
                QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
            else
                dialog.close();
        });
        manager_->ShowItemProperties(row);
        QVERIFY(driver.Opened && !driver.TimedOut);
        QCOMPARE(tree_->GetNodeData(row)->ItemData.FormatIndex, 1);
        QCOMPARE(tree_->GetNodeData(row)->ItemData.OutputFolder, QString("/keep/"));
    }

    void folderFieldKeepsItsFolderUnlessOneIsPicked_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("usePicker");
        QTest::addRow("empty folder, no picker") << "" << false;
        QTest::addRow("empty folder, picker cancelled") << "" << true;
        QTest::addRow("folder, picker cancelled") << "/old/" << true;
    }
    void folderFieldKeepsItsFolderUnlessOneIsPicked() {
        QFETCH(QString, folder);
        QFETCH(bool, usePicker);
        PVirtualNode row = addRow(clip_, 1, folder);
        dialogs_.FolderAnswers << "";
        QString shown;
        TDialogDriver driver([&](TItemDlg& dialog) {
            if (usePicker)
                QTest::mouseClick(dialog.btDirectory, Qt::LeftButton);
            shown = dialog.etDirectory->text();
            QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        });
        manager_->ShowItemProperties(row);
        QVERIFY(driver.Opened && !driver.TimedOut);
        QCOMPARE(dialogs_.DialogsOpened, usePicker ? 1 : 0);
        QCOMPARE(shown, folder);
        QCOMPARE(tree_->GetNodeData(row)->ItemData.OutputFolder, folder);
        QCOMPARE(tree_->GetNodeData(row)->ItemData.FormatIndex, 1);
    }

    // An index the catalogue does not have (from a hand-edited list file) is shown as unknown and
    // kept, never replaced by a real format the user did not choose.
    void formatOutsideTheCatalogueIsKeptUntilOneIsChosen_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("choose");
        QTest::addColumn<int>("expected");
        QTest::addRow("index past the end, kept") << 7 << false << 7;
        QTest::addRow("index -1, kept") << -1 << false << -1;
        QTest::addRow("index past the end, first format chosen") << 7 << true << 0;
    }
    void formatOutsideTheCatalogueIsKeptUntilOneIsChosen() {
        QFETCH(int, format);
        QFETCH(bool, choose);
        QFETCH(int, expected);
        PVirtualNode row = addRow(clip_, format, "");
        int shownIndex = -2;
        QString placeholder;
        TDialogDriver driver([&](TItemDlg& dialog) {
            shownIndex = dialog.ComboBox1->currentIndex();
            placeholder = dialog.ComboBox1->placeholderText();
            if (choose)
                QTest::keyClick(dialog.ComboBox1, Qt::Key_Down);
            QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        });
        manager_->ShowItemProperties(row);
        QVERIFY(driver.Opened && !driver.TimedOut);
        QCOMPARE(shownIndex, -1);
        QVERIFY2(placeholder.contains(QString::number(format)), qPrintable(placeholder));
        QCOMPARE(tree_->GetNodeData(row)->ItemData.FormatIndex, expected);
    }

    void vanishedInputFileRaisesWithoutADialog() {
        PVirtualNode row = addRow(files_.filePath("gone.avi"), 1, "/keep/");
        TDialogDriver driver([](TItemDlg& dialog) { dialog.reject(); });
        try {
            manager_->ShowItemProperties(row);
            QFAIL("no error raised");
        } catch (const EOSError& error) {
            QVERIFY2(error.message().startsWith("System Error.  Code: 2.\n"), qPrintable(error.message()));
        }
        QCoreApplication::processEvents();
        QVERIFY(!driver.Opened);
        QVERIFY(findDialogs().isEmpty());
        QCOMPARE(tree_->GetNodeData(row)->ItemData.FormatIndex, 1);
    }

    void doubleClickOpensTheFocusedRow() {
        addRow(clip_, 0, "");
        const QString second = files_.filePath("second.avi");
        makeFile(second, 10);
        PVirtualNode row = addRow(second, 0, "");
        tree_->show();
        QVERIFY(QTest::qWaitForWindowExposed(tree_.get()));
        tree_->SetFocusedNode(row);

        QStringList list;
        TDialogDriver driver([&](TItemDlg& dialog) {
            list = dialog.MyListBox1->Items();
            dialog.close();
        });
        QTest::mouseDClick(tree_->viewport(), Qt::LeftButton, {}, rowCentre(row));
        QVERIFY(driver.Opened && !driver.TimedOut);
        QCOMPARE(list, QStringList{second});
    }

    void doubleClickWithoutFocusedRowDoesNothing() {
        addRow(clip_, 0, "");
        tree_->show();
        QVERIFY(QTest::qWaitForWindowExposed(tree_.get()));
        tree_->SetFocusedNode(nullptr);
        TDialogDriver driver([](TItemDlg& dialog) { dialog.close(); });
        QTest::mouseDClick(tree_->viewport(), Qt::LeftButton, {},
                           QPoint(50, tree_->viewport()->height() - 5));
        QCoreApplication::processEvents();
        QVERIFY(!driver.Opened);
        QVERIFY(dialogs_.Messages.isEmpty());
    }

    // The double-click comes from the list control's event handling: the error is shown there,
    // not thrown into the event loop.
    void doubleClickOnAVanishedFileShowsTheSystemError() {
        PVirtualNode row = addRow(files_.filePath("gone.avi"), 0, "");
        tree_->show();
        QVERIFY(QTest::qWaitForWindowExposed(tree_.get()));
        tree_->SetFocusedNode(row);
        TDialogDriver driver([](TItemDlg& dialog) { dialog.close(); });
        QTest::mouseDClick(tree_->viewport(), Qt::LeftButton, {}, rowCentre(row));
        QCoreApplication::processEvents();
        QVERIFY(!driver.Opened);
        QCOMPARE(dialogs_.Messages.size(), 1);
        QVERIFY(dialogs_.Messages[0].Text.startsWith("System Error.  Code: 2.\n"));
        QCOMPARE(dialogs_.Messages[0].Icon, TDialogSeam::miCritical);
    }

    // With the real encoder converting the row, OK changes nothing; once the run has ended while
    // the dialog was open, OK writes back.
    void okDuringARunChangesNothing_data() {
        QTest::addColumn<bool>("runEndsFirst");
        QTest::addColumn<int>("expectedFormat");
        QTest::addColumn<QString>("expectedFolder");
        QTest::addRow("run still in progress") << false << int(TEncoderFixture::fmtRealTime) << "";
        QTest::addRow("run ended while open") << true << int(TEncoderFixture::fmtQuick) << "/data/out/";
    }
    void okDuringARunChangesNothing() {
        QFETCH(bool, runEndsFirst);
        QFETCH(int, expectedFormat);
        QFETCH(QString, expectedFolder);
        TEncoderFixture encoder;
        const QString clip = files_.filePath("run.avi");
        QVERIFY(TEncoderFixture::MakeClip(clip, runEndsFirst ? 1 : 30));
        PVirtualNode row = addRow(clip, TEncoderFixture::fmtRealTime, "");
        TCommand driver(tree_.get());
        BatchDriver = &driver;
        driver.Start();
        QVERIFY(!driver.IsIdle());

        dialogs_.FolderAnswers << "/data/out";
        TDialogDriver user([&](TItemDlg& dialog) {
            if (runEndsFirst)
                QTRY_VERIFY_WITH_TIMEOUT(driver.IsIdle(), 8000);
            QTest::keyClick(dialog.ComboBox1, Qt::Key_Up);
            QTest::mouseClick(dialog.btDirectory, Qt::LeftButton);
            QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        });
        manager_->ShowItemProperties(row);
        QVERIFY(user.Opened && !user.TimedOut);
        QCOMPARE(tree_->GetNodeData(row)->ItemData.FormatIndex, expectedFormat);
        QCOMPARE(tree_->GetNodeData(row)->ItemData.OutputFolder, expectedFolder);

        driver.Stop();
        QTRY_VERIFY_WITH_TIMEOUT(driver.IsIdle(), 10000);
        BatchDriver = nullptr;
    }

    // QUELVID_SCREENSHOT_DIR=<folder> saves the filled dialog as item-property.png there.
    void screenshot() {
        const QString folder = qEnvironmentVariable("QUELVID_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("QUELVID_SCREENSHOT_DIR is not set");
        const QString path = files_.filePath("holiday beach.mov");
        makeFile(path, 734003200);
        TItemData item;
        item.FileName = path;
        item.FormatIndex = 1;
        item.OutputFolder = "/home/ana/Converted/";
        TItemDlg dialog;
        dialog.ShowItem(item);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.grab().save(folder + "/item-property.png"));
    }

private:
    PVirtualNode addRow(const QString& path, int format, const QString& folder) {
        PVirtualNode node = tree_->AddChild();
        TItemNodeData* data = tree_->GetNodeData(node);
        data->NodeKind = 1;
        data->ItemData.FileName = path;
        data->ItemData.FormatIndex = format;
        data->ItemData.OutputFolder = folder;
        return node;
    }
    QPoint rowCentre(PVirtualNode node) const {
        return tree_->visualRect(tree_->model()->index(int(tree_->Index(node)), 0)).center();
    }
    static QList<TItemDlg*> findDialogs() {
        QList<TItemDlg*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<TItemDlg*>(widget))
                found << dialog;
        return found;
    }

    TScriptedDialogs dialogs_;
    std::unique_ptr<TCatalogueFixture> catalogue_;
    std::unique_ptr<TVirtualStringTree> tree_;
    std::unique_ptr<TTreeManager> manager_;
    QTemporaryDir files_;
    QString clip_;
};

QTEST_MAIN(TestItemForm)
#include "tst_ItemForm.moc"
