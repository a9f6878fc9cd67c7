// Conversion engine figures: output capture rate, Stop answer time, the program's own CPU time while
// an encode runs, and the batch driver's overhead over a plain loop running the same encoder commands.
// Usage: bench_engine [capture|stop|quiet|batch|overhead]... (all when none is named)

#include "engine/command.h"
#include "platform/VirtualStringTree.h"

#include "encoderFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <numeric>
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the program's event loop (deferred deletions included, as in the program) until finish() has
// set the flag.
QEventLoop* runningLoop = nullptr;
void waitFor(const bool& flag) {
    if (flag)
        return;
    QEventLoop loop;
    runningLoop = &loop;
    loop.exec();
    runningLoop = nullptr;
}
void finish(bool& flag) {
    flag = true;
    if (runningLoop)
        runningLoop->quit();
}

void pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// seq 1000000 through the runner: every line must arrive complete and in order.
void benchCapture() {
    const int count = 1000000;
    for (int round = 0; round < 3; ++round) {
        TDosCommand runner;
        qint64 expected = 1;
        bool inOrder = true, ended = false;
        runner.OnNewLine = [&](TDosCommand*, const QByteArray& line, TOutputType type) {
            if (type != otEntireLine)
                return;
            inOrder = inOrder && line.toLongLong() == expected;
            ++expected;
        };
        runner.OnTerminated = [&](TDosCommand*, quint32) { finish(ended); };
        runner.CommandLine = "seq " + QByteArray::number(count);
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = cpuSeconds();
        runner.Execute();
        waitFor(ended);
        const double seconds = clock.nsecsElapsed() / 1e9;
        std::printf("capture: %d lines in %.3f s = %.0f lines/s (program CPU %.3f s), %s\n", count, seconds,
                    count / seconds, cpuSeconds() - cpuBefore,
                    inOrder && expected == count + 1 ? "complete and in order" : "WRONG");
    }
}

// Stop of a child that honours SIGTERM, answered by OnTerminated.
void benchStop() {
    QList<double> answers;
    for (int trial = 0; trial < 10; ++trial) {
        TDosCommand runner;
        bool ended = false;
        QElapsedTimer clock;
        runner.OnTerminated = [&](TDosCommand*, quint32) {
            answers << clock.nsecsElapsed() / 1e6;
            finish(ended);
        };
        runner.CommandLine = "sleep 600";
        runner.Execute();
        pause(150 + 7 * trial); // stop at different points of the poll cycle
        clock.start();
        runner.Stop();
        waitFor(ended);
    }
    std::sort(answers.begin(), answers.end());
    std::printf("stop: OnTerminated %.1f ms after Stop (median of 10), %.1f ms at most\n", answers[5],
                answers.last());
}

// The program's own CPU time (all its threads, children excluded) while one encode of 11 s runs.
void benchQuiet() {
    TEncoderFixture fixture;
    QTemporaryDir clips;
    const QString clip = clips.filePath("long.avi");
    TEncoderFixture::MakeClip(clip, 11);
    TVirtualStringTree tree;
    PVirtualNode node = tree.AddChild();
    tree.GetNodeData(node)->ItemData.FileName = clip;
    tree.GetNodeData(node)->ItemData.FormatIndex = TEncoderFixture::fmtRealTime;
    TCommand driver(&tree);
    bool complete = false;
    int lines = 0;
    driver.OnProgress = [](TCommand*, quint32) {};
    driver.OnComplete = [&](TCommand*, bool) { finish(complete); };
    driver.OnOutputLine = [&](TDosCommand*, qint32) { ++lines; };
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = cpuSeconds();
    driver.Start();
    waitFor(complete);
    const double cpu = cpuSeconds() - cpuBefore;
    const double wall = clock.nsecsElapsed() / 1e9;
    std::printf("quiet: encode of %.1f s (%d output lines, status %d): program CPU %.4f s = %.3f %% of one "
                "core\n",
                wall, lines, tree.GetNodeData(node)->Status, cpu, 100 * cpu / wall);
}

// 20 short clips: TCommand against a plain loop of the very same argument vectors, interleaved.
void benchBatch() {
    TEncoderFixture fixture;
    QTemporaryDir clips;
    const int count = 20;
    QStringList inputs;
    for (int i = 0; i < count; ++i) {
        inputs << clips.filePath(QStringLiteral("clip%1.avi").arg(i, 2, 10, QLatin1Char('0')));
        TEncoderFixture::MakeClip(inputs.last(), 2);
    }
    const QByteArray encoder = (fixture.Folder() + "bin/ffmpeg").toUtf8();
    const QByteArray params = CommandManager->GetParams(TEncoderFixture::fmtQuick);
    auto emptyConvertFolder = [&] {
        const QStringList names = QDir(fixture.ConvertFolder()).entryList(QDir::Files);
        for (const QString& name : names)
            QFile::remove(fixture.ConvertFolder() + name);
    };

    auto plainLoop = [&] {
        emptyConvertFolder();
        QElapsedTimer clock;
        clock.start();
        for (const QString& in : inputs) {
            const QByteArray name = QFileInfo(in).completeBaseName().toUtf8() + ".mp4";
            const TCommand::TEncoderCommand command = TCommand::EncoderCommand(
                encoder, in.toUtf8(), params, fixture.ConvertFolder().toUtf8() + name);
            QProcess process;
            process.setProcessChannelMode(QProcess::MergedChannels);
            process.setStandardInputFile(QProcess::nullDevice());
            process.start(command.Arguments.first(), command.Arguments.mid(1));
            process.waitForFinished(-1);
            if (process.exitCode() != 0)
                std::printf("plain loop: %s failed\n", qPrintable(in));
        }
        return clock.nsecsElapsed() / 1e9;
    };

    TVirtualStringTree tree;
    for (const QString& in : inputs) {
        PVirtualNode node = tree.AddChild();
        tree.GetNodeData(node)->ItemData.FileName = in;
        tree.GetNodeData(node)->ItemData.FormatIndex = TEncoderFixture::fmtQuick;
    }
    TCommand driver(&tree);
    bool complete = false;
    driver.OnProgress = [](TCommand*, quint32) {};
    driver.OnComplete = [&](TCommand*, bool) { finish(complete); };
    auto batch = [&] {
        emptyConvertFolder();
        complete = false;
        QElapsedTimer clock;
        clock.start();
        driver.Start();
        waitFor(complete);
        const double seconds = clock.nsecsElapsed() / 1e9;
        for (PVirtualNode node = tree.GetFirst(); node; node = tree.GetNextSibling(node)) {
            if (tree.GetNodeData(node)->Status != stConverted)
                std::printf("driver: item %u failed\n", node->Index());
        }
        return seconds;
    };

    plainLoop(); // warm the caches once
    // The machine is shared: the two take turns going first, and the figures are given as the ratio of
    // the totals, the median of the per-round ratios and the ratio of the best rounds.
    QList<double> plains, drivens, ratios;
    const int rounds = 6;
    for (int round = 0; round < rounds; ++round) {
        double plain, driven;
        if (round % 2 == 0) {
            plain = plainLoop();
            driven = batch();
        } else {
            driven = batch();
            plain = plainLoop();
        }
        plains << plain;
        drivens << driven;
        ratios << driven / plain;
        std::printf("batch round %d: plain loop %.3f s, TCommand %.3f s, ratio %.4f\n", round + 1, plain,
                    driven, driven / plain);
    }
    const double plainTotal = std::accumulate(plains.begin(), plains.end(), 0.0);
    const double drivenTotal = std::accumulate(drivens.begin(), drivens.end(), 0.0);
    std::sort(ratios.begin(), ratios.end());
    std::printf(
        "batch: %d clips x %d rounds: ratio of totals %.4f, median ratio %.4f, best rounds %.3f s / "
        "%.3f s = %.4f\n",
        count, rounds, drivenTotal / plainTotal, (ratios[rounds / 2 - 1] + ratios[rounds / 2]) / 2,
        *std::min_element(drivens.begin(), drivens.end()), *std::min_element(plains.begin(), plains.end()),
        *std::min_element(drivens.begin(), drivens.end()) / *std::min_element(plains.begin(), plains.end()));
}

// The driver's own cost per item, without the encoder's noise: an encoder that does nothing
// (/bin/true in place of bin/ffmpeg), 200 items, against a plain loop starting /bin/true as often.
void benchOverhead() {
    TEncoderFixture fixture(false);
    QFile::link(QStringLiteral("/bin/true"), fixture.Folder() + "bin/ffmpeg");
    const int count = 200;
    TVirtualStringTree tree;
    for (int i = 0; i < count; ++i) {
        PVirtualNode node = tree.AddChild();
        tree.GetNodeData(node)->ItemData.FileName = QStringLiteral("/nonexistent/clip%1.avi").arg(i);
        tree.GetNodeData(node)->ItemData.FormatIndex = TEncoderFixture::fmtQuick;
    }
    TCommand driver(&tree);
    bool complete = false;
    driver.OnProgress = [](TCommand*, quint32) {};
    driver.OnComplete = [&](TCommand*, bool) { finish(complete); };
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < count; ++i) {
            QProcess process;
            process.setProcessChannelMode(QProcess::MergedChannels);
            process.setStandardInputFile(QProcess::nullDevice());
            process.start(QStringLiteral("/bin/true"), {"-i", "x", "y"});
            process.waitForFinished(-1);
        }
        const double plain = clock.nsecsElapsed() / 1e6;
        complete = false;
        clock.restart();
        driver.Start();
        waitFor(complete);
        const double driven = clock.nsecsElapsed() / 1e6;
        std::printf("overhead: %d runs of /bin/true: plain loop %.1f ms, TCommand %.1f ms: %.3f ms more per "
                    "item\n",
                    count, plain, driven, (driven - plain) / count);
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList parts = app.arguments().mid(1);
    if (parts.isEmpty())
        parts = {"capture", "stop", "quiet", "batch", "overhead"};
    for (const QString& part : parts) {
        if (part == "capture")
            benchCapture();
        else if (part == "stop")
            benchStop();
        else if (part == "quiet")
            benchQuiet();
        else if (part == "batch")
            benchBatch();
        else if (part == "overhead")
            benchOverhead();
        std::fflush(stdout);
    }
    return 0;
}
