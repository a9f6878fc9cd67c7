#include "engine/DosCommand.h"
#include "platform/dialogSeam.h"

#include "processProbe.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Fixtures = QStringLiteral(QUELVID_FIXTURES);

// Everything a runner reports, in order: "text|E|CRLF" for a line (E entire, B beginning, with the
// OutputReturnCode seen while its handler ran), "end:<code>" for the end event.
struct TRecorder {
    QStringList Events;
    int Ends = 0;
    quint32 ExitCode = 0;

    void Bind(TDosCommand& runner) {
        runner.OnNewLine = [this](TDosCommand* sender, const QByteArray& line, TOutputType type) {
            Events << QStringLiteral("%1|%2|%3")
                          .arg(QString::fromLatin1(line), type == otEntireLine ? "E" : "B",
                               sender->OutputReturnCode() == rcCRLF ? "CRLF" : "LF");
        };
        runner.OnTerminated = [this](TDosCommand*, quint32 exitCode) {
            Events << QStringLiteral("end:%1").arg(exitCode);
            ExitCode = exitCode;
            ++Ends;
        };
    }
};

qint64 firstLineAsPid(const TRecorder& recorder) {
    return recorder.Events.isEmpty() ? 0 : recorder.Events.first().section(u'|', 0, 0).toLongLong();
}

} // namespace

class TestDosCommand : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY(ChildProcesses().isEmpty()); }

    void outputBecomesLinesInOrder_data() {
        QTest::addColumn<QStringList>("writes");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("CR LF and LF in one read")
            << QStringList{"abc\\r\\ndef\\n"} << 0 << QStringList{"abc|E|CRLF", "def|E|LF", "end:0"};
        QTest::addRow("lone CRs end lines")
            << QStringList{"abc\\rdef\\r"} << 0 << QStringList{"abc|E|LF", "def|E|LF", "end:0"};
        QTest::addRow("two LFs give two empty lines")
            << QStringList{"\\n\\n"} << 0 << QStringList{"|E|LF", "|E|LF", "end:0"};
        QTest::addRow("CR LF split between reads")
            << QStringList{"abc\\r", "\\ndef\\n"} << 0 << QStringList{"abc|E|LF", "def|E|LF", "end:0"};
        QTest::addRow("line spanning two reads")
            << QStringList{"ab", "c\\n"} << 0 << QStringList{"ab|B|CRLF", "abc|E|LF", "end:0"};
        QTest::addRow("no terminator before the end")
            << QStringList{"xyz"} << 0 << QStringList{"xyz|B|CRLF", "xyz|B|CRLF", "end:0"};
        QTest::addRow("bytes 0 never reach a line")
            << QStringList{"\\000a\\000b\\000\\n"} << 0 << QStringList{"ab|E|LF", "end:0"};
        QTest::addRow("three lines, then exit 3")
            << QStringList{"one\\ntwo\\nthree\\n"} << 3
            << QStringList{"one|E|LF", "two|E|LF", "three|E|LF", "end:3"};
    }
    void outputBecomesLinesInOrder() {
        QFETCH(QStringList, writes);
        QFETCH(int, exitCode);
        QFETCH(QStringList, expected);
        TDosCommand runner;
        TRecorder recorder;
        recorder.Bind(runner);
        runner.CommandLine = QStringLiteral("\"%1/emit.sh\" %2").arg(Fixtures).arg(exitCode).toUtf8();
        runner.Arguments = QStringList{Fixtures + "/emit.sh", QString::number(exitCode)} + writes;
        runner.Execute();
        QTRY_COMPARE_WITH_TIMEOUT(recorder.Ends, 1, 10000);
        QCOMPARE(recorder.Events, expected);
        QVERIFY(!runner.Running());
    }

    void commandLineWordsStartTheChild() {
        TDosCommand runner;
        TRecorder recorder;
        recorder.Bind(runner);
        runner.CommandLine = QStringLiteral("\"%1/emit.sh\" 0 \"two words\\n\"").arg(Fixtures).toUtf8();
        runner.Execute();
        QTRY_COMPARE_WITH_TIMEOUT(recorder.Ends, 1, 10000);
        QCOMPARE(recorder.Events, (QStringList{"two words|E|LF", "end:0"}));
    }

    void failingLineHandlerIsSwallowed() {
        TDosCommand runner;
        TRecorder recorder;
        recorder.Bind(runner);
        int lines = 0;
        runner.OnNewLine = [&lines](TDosCommand*, const QByteArray&, TOutputType) {
            ++lines;
            throw std::runtime_error("handler failed");
        };
        runner.Arguments = QStringList{Fixtures + "/emit.sh", "0", "a\\nb\\n", "c\\n"};
        runner.CommandLine = "emit.sh";
        runner.Execute();
        QTRY_COMPARE_WITH_TIMEOUT(recorder.Ends, 1, 10000);
        QCOMPARE(lines, 3);
        QCOMPARE(recorder.ExitCode, 0u);
    }

    void stopEndsTheChildAndReports259_data() {
        QTest::addColumn<QString>("mode");
        QTest::addRow("child honours SIGTERM") << QString();
        QTest::addRow("child ignores SIGTERM") << QStringLiteral("stubborn");
    }
    void stopEndsTheChildAndReports259() {
        QFETCH(QString, mode);
        TDosCommand runner;
        TRecorder recorder;
        recorder.Bind(runner);
        runner.CommandLine = "silent.sh";
        runner.Arguments = QStringList{Fixtures + "/silent.sh", mode};
        runner.Execute();
        QVERIFY(runner.Running());
        QTRY_COMPARE_WITH_TIMEOUT(recorder.Events.size(), 1, 10000);
        const qint64 pid = firstLineAsPid(recorder);
        QVERIFY(ProcessExists(pid));
        runner.Stop();
        QVERIFY(!runner.Running());
        QTRY_COMPARE_WITH_TIMEOUT(recorder.Ends, 1, 10000);
        QCOMPARE(recorder.ExitCode, STILL_ACTIVE);
        QVERIFY2(!ProcessExists(pid), "the child was neither ended nor reaped before the end event");
    }

    // ffmpeg takes a second SIGTERM as "exit immediately" and leaves its output without an index.
    void stopSendsSigtermOnlyOnce() {
        QTemporaryDir dir;
        const QString countFile = dir.filePath("terms");
        TDosCommand runner;
        TRecorder recorder;
        recorder.Bind(runner);
        runner.CommandLine = "term_counter.sh";
        runner.Arguments = QStringList{Fixtures + "/term_counter.sh", countFile};
        runner.Execute();
        QTRY_COMPARE_WITH_TIMEOUT(recorder.Events.size(), 1, 10000);
        runner.Stop();
        QTRY_COMPARE_WITH_TIMEOUT(recorder.Ends, 1, 10000);
        QCOMPARE(recorder.ExitCode, STILL_ACTIVE);
        QFile terms(countFile);
        QVERIFY(terms.open(QIODevice::ReadOnly));
        QCOMPARE(terms.readAll(), QByteArray("TERM\n"));
    }

    void missingProgramReportsAfterTheEndEvent() {
        TScriptedDialogs dialogs;
        SetDialogs(&dialogs);
        TDosCommand runner;
        TRecorder recorder;
        recorder.Bind(runner);
        qsizetype messagesAtEnd = -1;
        runner.OnTerminated = [&](TDosCommand*, quint32 exitCode) {
            recorder.ExitCode = exitCode;
            messagesAtEnd = dialogs.Messages.size();
            ++recorder.Ends;
        };
        runner.CommandLine = "\"/nonexistent/ffmpeg\" -i \"a b.avi\"";
        runner.Execute();
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.Messages.size(), 1, 10000);
        SetDialogs(nullptr);
        QCOMPARE(recorder.Ends, 1);
        QVERIFY(recorder.ExitCode != 0);
        QCOMPARE(messagesAtEnd, 0);
        QCOMPARE(dialogs.Messages[0].Text, QString("\"/nonexistent/ffmpeg\" -i \"a b.avi\" doesn't exist."));
        QCOMPARE(dialogs.Messages[0].Icon, TDialogSeam::miCritical);
        QCOMPARE(dialogs.Messages[0].Caption, QCoreApplication::applicationName());
    }

    void emptyCommandLineDoesNothing() {
        TDosCommand runner;
        TRecorder recorder;
        recorder.Bind(runner);
        runner.Execute();
        QVERIFY(!runner.Running());
        QVERIFY(!runner.ProcessTimer());
        QCoreApplication::processEvents();
        QVERIFY(recorder.Events.isEmpty());
    }

    void silentChildTimesOut() {
        TDosCommand runner;
        TRecorder recorder;
        recorder.Bind(runner);
        runner.MaxTimeAfterLastOutput = 5;
        runner.CommandLine = "silent.sh";
        runner.Arguments = QStringList{Fixtures + "/silent.sh"};
        QElapsedTimer clock;
        clock.start();
        runner.Execute();
        QTRY_COMPARE_WITH_TIMEOUT(recorder.Events.size(), 1, 10000);
        const qint64 pid = firstLineAsPid(recorder);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.Ends, 1, 20000);
        // Ended at the first poll after the sixth tick since the last line, not at the fifth.
        QVERIFY2(clock.elapsed() >= 5500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(recorder.ExitCode, STILL_ACTIVE);
        QVERIFY(!ProcessExists(pid));
        QVERIFY(!runner.ProcessTimer()->isActive());
    }

    void destroyingTheRunnerEndsTheChildSilently_data() {
        QTest::addColumn<bool>("insideLineHandler");
        QTest::addRow("between events") << false;
        QTest::addRow("inside a line handler, the worker waiting") << true;
    }
    void destroyingTheRunnerEndsTheChildSilently() {
        QFETCH(bool, insideLineHandler);
        auto* runner = new TDosCommand;
        int eventsAfterDestruction = 0;
        bool destroyed = false;
        qint64 pid = 0;
        runner->OnNewLine = [&](TDosCommand*, const QByteArray& line, TOutputType) {
            if (destroyed) {
                ++eventsAfterDestruction;
                return;
            }
            pid = line.toLongLong();
            if (insideLineHandler) {
                destroyed = true;
                delete runner;
            }
        };
        runner->OnTerminated = [&](TDosCommand*, quint32) { eventsAfterDestruction += destroyed; };
        runner->CommandLine = "silent.sh";
        runner->Arguments = QStringList{Fixtures + "/silent.sh"};
        runner->Execute();
        QTRY_VERIFY_WITH_TIMEOUT(pid != 0, 10000);
        if (!insideLineHandler) {
            destroyed = true;
            delete runner;
        }
        QTRY_VERIFY_WITH_TIMEOUT(!ProcessExists(pid), 10000);
        QTRY_VERIFY(ChildProcesses().isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(eventsAfterDestruction, 0);
    }

    void endHandlerMayFreeTheRunner() {
        auto* runner = new TDosCommand;
        int ends = 0;
        runner->OnTerminated = [&](TDosCommand* sender, quint32) {
            ++ends;
            delete sender;
        };
        runner->CommandLine = "emit.sh";
        runner->Arguments = QStringList{Fixtures + "/emit.sh", "0", "line\\n"};
        runner->Execute();
        QTRY_COMPARE_WITH_TIMEOUT(ends, 1, 10000);
        QTRY_VERIFY(ChildProcesses().isEmpty());
        QCOMPARE(ends, 1);
    }

    void endHandlerMayStartTheNextRun() {
        TDosCommand runner;
        QStringList lines;
        QList<quint32> codes;
        runner.OnNewLine = [&](TDosCommand*, const QByteArray& line, TOutputType) { lines << line; };
        runner.OnTerminated = [&](TDosCommand* sender, quint32 exitCode) {
            codes << exitCode;
            sender->Stop();
            if (codes.size() < 3) {
                sender->Arguments = QStringList{Fixtures + "/emit.sh", QString::number(codes.size()),
                                                QStringLiteral("run %1\\n").arg(codes.size() + 1)};
                sender->Execute();
            }
        };
        runner.CommandLine = "emit.sh";
        runner.Arguments = QStringList{Fixtures + "/emit.sh", "0", "run 1\\n"};
        runner.Execute();
        QTRY_COMPARE_WITH_TIMEOUT(codes.size(), 3, 10000);
        QCOMPARE(lines, (QStringList{"run 1", "run 2", "run 3"}));
        QCOMPARE(codes, (QList<quint32>{0, 1, 2}));
        QTRY_VERIFY(!runner.Running());
    }
};

QTEST_MAIN(TestDosCommand)
#include "tst_DosCommand.moc"
