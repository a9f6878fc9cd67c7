// Takes the README's screenshot: the real main window at work on four items (one converted, one
// failed, one converting, one waiting), written to the PNG given as the argument.
//
//   cmake --build build --target quelvid-screenshot
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/quelvid-screenshot docs/screenshot.png

#include "engine/command.h"
#include "items/itemManager.h"
#include "items/treeManager.h"
#include "platform/VirtualStringTree.h"
#include "platform/dialogSeam.h"
#include "platform/programFolder.h"
#include "shell/mainForm.h"
#include "shell/uihook.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

bool MakeClip(const QString& path, int seconds) {
    return QProcess::execute(QStringLiteral(QUELVID_FFMPEG), {"-nostdin", "-v",
                                                              "error",    "-y",
                                                              "-f",       "lavfi",
                                                              "-i",       "testsrc=size=320x240:rate=25",
                                                              "-f",       "lavfi",
                                                              "-i",       "sine",
                                                              "-t",       QString::number(seconds),
                                                              "-c:v",     "mpeg4",
                                                              "-c:a",     "pcm_s16le",
                                                              "-f",       "avi",
                                                              path}) == 0;
}

void WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

int main(int argc, char** argv) {
    TQuelvidApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quelvid"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: quelvid-screenshot <output.png>\n");
        return 2;
    }
    // A program folder of its own: the encoder and two formats, one of which runs in real time so
    // that the third item is still converting when the picture is taken.
    QTemporaryDir program;
    QDir(program.path()).mkpath(QStringLiteral("bin"));
    QDir(program.path()).mkpath(QStringLiteral("convert"));
    QFile::link(QStringLiteral(QUELVID_FFMPEG), program.filePath(QStringLiteral("bin/ffmpeg")));
    QFile command(program.filePath(QStringLiteral("command")));
    if (!command.open(QIODevice::WriteOnly))
        return 1;
    command.write("<formats>"
                  "<entry><format>MP4 (MPEG-4 video, AAC audio)</format>"
                  "<params>-nostdin -n -c:v mpeg4 -c:a aac</params><ext>mp4</ext></entry>"
                  "<entry><format>MP4 (MPEG-4 video, AAC audio), real time</format>"
                  "<params>-nostdin -n -vf realtime -c:v mpeg4 -c:a aac</params><ext>mp4</ext></entry>"
                  "</formats>");
    command.close();
    SetProgramFolderOverride(program.path());

    const QString videos = QDir::tempPath() + QStringLiteral("/quelvid-demo/Videos/");
    QDir().mkpath(videos);
    const QString converted = videos + QStringLiteral("Beach day in Lisbon.avi");
    const QString failed = videos + QStringLiteral("Interrupted download.mpg");
    const QString converting = videos + QStringLiteral("Birthday party.mov");
    const QString waiting = videos + QStringLiteral("Graduation ceremony.mp4");
    QFile broken(failed);
    if (!broken.open(QIODevice::WriteOnly))
        return 1;
    broken.write("not a video");
    broken.close();
    if (!MakeClip(converted, 2) || !MakeClip(converting, 60) || !MakeClip(waiting, 2))
        return 1;

    TScriptedDialogs dialogs;
    SetDialogs(&dialogs);
    auto* window = new TmainDlg();
    window->show();
    const QList<QPair<QString, int>> items{{converted, 0}, {failed, 0}, {converting, 1}, {waiting, 0}};
    QList<QByteArray> files;
    for (const auto& [file, format] : items) {
        ItemManager->AddItem(file.toUtf8(), format, QByteArray());
        files << file.toUtf8();
    }
    TreeManager->AddItems(files);
    window->UIHook()->RefreshCount(0);
    window->UIHook()->ConvertItems(nullptr);
    WaitUntil([] { return BatchDriver->CurrentIndex() == 2 && BatchDriver->ElapsedSeconds() >= 23; }, 60000);
    QCoreApplication::processEvents();
    const bool saved = window->grab().save(QString::fromLocal8Bit(argv[1]));
    window->UIHook()->StopConvert(nullptr);
    WaitUntil([] { return BatchDriver->IsIdle(); }, 10000);
    delete window;
    SetDialogs(nullptr);
    QDir(QDir::tempPath() + QStringLiteral("/quelvid-demo")).removeRecursively();
    return saved ? 0 : 1;
}
