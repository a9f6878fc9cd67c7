#include "engine/command.h"
#include "engine/overwriteManager.h"
#include "platform/VirtualStringTree.h"
#include "platform/dialogSeam.h"

#include "encoderFixture.h"
#include "processProbe.h"

#include <QDirIterator>
#include <QSet>
#include <QTest>

namespace {

// Everything the driver reports, in order: "progress:<percent>", "complete:<true|false>".
struct TDriverRecorder {
    QStringList Events;
    bool Complete = false;
    bool IdleAtComplete = false;

    void Bind(TCommand& driver) {
        driver.OnProgress = [this](TCommand*, quint32 percent) {
            Events << QStringLiteral("progress:%1").arg(percent);
        };
        driver.OnComplete = [this](TCommand* sender, bool stopped) {
            Events << QStringLiteral("complete:%1").arg(stopped ? "true" : "false");
            IdleAtComplete = sender->IsIdle() && sender->Stopped() && sender->CurrentIndex() == 0 &&
                             sender->ElapsedSeconds() == 0;
            Complete = true;
        };
    }
};

PVirtualNode addItem(TVirtualStringTree& tree, const QString& fileName, qint32 formatIndex,
                     const QString& outputFolder = QString()) {
    PVirtualNode node = tree.AddChild();
    TItemNodeData* data = tree.GetNodeData(node);
    data->NodeKind = 1;
    data->ItemData.FileName = fileName;
    data->ItemData.FormatIndex = formatIndex;
    data->ItemData.OutputFolder = outputFolder;
    return node;
}

QList<qint32> statuses(const TVirtualStringTree& tree) {
    QList<qint32> result;
    for (PVirtualNode node = tree.GetFirst(); node; node = tree.GetNextSibling(node))
        result << tree.GetNodeData(node)->Status;
    return result;
}

bool allAtRest(const TVirtualStringTree& tree) {
    for (PVirtualNode node = tree.GetFirst(); node; node = tree.GetNextSibling(node)) {
        if (tree.GetNodeData(node)->ItemData.Running || tree.GetNodeData(node)->ItemData.AnimationStep != 0)
            return false;
    }
    return true;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestCommand : public QObject {
    Q_OBJECT

    QTemporaryDir clips_;
    QString shortClip_, longClip_, mediumClip_;

    // A copy of a generated clip under a name of the test's choice.
    QString input(const QString& clip, const QString& name, const QString& folder = QString()) {
        const QString dir = folder.isEmpty() ? clips_.filePath("in") : folder;
        QDir().mkpath(dir);
        const QString path = dir + u'/' + name;
        QFile::remove(path);
        if (!QFile::copy(clip, path))
            qWarning("cannot copy %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase() {
        QVERIFY(clips_.isValid());
        shortClip_ = clips_.filePath("short.avi");
        mediumClip_ = clips_.filePath("medium.avi");
        longClip_ = clips_.filePath("long.avi");
        QVERIFY(TEncoderFixture::MakeClip(shortClip_, 0.5));
        QVERIFY(TEncoderFixture::MakeClip(mediumClip_, 2.5));
        QVERIFY(TEncoderFixture::MakeClip(longClip_, 6));
    }
    void cleanup() { QTRY_VERIFY(ChildProcesses().isEmpty()); }

    void progressIsReportedOncePerItem_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("one item") << 1 << QStringList{"progress:100", "complete:false"};
        QTest::addRow("three items") << 3
                                     << QStringList{"progress:33", "progress:66", "progress:100",
                                                    "complete:false"};
        QTest::addRow("four items") << 4
                                    << QStringList{"progress:25", "progress:50", "progress:75",
                                                   "progress:100", "complete:false"};
    }
    void progressIsReportedOncePerItem() {
        QFETCH(int, count);
        QFETCH(QStringList, expected);
        TEncoderFixture fixture;
        TVirtualStringTree tree;
        QStringList outputs;
        for (int i = 0; i < count; ++i) {
            addItem(tree, input(shortClip_, QStringLiteral("clip%1.avi").arg(i)), TEncoderFixture::fmtQuick);
            outputs << QStringLiteral("clip%1.mp4").arg(i);
        }
        TCommand driver(&tree);
        TDriverRecorder recorder;
        recorder.Bind(driver);
        driver.Start();
        QVERIFY(!driver.Stopped());
        QVERIFY(!driver.IsIdle());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 60000);
        QCOMPARE(recorder.Events, expected);
        QVERIFY(recorder.IdleAtComplete);
        QCOMPARE(statuses(tree), QList<qint32>(count, stConverted));
        QVERIFY(allAtRest(tree));
        // A blank output folder means convert/ in the program's folder.
        QCOMPARE(filesIn(fixture.ConvertFolder()), outputs);
        QVERIFY(TEncoderFixture::IsPlayable(fixture.ConvertFolder() + outputs.last()));
    }

    void commandLineIsBuiltFromTheItem() {
        TEncoderFixture fixture;
        TVirtualStringTree tree;
        const QString in = input(shortClip_, "clip.avi");
        PVirtualNode node = addItem(tree, in, TEncoderFixture::fmtQuick);
        TCommand driver(&tree);
        TDriverRecorder recorder;
        recorder.Bind(driver);
        driver.Start();

        const QByteArray encoder = (fixture.Folder() + "bin/ffmpeg").toUtf8();
        const QByteArray params = CommandManager->GetParams(TEncoderFixture::fmtQuick);
        const QByteArray output = (fixture.ConvertFolder() + "clip.mp4").toUtf8();
        QCOMPARE(driver.EncoderPath(), encoder);
        QCOMPARE(driver.Runner()->CommandLine,
                 "\"" + encoder + "\" -i \"" + in.toUtf8() + "\" " + params + " \"" + output + "\"");
        const QStringList arguments = QStringList{QString::fromUtf8(encoder), "-i", in}
                                      << QString::fromUtf8(params).split(u' ') << QString::fromUtf8(output);
        QCOMPARE(driver.Runner()->Arguments, arguments);
        QCOMPARE(tree.GetNodeData(node)->Status, stConverting);
        QVERIFY(tree.GetNodeData(node)->ItemData.Running);
        QVERIFY(tree.Selected(node));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 60000);
    }

    void outputNameIsFreeAndFollowsTheInput_data() {
        QTest::addColumn<QString>("inputName");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::addRow("taken names get _2 inserted")
            << "clip.avi" << QStringList{"clip.mp4", "clip_2.mp4"} << "clip_2_2.mp4";
        QTest::addRow("only the last dot starts the extension")
            << "movie.part1.avi" << QStringList() << "movie.part1.mp4";
        QTest::addRow("a name without a dot gets the extension") << "noext" << QStringList() << "noext.mp4";
    }
    void outputNameIsFreeAndFollowsTheInput() {
        QFETCH(QString, inputName);
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        TEncoderFixture fixture;
        QTemporaryDir out;
        for (const QString& name : existing) {
            QFile file(out.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("taken");
        }
        TVirtualStringTree tree;
        addItem(tree, input(shortClip_, inputName), TEncoderFixture::fmtQuick, out.path() + u'/');
        TCommand driver(&tree);
        TDriverRecorder recorder;
        recorder.Bind(driver);
        driver.Start();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 60000);
        QCOMPARE(statuses(tree), QList<qint32>{stConverted});
        QVERIFY(TEncoderFixture::IsPlayable(out.filePath(expected)));
        for (const QString& name : existing) {
            QFile file(out.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("taken"));
        }
        QVERIFY(filesIn(fixture.ConvertFolder()).isEmpty());
    }

    void stopEndsTheRunningItem_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QList<qint32>>("expectedStatuses");
        QTest::addRow("during the second of four")
            << 4 << 1 << QStringList{"progress:25", "progress:50", "complete:true"}
            << QList<qint32>{stConverted, stFailed, stWaiting, stWaiting};
        QTest::addRow("during the last")
            << 2 << 1 << QStringList{"progress:50", "progress:100", "complete:false"}
            << QList<qint32>{stConverted, stFailed};
    }
    void stopEndsTheRunningItem() {
        QFETCH(int, count);
        QFETCH(int, stopAt);
        QFETCH(QStringList, expected);
        QFETCH(QList<qint32>, expectedStatuses);
        TEncoderFixture fixture;
        TVirtualStringTree tree;
        for (int i = 0; i < count; ++i) {
            addItem(tree, input(i == 0 ? shortClip_ : longClip_, QStringLiteral("clip%1.avi").arg(i)),
                    i == 0 ? TEncoderFixture::fmtQuick : TEncoderFixture::fmtRealTime);
        }
        TCommand driver(&tree);
        TDriverRecorder recorder;
        recorder.Bind(driver);
        driver.Start();
        const QString stoppedOutput = fixture.ConvertFolder() + QStringLiteral("clip%1.mp4").arg(stopAt);
        QTRY_VERIFY_WITH_TIMEOUT(driver.CurrentIndex() == stopAt && QFileInfo(stoppedOutput).size() > 0,
                                 60000);
        driver.Stop();
        // Stopped at once, but still busy until the encoder has ended and OnComplete has come.
        QVERIFY(driver.Stopped());
        QVERIFY(!driver.IsIdle());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 30000);
        QCOMPARE(recorder.Events, expected);
        QVERIFY(recorder.IdleAtComplete);
        QCOMPARE(statuses(tree), expectedStatuses);
        QVERIFY(allAtRest(tree));
        QVERIFY(ChildProcesses().isEmpty());
        // The encoder was asked to end, not killed: it closed a shorter, still playable file.
        QVERIFY(TEncoderFixture::IsPlayable(stoppedOutput));
    }

    void secondRunConvertsEverythingAgain() {
        TEncoderFixture fixture;
        TVirtualStringTree tree;
        addItem(tree, input(shortClip_, "a.avi"), TEncoderFixture::fmtQuick);
        addItem(tree, input(mediumClip_, "b.avi"), TEncoderFixture::fmtRealTime);
        TCommand driver(&tree);
        TDriverRecorder recorder;
        recorder.Bind(driver);
        QList<qint64> seconds;
        driver.OnTimer = [&](TCommand* sender) { seconds << sender->ElapsedSeconds(); };

        driver.Start();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 60000);
        QVERIFY(!seconds.isEmpty());
        QCOMPARE(seconds.first(), 1);
        QCOMPARE(driver.ElapsedSeconds(), 0);

        seconds.clear();
        recorder = {};
        recorder.Bind(driver);
        driver.Start();
        QCOMPARE(statuses(tree), (QList<qint32>{stConverting, stConverted}));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 60000);
        QCOMPARE(recorder.Events, (QStringList{"progress:50", "progress:100", "complete:false"}));
        QVERIFY(!seconds.isEmpty());
        QCOMPARE(seconds.first(), 1);
        QCOMPARE(statuses(tree), (QList<qint32>{stConverted, stConverted}));
        QCOMPARE(filesIn(fixture.ConvertFolder()), (QStringList{"a.mp4", "a_2.mp4", "b.mp4", "b_2.mp4"}));
    }

    void busyBarRunsThroughSeventyFiveSteps() {
        TEncoderFixture fixture;
        TVirtualStringTree tree;
        PVirtualNode node = addItem(tree, input(longClip_, "long.avi"), TEncoderFixture::fmtRealTime);
        TCommand driver(&tree);
        TDriverRecorder recorder;
        recorder.Bind(driver);
        QList<quint32> steps;
        driver.OnTimer = [&](TCommand*) { steps << tree.GetNodeData(node)->ItemData.AnimationStep; };
        driver.Start();
        const quint32 before = tree.GetNodeData(node)->ItemData.AnimationStep;
        const qint64 elapsedBefore = driver.ElapsedSeconds();
        for (int tick = 0; tick < 75; ++tick)
            driver.TimerTick();
        QCOMPARE(tree.GetNodeData(node)->ItemData.AnimationStep, before);
        QCOMPARE(driver.ElapsedSeconds(), elapsedBefore + 75);
        QCOMPARE(steps.size(), 75);
        QCOMPARE(QSet<quint32>(steps.begin(), steps.end()).size(), 75);
        QCOMPARE(*std::max_element(steps.begin(), steps.end()), 74u);
        driver.Stop();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 30000);
        QCOMPARE(tree.GetNodeData(node)->ItemData.AnimationStep, 0u);
    }

    void specialFileNamesAreNeverInterpreted() {
        TEncoderFixture fixture;
        QTemporaryDir work;
        const QString previousDir = QDir::currentPath();
        QDir::setCurrent(work.path()); // where a shell would run "touch pwned"
        const QStringList names{"with spaces.avi",      "double\"quote.avi", "single'quote.avi",
                                "$(touch pwned).avi",   "`touch pwned`.avi", "semi;touch pwned;.avi",
                                "amp&touch pwned&.avi", "new\nline.avi",     "中文视频.avi",
                                "emoji 🎬.avi"};
        const QString in = work.filePath("in dir $(touch pwned)");
        const QString out = work.filePath("out 'dir' \"x\"") + u'/';
        QDir().mkpath(out);
        TVirtualStringTree tree;
        for (const QString& name : names)
            addItem(tree, input(shortClip_, name, in), TEncoderFixture::fmtQuick, out);
        TCommand driver(&tree);
        TDriverRecorder recorder;
        recorder.Bind(driver);
        driver.Start();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 120000);
        QDir::setCurrent(previousDir);

        QCOMPARE(statuses(tree), QList<qint32>(names.size(), stConverted));
        for (const QString& name : names) {
            const QString output = out + name.left(name.lastIndexOf(u'.')) + ".mp4";
            QVERIFY2(TEncoderFixture::IsPlayable(output), qPrintable(output));
        }
        QDirIterator it(work.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            QVERIFY2(QFileInfo(it.next()).fileName() != "pwned", qPrintable(it.filePath()));
        QVERIFY(!QFileInfo::exists(fixture.Folder() + "pwned"));
    }

    void missingEncoderFailsEveryItemAndTheProgramCarriesOn() {
        TEncoderFixture fixture(false);
        TScriptedDialogs dialogs;
        SetDialogs(&dialogs);
        TVirtualStringTree tree;
        for (int i = 0; i < 3; ++i)
            addItem(tree, input(shortClip_, QStringLiteral("clip%1.avi").arg(i)), TEncoderFixture::fmtQuick);
        TCommand driver(&tree);
        TDriverRecorder recorder;
        recorder.Bind(driver);
        driver.Start();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 30000);
        QTRY_COMPARE(int(dialogs.Messages.size()), 3);
        SetDialogs(nullptr);
        QCOMPARE(recorder.Events,
                 (QStringList{"progress:33", "progress:66", "progress:100", "complete:false"}));
        QCOMPARE(statuses(tree), QList<qint32>(3, stFailed));
        for (const TScriptedDialogs::TShownMessage& message : dialogs.Messages) {
            QVERIFY(message.Text.startsWith("\"" + fixture.Folder() + "bin/ffmpeg\" -i \""));
            QVERIFY(message.Text.endsWith(".mp4\" doesn't exist."));
        }

        fixture.InstallEncoder();
        recorder = {};
        recorder.Bind(driver);
        driver.Start();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 60000);
        QCOMPARE(statuses(tree), QList<qint32>(3, stConverted));
    }

    void itemWithoutCatalogueFormatFailsWithoutEncoder() {
        TEncoderFixture fixture;
        TScriptedDialogs dialogs;
        SetDialogs(&dialogs);
        TVirtualStringTree tree;
        addItem(tree, input(shortClip_, "a.avi"), TEncoderFixture::fmtQuick);
        addItem(tree, input(shortClip_, "b.avi"), 7);
        addItem(tree, input(shortClip_, "c.avi"), -1);
        addItem(tree, input(shortClip_, "d.avi"), TEncoderFixture::fmtQuick);
        TCommand driver(&tree);
        TDriverRecorder recorder;
        recorder.Bind(driver);
        driver.Start();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.Complete, 60000);
        SetDialogs(nullptr);
        QCOMPARE(recorder.Events, (QStringList{"progress:25", "progress:50", "progress:75", "progress:100",
                                               "complete:false"}));
        QCOMPARE(statuses(tree), (QList<qint32>{stConverted, stFailed, stFailed, stConverted}));
        QVERIFY(allAtRest(tree));
        QCOMPARE(filesIn(fixture.ConvertFolder()), (QStringList{"a.mp4", "d.mp4"}));
        QVERIFY(dialogs.Messages.isEmpty());
    }

    void freeingTheDriverMidRunEndsTheEncoderSilently() {
        TEncoderFixture fixture;
        TVirtualStringTree tree;
        addItem(tree, input(longClip_, "a.avi"), TEncoderFixture::fmtRealTime);
        addItem(tree, input(longClip_, "b.avi"), TEncoderFixture::fmtRealTime);
        auto* driver = new TCommand(&tree);
        int callbacksAfterFree = 0;
        bool freed = false;
        driver->OnProgress = [&](TCommand*, quint32) { callbacksAfterFree += freed; };
        driver->OnComplete = [&](TCommand*, bool) { callbacksAfterFree += freed; };
        driver->OnTimer = [&](TCommand*) { callbacksAfterFree += freed; };
        driver->OnOutputLine = [&](TDosCommand*, qint32) { callbacksAfterFree += freed; };
        driver->Start();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(fixture.ConvertFolder() + "a.mp4").size() > 0, 60000);
        QCOMPARE(ChildProcesses().size(), 1);
        freed = true;
        delete driver;
        QVERIFY(!OverwriteManager);
        QTRY_VERIFY_WITH_TIMEOUT(ChildProcesses().isEmpty(), 10000);
        QTest::qWait(1200); // one driver tick: nothing may arrive any more
        QCOMPARE(callbacksAfterFree, 0);
        QCOMPARE(tree.GetNodeData(tree.GetFirst())->Status, stConverting);
    }
};

QTEST_MAIN(TestCommand)
#include "tst_command.moc"
