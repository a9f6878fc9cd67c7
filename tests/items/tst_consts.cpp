#include "items/_consts.h"
#include "platform/errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void makeFile(const QString& path, qint64 size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
        qFatal("cannot make %s", qPrintable(path));
}

} // namespace

class TestConsts : public QObject {
    Q_OBJECT
private slots:
    // A sparse file takes no disk space but reports its full 64-bit size.
    void sizeBeyondFourGiB() {
        QTemporaryDir dir;
        const QString path = dir.filePath("big.mkv");
        const qint64 size = (qint64(5) << 30) + 3;
        makeFile(path, size);
        QCOMPARE(FileSizeOf(QFile::encodeName(path)), size);
    }

    void sizesOfOrdinaryNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");
        QTest::addRow("empty file") << "empty.avi" << qint64(0);
        QTest::addRow("blanks and utf-8")
            << QString::fromUtf8("f\xC3\xBCr mich \xE4\xB8\xAD.mp4") << qint64(12345);
        QTest::addRow("asterisk means itself") << "a*b.mp4" << qint64(7);
        QTest::addRow("question mark means itself") << "a?b.mp4" << qint64(9);
    }
    void sizesOfOrdinaryNames() {
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QTemporaryDir dir;
        makeFile(dir.filePath(name), size);
        makeFile(dir.filePath("axb.mp4"), 1000); // would match a wildcard
        QCOMPARE(FileSizeOf(QFile::encodeName(dir.filePath(name))), size);
    }

    void missingFileRaisesTheSystemError_data() {
        QTest::addColumn<QString>("name");
        QTest::addRow("moved away") << "gone.mp4";
        QTest::addRow("wildcard matching another file") << "a?b.mp4";
        QTest::addRow("asterisk matching another file") << "a*.mp4";
    }
    void missingFileRaisesTheSystemError() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        makeFile(dir.filePath("axb.mp4"), 1000);
        try {
            FileSizeOf(QFile::encodeName(dir.filePath(name)));
            QFAIL("no error");
        } catch (const EOSError& e) {
            QCOMPARE(e.errorCode(), ENOENT);
            QCOMPARE(e.message(), QString("System Error.  Code: 2.\nNo such file or directory"));
        }
    }
};

QTEST_APPLESS_MAIN(TestConsts)
#include "tst_consts.moc"
