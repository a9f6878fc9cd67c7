// Figures for the item list with a million rows: AddItems, Export, Import, Clear, a walk over all
// rows, and the memory each row costs beyond its path text. The list control is shown in a real
// view (offscreen), as in the program.
//
//   cmake -S . -B build -G Ninja -DQUELVID_BENCH=ON && cmake --build build --target bench_items
//   QT_QPA_PLATFORM=offscreen build/bench/bench_items [rows]

#include "items/itemManager.h"
#include "items/saveManager.h"
#include "items/treeManager.h"
#include "platform/VirtualStringTree.h"
#include "platform/bigAlloc.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <malloc.h>

namespace {

qint64 heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks) + qint64(info.hblkhd) + qint64(BigMappedBytes());
}

qint64 rssKiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

void settle() {
    // Let the view lay out and paint what changed, as the event loop of the program would.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// CPU time of the process: the machine may be shared, so wall time alone can mislead.
qint64 cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

class TStopwatch {
public:
    TStopwatch() { restart(); }
    void restart() {
        wall_.start();
        cpu_ = cpuMs();
    }
    void report(const char* what, const char* goal) {
        std::printf("%-34s %7lld ms wall %7lld ms CPU   (goal %s)\n", what,
                    static_cast<long long>(wall_.elapsed()), static_cast<long long>(cpuMs() - cpu_), goal);
        restart();
    }

private:
    QElapsedTimer wall_;
    qint64 cpu_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;

    TVirtualStringTree tree;
    tree.resize(828, 249);
    tree.setColumnWidth(0, 700);
    tree.setColumnWidth(1, 100);
    tree.SetDefaultNodeHeight(25);
    tree.OnGetText = [&](PVirtualNode node, int column) {
        return column == 0 ? tree.GetNodeData(node)->ItemData.FileName : QString();
    };
    tree.show();
    for (int i = 0; i < 100 && !(tree.windowHandle() && tree.windowHandle()->isExposed()); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    settle();

    TItemManager staging;
    ItemManager = &staging;
    TTreeManager manager(&tree);
    TSaveManager saveManager(&tree);

    const qint64 heapBefore = heapInUse();
    QList<QByteArray> files;
    files.reserve(count);
    qint64 pathChars = 0;
    for (int i = 0; i < count; ++i) {
        files.append(QByteArray("/home/someone/Videos/2026 holiday/camera-a/clip-") +
                     QByteArray::number(i).rightJustified(7, '0') + ".mp4");
        pathChars += files.back().size();
    }
    std::printf("%d rows, average path %.1f characters\n\n", count, double(pathChars) / count);

    TStopwatch timer;
    for (int i = 0; i < count; ++i)
        staging.AddItem(files[i], i % 20, i % 3 ? QByteArray() : QByteArray("/home/someone/Converted/"));
    timer.report("staging (AddItem x rows)", "-");
    const qint64 heapStaged = heapInUse();

    manager.AddItems(files);
    timer.report("AddItems", "<= 2000 ms");
    const qint64 heapRows = heapInUse();
    settle();
    timer.report("  then layout and paint", "-");
    const qint64 heapLaidOut = heapInUse();

    files.clear();
    files.squeeze();
    const qint64 heapAfter = heapInUse();
    std::printf("heap per row: staged %+.1f, rows %+.1f, view layout %+.1f bytes\n",
                double(heapStaged - heapBefore) / count, double(heapRows - heapStaged) / count,
                double(heapLaidOut - heapRows) / count);
    // Path text: the UTF-16 characters of FileName (2 bytes each).
    const double perItem = double(heapAfter - heapBefore - 2 * pathChars) / count;
    std::printf("%-34s %7.1f bytes (goal <= 250; heap %lld MiB, RSS %lld MiB)\n",
                "memory per row beyond path text", perItem,
                static_cast<long long>((heapAfter - heapBefore) >> 20),
                static_cast<long long>(rssKiB() >> 10));

    timer.restart();
    qint64 walked = 0;
    for (PVirtualNode n = tree.GetFirst(); n; n = tree.GetNextSibling(n))
        walked += tree.GetNodeData(n)->ItemData.FileName.size();
    timer.report("walk GetFirst/GetNextSibling", "<= 50 ms");
    if (walked != pathChars)
        std::printf("warning: walk saw %lld characters\n", static_cast<long long>(walked));

    QTemporaryDir dir;
    const QString path = dir.filePath("million.rfl");
    timer.restart();
    saveManager.Export(path);
    timer.report("Export", "<= 1000 ms");
    std::printf("%-34s %7lld MiB\n", "  list file size",
                static_cast<long long>(QFileInfo(path).size() >> 20));

    tree.Clear();
    timer.report("Clear", "<= 500 ms");
    settle();
    timer.restart();

    saveManager.Import(path);
    timer.report("Import", "<= 2000 ms");
    settle();
    timer.report("  then layout and paint", "-");
    if (tree.TotalCount() != quint32(count))
        std::printf("warning: Import gave %u rows\n", tree.TotalCount());

    tree.Clear();
    timer.report("Clear after Import", "<= 500 ms");
    ItemManager = nullptr;
    return 0;
}
