// Figures for the application as a whole:
//   startup  from process start to the main window painted, with the one-second splash;
//   list     a million items in the main window: one page of scrolling, adding, exporting,
//            importing and clearing with the list attached and visible;
//   cpu      the program's own CPU use while one long conversion runs in the main window.
//
//   cmake -S . -B build -G Ninja -DQUELVID_BENCH=ON && cmake --build build --target bench_mainwindow
//   build/bench/bench_mainwindow [startup|list|cpu] [rows]
// Without an argument all three run (startup first, since it measures from process start).

#include "controls/FSProgressBar.h"
#include "engine/command.h"
#include "items/itemManager.h"
#include "items/saveManager.h"
#include "items/treeManager.h"
#include "platform/VirtualStringTree.h"
#include "platform/dialogSeam.h"
#include "platform/programFolder.h"
#include "shell/SplashForm.h"
#include "shell/mainForm.h"
#include "shell/uihook.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Milliseconds since this process was started, from the kernel's record of its start time.
double MsSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22: start time in clock ticks
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Report(const char* what, double value, const char* unit, const char* goal) {
    std::printf("%-46s %9.2f %s   (goal %s)\n", what, value, unit, goal);
    std::fflush(stdout);
}

// A program folder of the bench's own: the encoder, the shipped catalogue plus a real-time format.
class TProgramFolder {
public:
    TProgramFolder() {
        QDir(dir_.path()).mkpath(QStringLiteral("bin"));
        QDir(dir_.path()).mkpath(QStringLiteral("convert"));
        QFile::link(QStringLiteral(QUELVID_FFMPEG), dir_.filePath(QStringLiteral("bin/ffmpeg")));
        QFile command(dir_.filePath(QStringLiteral("command")));
        if (command.open(QIODevice::WriteOnly))
            command.write("<formats><entry><format>MP4 real time</format>"
                          "<params>-nostdin -n -vf realtime -c:v mpeg4 -q:v 8 -c:a aac</params>"
                          "<ext>mp4</ext></entry></formats>");
        command.close();
        SetProgramFolderOverride(dir_.path());
    }
    ~TProgramFolder() { SetProgramFolderOverride(QString()); }
    QString Path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

void BenchStartup() {
    // The program's own start-up sequence; the window counts as shown once it has been painted.
    QApplication::setApplicationName(QStringLiteral("Quelvid"));
    const double beforeSplash = MsSinceProcessStart();
    const double cpuBeforeSplash = CpuMs();
    ShowSplash(1000, GetTickCount, PreloadMainWindow);
    const double splashCpu = CpuMs() - cpuBeforeSplash;
    const double splashDone = MsSinceProcessStart();
    QElapsedTimer create;
    create.start();
    auto* window = new TmainDlg();
    const double created = double(create.nsecsElapsed()) / 1e6;
    HideSplash();
    window->show();
    while (!window->isVisible() || window->visibleRegion().isEmpty())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    window->repaint();
    const double shown = MsSinceProcessStart();
    Report("start-up: process start to main window shown", shown, "ms", "<= 1150 ms");
    Report("  process start to the splash's wait", beforeSplash, "ms", "-");
    Report("  end of the splash to main window shown", shown - splashDone, "ms", "-");
    Report("  main window and controller created", created, "ms", "-");
    Report("  CPU used during the splash (with preloading)", splashCpu, "ms", "no spinning");
    delete window;
}

void BenchList(int rows) {
    TScriptedDialogs dialogs;
    SetDialogs(&dialogs);
    TProgramFolder folder;
    auto* window = new TmainDlg();
    window->show();
    Settle();
    TVirtualStringTree& list = *window->VirtualStringTree1;
    TUIHook& hook = *window->UIHook();

    QList<QByteArray> files;
    files.reserve(rows);
    for (int i = 0; i < rows; ++i)
        files << QByteArray("/home/someone/Videos/holiday 2026/clip number ") + QByteArray::number(i) +
                     ".mp4";
    QElapsedTimer timer;
    timer.start();
    for (const QByteArray& file : files)
        ItemManager->AddItem(file, 0, QByteArray());
    Report("stage 1,000,000 items (Add Files dialog's OK)", double(timer.elapsed()), "ms", "-");
    timer.start();
    TreeManager->AddItems(files);
    hook.RefreshCount(0);
    Settle();
    Report("AddItems of 1,000,000 items, count label, paint", double(timer.elapsed()), "ms", "<= 2000 ms");

    // One page down, repainted at once, averaged over many pages.
    QScrollBar* bar = list.verticalScrollBar();
    const int pages = 200;
    double worst = 0;
    timer.start();
    for (int i = 0; i < pages; ++i) {
        QElapsedTimer page;
        page.start();
        bar->setValue(bar->value() + bar->pageStep());
        list.viewport()->repaint();
        worst = std::max(worst, double(page.nsecsElapsed()) / 1e6);
    }
    Report("scroll one page and repaint (mean)", double(timer.nsecsElapsed()) / 1e6 / pages, "ms",
           "<= 16 ms");
    Report("scroll one page and repaint (worst)", worst, "ms", "<= 16 ms");
    bar->setValue(bar->maximum() / 2);
    timer.start();
    for (int i = 0; i < pages; ++i) {
        bar->setValue(bar->value() + bar->pageStep());
        list.viewport()->repaint();
    }
    Report("scroll one page mid-list (mean)", double(timer.nsecsElapsed()) / 1e6 / pages, "ms", "<= 16 ms");

    const QString path = folder.Path(QStringLiteral("million"));
    dialogs.SaveFileNameAnswers << path;
    timer.start();
    hook.ExportList(nullptr);
    Report("export through the Export command", double(timer.elapsed()), "ms", "<= 1000 ms");

    timer.start();
    hook.ClearItems(nullptr);
    Settle();
    Report("clear through the Clear command", double(timer.elapsed()), "ms", "<= 500 ms");

    dialogs.OpenFileNameAnswers << path + QStringLiteral(".rfl");
    timer.start();
    hook.ImportList(nullptr);
    Settle();
    Report("import through the Import command", double(timer.elapsed()), "ms", "<= 2000 ms");
    std::printf("  rows after import: %u, count label: %s\n", list.TotalCount(),
                qPrintable(window->lbCount->text()));
    timer.start();
    hook.ClearItems(nullptr);
    Settle();
    Report("clear again", double(timer.elapsed()), "ms", "<= 500 ms");
    delete window;
    SetDialogs(nullptr);
}

void BenchCpu() {
    TScriptedDialogs dialogs;
    SetDialogs(&dialogs);
    TProgramFolder folder;
    const QString clip = folder.Path(QStringLiteral("long clip.avi"));
    QProcess::execute(QStringLiteral(QUELVID_FFMPEG),
                      {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=10",
                       "-f", "lavfi", "-i", "sine", "-t", "30", "-c:v", "mpeg4", "-c:a", "pcm_s16le", clip});
    auto* window = new TmainDlg();
    window->show();
    Settle();
    // Some rows around the running one, so that a repaint of more than one row would show.
    for (int i = 0; i < 20; ++i)
        ItemManager->AddItem(clip.toUtf8(), 0, QByteArray());
    QList<QByteArray> files(20, clip.toUtf8());
    TreeManager->AddItems(files);
    Settle();
    window->UIHook()->ConvertItems(nullptr);
    Wait(2000); // the encoder is up and running
    const double cpuBefore = CpuMs();
    QElapsedTimer wall;
    wall.start();
    Wait(15000);
    const double cpu = CpuMs() - cpuBefore;
    const double share = cpu / double(wall.elapsed()) * 100.0;
    std::printf("  elapsed readout: %s\n", qPrintable(window->lbTimer->text()));
    Report("CPU of the program during a conversion", share, "% of a core", "<= 0.5 %");
    window->UIHook()->StopConvert(nullptr);
    QElapsedTimer stop;
    stop.start();
    while (!BatchDriver->IsIdle() && stop.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    delete window;
    SetDialogs(nullptr);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TQuelvidApplication app(argc, argv);
    const QByteArray what = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const int rows = argc > 2 ? QByteArray(argv[2]).toInt() : 1000000;
    if (what.isEmpty() || what == "startup")
        BenchStartup();
    if (what.isEmpty() || what == "list")
        BenchList(rows);
    if (what.isEmpty() || what == "cpu")
        BenchCpu();
    return 0;
}
