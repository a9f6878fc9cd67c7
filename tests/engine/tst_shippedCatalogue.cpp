#include "engine/commandManager.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// The format catalogue that ships beside the program, run through the real encoder.
class TestShippedCatalogue : public QObject {
    Q_OBJECT

    struct Expected {
        QByteArray ext;
        QStringList codecs; // every stream of the output, in ffprobe's order of codec names, sorted
    };

    // What a person choosing each format gets. A new catalogue entry must be added here.
    const QHash<QString, Expected> expected_ = {
        {"MP4 video (H.264 / AAC)", {"mp4", {"aac", "h264"}}},
        {"MP4 video, smaller files (H.265 / AAC)", {"mp4", {"aac", "hevc"}}},
        {"MKV video (H.264 / AAC, keeps subtitles)", {"mkv", {"aac", "h264"}}},
        {"WebM video (VP9 / Opus)", {"webm", {"opus", "vp9"}}},
        {"WebM video for older browsers (VP8 / Vorbis)", {"webm", {"vorbis", "vp8"}}},
        {"AV1 video (AV1 / Opus in WebM)", {"webm", {"av1", "opus"}}},
        {"AVI video (MPEG-4 / MP3)", {"avi", {"mp3", "mpeg4"}}},
        {"QuickTime MOV video (H.264 / AAC)", {"mov", {"aac", "h264"}}},
        {"DVD video, PAL 720x576 (MPEG-2 / AC-3)", {"mpg", {"ac3", "dvd_nav_packet", "mpeg2video"}}},
        {"DVD video, NTSC 720x480 (MPEG-2 / AC-3)", {"mpg", {"ac3", "dvd_nav_packet", "mpeg2video"}}},
        {"Flash video (FLV / MP3)", {"flv", {"flv1", "mp3"}}},
        {"Windows Media video (WMV / WMA)", {"wmv", {"wmav2", "wmv2"}}},
        {"Ogg video (Theora / Vorbis)", {"ogv", {"theora", "vorbis"}}},
        {"Animated GIF (no sound, up to 480 pixels wide)", {"gif", {"gif"}}},
        {"MP3 audio only", {"mp3", {"mp3"}}},
        {"AAC audio only (M4A)", {"m4a", {"aac"}}},
        {"Opus audio only (Ogg)", {"opus", {"opus"}}},
        {"Ogg Vorbis audio only", {"ogg", {"vorbis"}}},
        {"FLAC audio only (lossless)", {"flac", {"flac"}}},
        {"WAV audio only (uncompressed)", {"wav", {"pcm_s16le"}}},
    };

    QTemporaryDir dir_;
    QString clip_;
    TCommandManager catalogue_{QStringLiteral(QUELVID_BUILD_DIR "/command")};

    static QStringList probeCodecs(const QString& file) {
        QProcess probe;
        probe.start(QUELVID_FFPROBE,
                    {"-v", "error", "-show_entries", "stream=codec_name", "-of", "csv=p=0", file});
        if (!probe.waitForFinished(60000) || probe.exitCode() != 0)
            return {"ffprobe failed"};
        QStringList codecs;
        for (const QByteArray& line : probe.readAllStandardOutput().split('\n')) {
            const QByteArray codec = line.trimmed().split(',').first();
            if (!codec.isEmpty())
                codecs << QString::fromUtf8(codec);
        }
        codecs.sort();
        return codecs;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // A short clip with picture and sound, odd-sized so that formats needing even sizes must cope.
        clip_ = dir_.filePath("clip.mkv");
        QProcess ffmpeg;
        ffmpeg.start(QUELVID_FFMPEG,
                     {"-v", "error", "-nostdin", "-f", "lavfi", "-i", "testsrc=size=127x95:rate=10", "-f",
                      "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t", "0.5", "-c:v", "ffv1",
                      "-c:a", "flac", clip_});
        QVERIFY(ffmpeg.waitForFinished(60000));
        QCOMPARE(ffmpeg.exitCode(), 0);
    }

    void everyEntryIsUsable() {
        const QStringList names = catalogue_.FormatNames();
        QVERIFY2(names.size() >= 15, "the catalogue offers at least 15 formats");
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        for (qint32 i = 0; i < names.size(); ++i) {
            const QByteArray params = catalogue_.GetParams(i);
            QVERIFY2(params.startsWith("-nostdin -n "), qPrintable(names[i]));
            QVERIFY2(expected_.contains(names[i]), qPrintable("no expectation for " + names[i]));
            QCOMPARE(catalogue_.GetExt(i), expected_[names[i]].ext);
        }
    }

    void everyEntryConverts_data() {
        QTest::addColumn<qint32>("index");
        for (qint32 i = 0; i < catalogue_.FormatNames().size(); ++i)
            QTest::addRow("%s", qPrintable(catalogue_.FormatNames()[i])) << i;
    }
    void everyEntryConverts() {
        QFETCH(qint32, index);
        const QString name = catalogue_.FormatNames()[index];
        const QString output =
            dir_.filePath(QString("out%1.").arg(index) + QString::fromUtf8(catalogue_.GetExt(index)));
        // The argument order the program uses: -i <input> <params> <output>.
        QStringList args{"-i", clip_};
        args += QProcess::splitCommand(QString::fromUtf8(catalogue_.GetParams(index)));
        args << output;
        QProcess ffmpeg;
        ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
        ffmpeg.setStandardInputFile(QProcess::nullDevice());
        ffmpeg.start(QUELVID_FFMPEG, args);
        QVERIFY(ffmpeg.waitForFinished(300000));
        QVERIFY2(ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0,
                 ffmpeg.readAll().right(2000).constData());
        QCOMPARE(probeCodecs(output), expected_[name].codecs);

        // "-n": a second run never overwrites the file, and fails instead of asking.
        const qint64 size = QFileInfo(output).size();
        ffmpeg.start(QUELVID_FFMPEG, args);
        QVERIFY(ffmpeg.waitForFinished(60000));
        QVERIFY(ffmpeg.exitCode() != 0);
        QCOMPARE(QFileInfo(output).size(), size);
    }
};

QTEST_GUILESS_MAIN(TestShippedCatalogue)
#include "tst_shippedCatalogue.moc"
