#include "controls/FSProgressBar.h"
#include "controls/imagebutton.h"
#include "items/itemManager.h"
#include "items/treeManager.h"
#include "shell/uihook.h"

#include "mainWindowFixture.h"
#include "processProbe.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QUrl>

namespace {

const QString WorksDone = QStringLiteral("Congratulations, works done!");

// Records the web pages the program asks the desktop to open.
class TUrlRecorder : public QObject {
    Q_OBJECT
public:
    TUrlRecorder() {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open");
    }
    ~TUrlRecorder() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& url) { Opened << url; }
};

QStringList MakeClips(const TEncoderFixture& encoder, int count, double seconds) {
    QStringList clips;
    for (int i = 1; i <= count; ++i) {
        const QString clip = encoder.Folder() + QStringLiteral("clip %1.avi").arg(i);
        if (!TEncoderFixture::MakeClip(clip, seconds))
            return {};
        clips << clip;
    }
    return clips;
}

bool IsIdleState(const TmainDlg* w) {
    return w->btnAdd->Enabled() && w->btnConvert->Enabled() && !w->btnStop->Enabled();
}

void Click(TImageButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(56, 40));
}

} // namespace

class TestUIHook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Quelvid")); }
    void countText();
    void timestampText_data();
    void timestampText();
    void listFileName_data();
    void listFileName();

    void addThreeFilesThenCancel();
    void convertOnEmptyListChangesNothing();
    void convertAllThreeToTheEnd();
    void stopDuringTheSecondItem();
    void exportThenImportRoundTrip();
    void listCommandsRefusedWhileConverting();
    void menuEntriesDeleteAndClear();
    void propertiesOfTheFocusedRow();
    void damagedListFileShowsItsMessage();
    void webPages();
    void closingDuringARunEndsTheEncoder();
};

void TestUIHook::countText() {
    QCOMPARE(CountText(3, 0), QStringLiteral("3 files, finished 0 of 3"));
    QCOMPARE(CountText(3, 2), QStringLiteral("3 files, finished 2 of 3"));
    QCOMPARE(CountText(0, 0), QStringLiteral("0 files, finished 0 of 0"));
}

void TestUIHook::timestampText_data() {
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::addRow("start") << qint64(0) << "timestamp: 00:00:00";
    QTest::addRow("first tick") << qint64(1) << "timestamp: 00:00:01";
    QTest::addRow("59 s") << qint64(59) << "timestamp: 00:00:59";
    QTest::addRow("3661 s") << qint64(3661) << "timestamp: 01:01:01";
    QTest::addRow("360000 s: hours take more digits") << qint64(360000) << "timestamp: 100:00:00";
}

void TestUIHook::timestampText() {
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(TimestampText(seconds), text);
}

void TestUIHook::listFileName_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addRow("no extension") << "/tmp/list"
                                  << "/tmp/list.rfl";
    QTest::addRow("already .rfl") << "/tmp/list.rfl"
                                  << "/tmp/list.rfl";
    QTest::addRow("upper case is another extension") << "/tmp/list.RFL"
                                                     << "/tmp/list.RFL.rfl";
    QTest::addRow("other extension") << "/tmp/list.txt"
                                     << "/tmp/list.txt.rfl";
    QTest::addRow("dot in a folder name only") << "/tmp/my.rfl/list"
                                               << "/tmp/my.rfl/list.rfl";
}

void TestUIHook::listFileName() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(ListFileName(chosen), written);
}

void TestUIHook::addThreeFilesThenCancel() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    f.AddFiles({"/videos/a.avi", "/videos/b.avi", "/videos/c.avi"}, 1);
    QCOMPARE(f.List().TotalCount(), 3u);
    QCOMPARE(w->lbCount->text(), QStringLiteral("3 files, finished 0 of 3"));
    QCOMPARE(f.Dialogs.Filters.last(),
             QStringLiteral("All Supported Formats|*.mpg;*.mpeg;*.wmv;*.avi;*.vob;*.mov;*.mp2;*.mpv;*.mp4;"
                            "*.flv|All Files|*.*"));
    for (quint32 i = 0; i < 3; ++i) {
        QCOMPARE(f.Row(i).Status, stWaiting);
        QCOMPARE(f.Row(i).ItemData.FormatIndex, 1);
        QCOMPARE(f.Row(i).ItemData.OutputFolder, QString());
    }
    QCOMPARE(f.Row(2).ItemData.FileName, QStringLiteral("/videos/c.avi"));
    QCOMPARE(ItemManager->Count(), 0);

    // Cancelling the Add Files dialog adds nothing; cancelling the file dialog neither. Both rewrite the
    // count label.
    w->lbCount->setText(QString());
    f.AddFiles({"/videos/d.avi"}, 0, false);
    QCOMPARE(f.List().TotalCount(), 3u);
    QCOMPARE(w->lbCount->text(), QStringLiteral("3 files, finished 0 of 3"));
    QCOMPARE(ItemManager->Count(), 0);
    w->lbCount->setText(QString());
    f.AddFiles({});
    QCOMPARE(w->lbCount->text(), QStringLiteral("3 files, finished 0 of 3"));
}

void TestUIHook::convertOnEmptyListChangesNothing() {
    TMainWindowFixture f;
    Click(f.Window->btnConvert);
    QVERIFY(IsIdleState(f.Window.get()));
    QVERIFY(BatchDriver->IsIdle());
    QCOMPARE(f.Window->lbCount->text(), QStringLiteral("0 files finished 0 of 0"));
}

void TestUIHook::convertAllThreeToTheEnd() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    const QStringList clips = MakeClips(f.Encoder, 3, 1);
    QCOMPARE(clips.size(), 3);
    f.AddFiles(clips);
    QCOMPARE(w->lbCount->text(), QStringLiteral("3 files, finished 0 of 3"));

    // The count label and the progress bar as each item finishes.
    QStringList counts;
    QList<int> positions;
    auto progress = BatchDriver->OnProgress;
    BatchDriver->OnProgress = [&](TCommand* sender, quint32 percent) {
        progress(sender, percent);
        counts << w->lbCount->text();
        positions << w->ProgressBar1->Position();
    };
    Click(w->btnConvert);
    QVERIFY(!w->btnAdd->Enabled() && !w->btnConvert->Enabled() && w->btnStop->Enabled());
    // Add and Convert do nothing while converting.
    Click(w->btnAdd);
    Click(w->btnConvert);
    QCOMPARE(f.Dialogs.DialogsOpened, 1);
    QTRY_COMPARE_WITH_TIMEOUT(f.Dialogs.Messages.size(), 1, 60000);
    QCOMPARE(f.Dialogs.Messages[0].Text, WorksDone);
    QCOMPARE(f.Dialogs.Messages[0].Caption, QStringLiteral("Quelvid"));
    QCOMPARE(f.Dialogs.Messages[0].Icon, TDialogSeam::miInformation);
    QVERIFY(IsIdleState(w));
    QCOMPARE(counts, QStringList({"3 files, finished 1 of 3", "3 files, finished 2 of 3",
                                  "3 files, finished 3 of 3"}));
    QCOMPARE(positions, QList<int>({33, 66, 100}));
    QCOMPARE(w->lbCount->text(), QStringLiteral("3 files, finished 3 of 3"));
    QCOMPARE(w->ProgressBar1->Position(), 100);
    for (quint32 i = 0; i < 3; ++i) {
        QCOMPARE(f.Row(i).Status, stConverted);
        QVERIFY(!f.Row(i).ItemData.Running);
    }
    const QStringList outputs = QDir(f.Encoder.ConvertFolder()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(outputs, QStringList({"clip 1.mp4", "clip 2.mp4", "clip 3.mp4"}));
    for (const QString& output : outputs)
        QVERIFY2(TEncoderFixture::IsPlayable(f.Encoder.ConvertFolder() + output), qPrintable(output));
    // The message is shown once, the readouts keep their values.
    QTest::qWait(50);
    QCOMPARE(f.Dialogs.Messages.size(), 1);
}

void TestUIHook::stopDuringTheSecondItem() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    const QStringList clips = MakeClips(f.Encoder, 3, 20);
    QCOMPARE(clips.size(), 3);
    f.AddFiles(clips.mid(0, 1), TEncoderFixture::fmtQuick);
    f.AddFiles(clips.mid(1), TEncoderFixture::fmtRealTime);
    bool stoppedReported = false;
    Click(w->btnConvert);
    auto complete = BatchDriver->OnComplete;
    BatchDriver->OnComplete = [&](TCommand* sender, bool stopped) {
        stoppedReported = stopped;
        complete(sender, stopped);
    };
    QTRY_COMPARE_WITH_TIMEOUT(BatchDriver->CurrentIndex(), 1, 30000);
    QCOMPARE(w->lbCount->text(), QStringLiteral("3 files, finished 1 of 3"));
    QCOMPARE(w->ProgressBar1->Position(), 33);
    // The Stop caption stops the run like its button.
    QTest::mouseClick(w->lbStop, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(BatchDriver->IsIdle(), 10000);
    QVERIFY(stoppedReported);
    QVERIFY(IsIdleState(w));
    QCOMPARE(f.Dialogs.Messages.size(), 0);
    QCOMPARE(f.Row(0).Status, stConverted);
    QCOMPARE(f.Row(1).Status, stFailed);
    QCOMPARE(f.Row(2).Status, stWaiting);
    QCOMPARE(w->lbCount->text(), QStringLiteral("3 files, finished 2 of 3"));
}

void TestUIHook::exportThenImportRoundTrip() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    const QStringList files{"/videos/one & two.avi", "/videos/曲 🎬.mp4", "/videos/three.avi"};
    f.AddFiles(files, 1);
    // Export on an empty list opens no dialog; so the first dialog here is the export's.
    const QString chosen = f.Encoder.Folder() + QStringLiteral("saved");
    f.Dialogs.SaveFileNameAnswers << chosen;
    QTest::mouseClick(w->btnExport, Qt::LeftButton);
    QVERIFY(QFile::exists(chosen + QStringLiteral(".rfl")));
    QCOMPARE(w->lbCount->text(), QStringLiteral("3 files, finished 0 of 3"));

    w->pmiClear->trigger();
    QCOMPARE(f.List().TotalCount(), 0u);
    QCOMPARE(w->lbCount->text(), QStringLiteral("0 files, finished 0 of 0"));
    const int opened = f.Dialogs.DialogsOpened;
    QTest::mouseClick(w->btnExport, Qt::LeftButton);
    QCOMPARE(f.Dialogs.DialogsOpened, opened);

    f.Dialogs.OpenFileNameAnswers << chosen + QStringLiteral(".rfl");
    QTest::mouseClick(w->btnImport, Qt::LeftButton);
    QCOMPARE(f.List().TotalCount(), 3u);
    QCOMPARE(w->lbCount->text(), QStringLiteral("3 files, finished 0 of 3"));
    for (quint32 i = 0; i < 3; ++i) {
        QCOMPARE(f.Row(i).ItemData.FileName, files[int(i)]);
        QCOMPARE(f.Row(i).ItemData.FormatIndex, 1);
        QCOMPARE(f.Row(i).Status, stWaiting);
    }
    // A cancelled import changes nothing, not even the count label.
    w->lbCount->setText(QStringLiteral("unchanged"));
    QTest::mouseClick(w->btnImport, Qt::LeftButton);
    QCOMPARE(f.List().TotalCount(), 3u);
    QCOMPARE(w->lbCount->text(), QStringLiteral("unchanged"));
}

void TestUIHook::listCommandsRefusedWhileConverting() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    const QStringList clips = MakeClips(f.Encoder, 1, 20);
    QCOMPARE(clips.size(), 1);
    f.AddFiles(clips, TEncoderFixture::fmtRealTime);
    const QString list = f.Encoder.Folder() + QStringLiteral("list.rfl");
    f.Dialogs.SaveFileNameAnswers << list;
    QTest::mouseClick(w->btnExport, Qt::LeftButton);
    QVERIFY(QFile::exists(list));
    const int opened = f.Dialogs.DialogsOpened;

    Click(w->btnConvert);
    QVERIFY(!BatchDriver->IsIdle());
    f.Dialogs.OpenFileNameAnswers << list;
    f.Dialogs.SaveFileNameAnswers << list;
    QTest::mouseClick(w->btnImport, Qt::LeftButton);
    QTest::mouseClick(w->btnExport, Qt::LeftButton);
    f.List().Selected(f.List().GetFirst(), true);
    w->pmiDelete->trigger();
    w->pmiClear->trigger();
    QCOMPARE(f.Dialogs.DialogsOpened, opened);
    QCOMPARE(f.List().TotalCount(), 1u);

    Click(w->btnStop);
    QTRY_VERIFY_WITH_TIMEOUT(BatchDriver->IsIdle(), 10000);
    QVERIFY(IsIdleState(w));
    // Stopping the last (only) item ends the run as a whole: the closing message is shown.
    QCOMPARE(f.Row(0).Status, stFailed);
}

void TestUIHook::menuEntriesDeleteAndClear() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    f.AddFiles({"/videos/a.avi", "/videos/b.avi", "/videos/c.avi"});
    f.List().Selected(f.List().NodeAt(1), true);
    w->pmiDelete->trigger();
    QCOMPARE(f.List().TotalCount(), 2u);
    QCOMPARE(f.Row(1).ItemData.FileName, QStringLiteral("/videos/c.avi"));
    QCOMPARE(w->lbCount->text(), QStringLiteral("2 files, finished 0 of 2"));
    // Properties with no focused row does nothing.
    w->pmiProperties->trigger();
    QVERIFY(!QApplication::activeModalWidget());
    w->pmiClear->trigger();
    QCOMPARE(w->lbCount->text(), QStringLiteral("0 files, finished 0 of 0"));
}

// The menu entry and a double-click in the list open the Properties dialog for the focused row; a
// vanished input file gives its error message instead.
void TestUIHook::propertiesOfTheFocusedRow() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    const QString clip = f.Encoder.Folder() + QStringLiteral("here.avi");
    QFile file(clip);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("12345");
    file.close();
    f.AddFiles({clip, f.Encoder.Folder() + QStringLiteral("gone.avi")});
    QStringList captions;
    const auto closeDialog = [&](QWidget* modal) {
        captions << modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    };
    f.List().SetFocusedNode(f.List().GetFirst());
    TMainWindowFixture::OnNextModal(closeDialog);
    w->pmiProperties->trigger();
    QCOMPARE(captions, QStringList({"Item Property"}));

    TMainWindowFixture::OnNextModal(closeDialog);
    const QPoint firstRow(300, 12);
    QTest::mouseClick(f.List().viewport(), Qt::LeftButton, {}, firstRow);
    QTest::mouseDClick(f.List().viewport(), Qt::LeftButton, {}, firstRow);
    QCOMPARE(captions, QStringList({"Item Property", "Item Property"}));

    f.List().SetFocusedNode(f.List().NodeAt(1));
    w->pmiProperties->trigger();
    QCOMPARE(f.Dialogs.Messages.size(), 1);
    QVERIFY(f.Dialogs.Messages[0].Text.startsWith(QStringLiteral("System Error.  Code: 2.")));
    QVERIFY(!QApplication::activeModalWidget());
}

// An error ends the command with its message in a box; the program carries on.
void TestUIHook::damagedListFileShowsItsMessage() {
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    const QString damaged = f.Encoder.Folder() + QStringLiteral("damaged.rfl");
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<list><item><filename>/videos/a.avi</filename><format>0</format></item><item>");
    file.close();
    f.Dialogs.OpenFileNameAnswers << damaged;
    QTest::mouseClick(w->btnImport, Qt::LeftButton);
    QCOMPARE(f.Dialogs.Messages.size(), 1);
    QVERIFY2(f.Dialogs.Messages[0].Text.startsWith(QStringLiteral("Invalid Document")),
             qPrintable(f.Dialogs.Messages[0].Text));
    QCOMPARE(f.Dialogs.Messages[0].Caption, QStringLiteral("Quelvid"));
    QCOMPARE(f.Dialogs.Messages[0].Icon, TDialogSeam::miCritical);
    QCOMPARE(f.List().TotalCount(), 0u);
    f.AddFiles({"/videos/a.avi"});
    QCOMPARE(f.List().TotalCount(), 1u);
}

void TestUIHook::webPages() {
    TUrlRecorder recorder;
    TMainWindowFixture f;
    TmainDlg* w = f.Window.get();
    Click(w->btnSupport);
    QTest::mouseClick(w->lbSupport, Qt::LeftButton);
    QTest::mouseClick(w->lbUpdate, Qt::LeftButton);
    QCOMPARE(recorder.Opened, QList<QUrl>({QUrl(WebPages::SupportPage), QUrl(WebPages::SupportPage),
                                           QUrl(WebPages::HomePage)}));
    // The List tab only shows the list.
    f.List().hide();
    QTest::mouseClick(w->lbList, Qt::LeftButton);
    QVERIFY(f.List().isVisible());
}

void TestUIHook::closingDuringARunEndsTheEncoder() {
    TMainWindowFixture f;
    const QStringList clips = MakeClips(f.Encoder, 1, 20);
    QCOMPARE(clips.size(), 1);
    f.AddFiles(clips, TEncoderFixture::fmtRealTime);
    const QList<qint64> before = ChildProcesses();
    Click(f.Window->btnConvert);
    QTRY_VERIFY(ChildProcesses().size() > before.size());
    f.Window->close();
    f.Window.reset();
    QVERIFY(!BatchDriver);
    QTRY_COMPARE_WITH_TIMEOUT(ChildProcesses(), before, 10000);
    QCOMPARE(f.Dialogs.Messages.size(), 0);
}

QTEST_MAIN(TestUIHook)
#include "tst_uihook.moc"
