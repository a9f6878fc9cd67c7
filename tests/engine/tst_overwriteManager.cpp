#include "engine/overwriteManager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestOverwriteManager : public QObject {
    Q_OBJECT
private slots:
    void uniqueNameInsertsTwoBeforeTheExtension_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("expected");
        QTest::addRow("free name stays") << "clip.mp4" << QStringList() << QStringList() << "clip.mp4";
        QTest::addRow("taken name") << "clip.mp4" << QStringList{"clip.mp4"} << QStringList() << "clip_2.mp4";
        QTest::addRow("always 2, never a counter")
            << "clip.mp4" << QStringList{"clip.mp4", "clip_2.mp4", "clip_3.mp4"} << QStringList()
            << "clip_2_2.mp4";
        QTest::addRow("last dot only")
            << "movie.part1.mp4" << QStringList{"movie.part1.mp4"} << QStringList() << "movie.part1_2.mp4";
        QTest::addRow("no extension")
            << "clip" << QStringList{"clip", "clip_2"} << QStringList() << "clip_2_2";
        QTest::addRow("a dot in a folder name is no extension")
            << "v1.d/clip" << QStringList{"v1.d/clip"} << QStringList{"v1.d"} << "v1.d/clip_2";
        QTest::addRow("a folder does not count")
            << "clip.mp4" << QStringList() << QStringList{"clip.mp4"} << "clip.mp4";
    }
    void uniqueNameInsertsTwoBeforeTheExtension() {
        QFETCH(QString, path);
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString& folder : folders)
            QVERIFY(QDir(dir.path()).mkpath(folder));
        for (const QString& name : files) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        TOverwriteManager manager;
        QCOMPARE(manager.UniqueName(dir.filePath(path).toUtf8()), dir.filePath(expected).toUtf8());
    }

    void danglingLinkCountsAsTaken() {
        QTemporaryDir dir;
        QVERIFY(QFile::link(dir.filePath("nowhere/target.mp4"), dir.filePath("clip.mp4")));
        TOverwriteManager manager;
        QCOMPARE(manager.UniqueName(dir.filePath("clip.mp4").toUtf8()), dir.filePath("clip_2.mp4").toUtf8());
    }
};

QTEST_MAIN(TestOverwriteManager)
#include "tst_overwriteManager.moc"
