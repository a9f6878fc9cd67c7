#pragma once

#include "engine/commandManager.h"
#include "platform/programFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

// A program folder of its own for a test: bin/ffmpeg (a link to the real encoder, unless the test
// wants it missing), an empty convert/ folder and a command file with two formats, installed as the
// program's folder and catalogue for the life of the fixture.
//   0 "MP4 quick":     MPEG-4 video and AAC audio, as fast as the encoder goes;
//   1 "MP4 real time": the same, but never faster than the clip plays, so that a conversion
//                      lasts as long as its clip (for stopping one midway).
class TEncoderFixture {
public:
    enum { fmtQuick = 0, fmtRealTime = 1 };

    explicit TEncoderFixture(bool withEncoder = true) {
        QDir(folder_.path()).mkpath(QStringLiteral("bin"));
        QDir(folder_.path()).mkpath(QStringLiteral("convert"));
        if (withEncoder)
            InstallEncoder();
        QFile command(folder_.filePath(QStringLiteral("command")));
        if (command.open(QIODevice::WriteOnly)) {
            command.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<formats>\n"
                          "  <entry><format>MP4 quick</format>"
                          "<params>-nostdin -n -c:v mpeg4 -q:v 8 -c:a aac -b:a 32k</params>"
                          "<ext>mp4</ext></entry>\n"
                          "  <entry><format>MP4 real time</format>"
                          "<params>-nostdin -n -vf realtime -c:v mpeg4 -q:v 8 -c:a aac -b:a 32k</params>"
                          "<ext>mp4</ext></entry>\n"
                          "</formats>\n");
        }
        command.close();
        SetProgramFolderOverride(folder_.path());
        catalogue_ = std::make_unique<TCommandManager>(folder_.filePath(QStringLiteral("command")));
        previous_ = CommandManager;
        CommandManager = catalogue_.get();
    }
    ~TEncoderFixture() {
        CommandManager = previous_;
        SetProgramFolderOverride(QString());
    }
    TEncoderFixture(const TEncoderFixture&) = delete;
    TEncoderFixture& operator=(const TEncoderFixture&) = delete;

    void InstallEncoder() {
        QFile::link(QStringLiteral(QUELVID_FFMPEG), folder_.filePath(QStringLiteral("bin/ffmpeg")));
    }
    // The program folder, with a trailing '/'.
    QString Folder() const { return folder_.path() + u'/'; }
    QString ConvertFolder() const { return Folder() + QStringLiteral("convert/"); }

    // Generates a test clip: testsrc picture and a sine tone, MPEG-4 and PCM in AVI, whatever the name.
    static bool MakeClip(const QString& path, double seconds) {
        QStringList args{"-nostdin", "-v",
                         "error",    "-y",
                         "-f",       "lavfi",
                         "-i",       "testsrc=size=96x64:rate=10",
                         "-f",       "lavfi",
                         "-i",       "sine=frequency=440:sample_rate=8000",
                         "-t",       QString::number(seconds),
                         "-c:v",     "mpeg4",
                         "-c:a",     "pcm_s16le",
                         "-f",       "avi",
                         path};
        return QProcess::execute(QStringLiteral(QUELVID_FFMPEG), args) == 0;
    }

    // True when the file is a media file the encoder can read back, with a positive duration.
    static bool IsPlayable(const QString& path) {
        QProcess probe;
        probe.start(QStringLiteral(QUELVID_FFPROBE),
                    {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", path});
        if (!probe.waitForFinished(30000) || probe.exitCode() != 0 ||
            !(probe.readAllStandardOutput().trimmed().toDouble() > 0)) {
            qWarning("%s: not playable: %s", qPrintable(path), probe.readAllStandardError().constData());
            return false;
        }
        return true;
    }

private:
    QTemporaryDir folder_;
    std::unique_ptr<TCommandManager> catalogue_;
    TCommandManager* previous_ = nullptr;
};
