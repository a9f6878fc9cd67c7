#include "engine/commandManager.h"
#include "platform/errors.h"
#include "platform/programFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& content, const QString& name = "command") {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray entry(const QByteArray& format, const QByteArray& params, const QByteArray& ext) {
    return "  <entry>\r\n    <format>" + format + "</format>\r\n    <params>" + params +
           "</params>\r\n    <ext>" + ext + "</ext>\r\n  </entry>\r\n";
}

} // namespace

class TestCommandManager : public QObject {
    Q_OBJECT
private slots:
    void entriesAreReadInFileOrder() {
        QTemporaryDir dir;
        const QString path =
            writeFile(dir, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<formats>\r\n" +
                               entry("MP4", "-nostdin -n -c:v libx264", "mp4") +
                               entry("MP4", "-nostdin -n -c:v libx265", "mp4") +
                               entry("WebM", "-nostdin -n -c:v libvpx-vp9", "webm") + "</formats>\r\n");
        TCommandManager catalogue(path);
        QCOMPARE(catalogue.FormatNames(), QStringList({"MP4", "MP4", "WebM"}));
        QCOMPARE(catalogue.GetParams(2), QByteArray("-nostdin -n -c:v libvpx-vp9"));
        QCOMPARE(catalogue.GetExt(1), QByteArray("mp4"));
        QCOMPARE(catalogue.GetParams(1), QByteArray("-nostdin -n -c:v libx265"));
    }

    // Each row is one entry, read as format index 0 of a catalogue.
    void entryElementsAreFoundByName_data() {
        QTest::addColumn<QByteArray>("entryXml");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("params");
        QTest::addColumn<QByteArray>("ext");
        QTest::addRow("capitals and mixed case")
            << QByteArray("<Entry><FORMAT>A</FORMAT><Params>-x</pArAmS><EXT>mkv</ext></Entry>") << "A"
            << QByteArray("-x") << QByteArray("mkv");
        QTest::addRow("order ext, params, format")
            << QByteArray("<e><ext>avi</ext><params>-y</params><format>B</format></e>") << "B"
            << QByteArray("-y") << QByteArray("avi");
        QTest::addRow("second ext counts")
            << QByteArray("<e><format>C</format><params/><ext>one</ext><ext>two</ext></e>") << "C"
            << QByteArray() << QByteArray("two");
        QTest::addRow("ampersand decoded")
            << QByteArray(
                   "<e><format>D &amp; E</format><params>-metadata title=a&amp;b</params><ext>mp4</ext></e>")
            << "D & E" << QByteArray("-metadata title=a&b") << QByteArray("mp4");
        QTest::addRow("other children ignored")
            << QByteArray("<e><note>x</note><format>F</format><params>-z</params><ext>ts</ext><extra/></e>")
            << "F" << QByteArray("-z") << QByteArray("ts");
        QTest::addRow("missing elements read as empty")
            << QByteArray("<e><params>-q</params></e>") << "" << QByteArray("-q") << QByteArray();
        QTest::addRow("utf-8 name") << QByteArray(
                                           "<e><format>Vid\xC3\xA9o &#xC3;&#xA9;</format><ext>x</ext></e>")
                                    << QString::fromUtf8("Vid\xC3\xA9o \xC3\xA9") << QByteArray()
                                    << QByteArray("x");
    }
    void entryElementsAreFoundByName() {
        QFETCH(QByteArray, entryXml);
        QFETCH(QString, format);
        QFETCH(QByteArray, params);
        QFETCH(QByteArray, ext);
        QTemporaryDir dir;
        TCommandManager catalogue(writeFile(dir, "<list>" + entryXml + "</list>"));
        QCOMPARE(catalogue.FormatNames(), QStringList({format}));
        QCOMPARE(catalogue.GetParams(0), params);
        QCOMPARE(catalogue.GetExt(0), ext);
    }

    // A comment or text inside the root is an entry too, so positions keep matching format indexes.
    void nonElementEntriesKeepPositions() {
        QTemporaryDir dir;
        TCommandManager catalogue(writeFile(dir, "<formats>\r\n  <!-- video -->\r\n" +
                                                     entry("A", "-a", "mp4") + "  stray text\r\n" +
                                                     entry("B", "-b", "mkv") + "</formats>"));
        QCOMPARE(catalogue.FormatNames(), QStringList({"", "A", "", "B"}));
        QCOMPARE(catalogue.GetParams(3), QByteArray("-b"));
        QCOMPARE(catalogue.GetExt(0), QByteArray());
        QVERIFY(catalogue.IsValidIndex(0));
    }

    void indexOutsideTheCatalogueGivesEmptyText_data() {
        QTest::addColumn<qint32>("index");
        QTest::addRow("minus one") << -1;
        QTest::addRow("one past the end") << 2;
        QTest::addRow("far past the end") << 1000000;
    }
    void indexOutsideTheCatalogueGivesEmptyText() {
        QFETCH(qint32, index);
        QTemporaryDir dir;
        TCommandManager catalogue(
            writeFile(dir, "<f>" + entry("A", "-a", "mp4") + entry("B", "-b", "mkv") + "</f>"));
        QVERIFY(!catalogue.IsValidIndex(index));
        QCOMPARE(catalogue.GetParams(index), QByteArray());
        QCOMPARE(catalogue.GetExt(index), QByteArray());
        QVERIFY(catalogue.IsValidIndex(1));
    }

    void missingFileGivesAnEmptyCatalogue() {
        QTemporaryDir dir;
        SetProgramFolderOverride(dir.path() + "/");
        TCommandManager catalogue;
        SetProgramFolderOverride({});
        QVERIFY(catalogue.FormatNames().isEmpty());
        QVERIFY(!catalogue.IsValidIndex(0));
        QCOMPARE(catalogue.GetParams(0), QByteArray());
    }

    void defaultConstructorReadsTheProgramFolder() {
        QTemporaryDir dir;
        writeFile(dir, "<f>" + entry("Only", "-o", "ogg") + "</f>");
        SetProgramFolderOverride(dir.path() + "/");
        TCommandManager catalogue;
        SetProgramFolderOverride({});
        QCOMPARE(catalogue.FormatNames(), QStringList({"Only"}));
    }

    void malformedFileRaisesTheReadersError() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, "oops <formats>");
        try {
            TCommandManager catalogue(path);
            QFAIL("no error");
        } catch (const EXmlError& e) {
            QCOMPARE(e.message(), QString("Invalid Document: Unexpected text in file prolog"));
        }
        // Start-up carries on with an empty catalogue after showing the error.
        TCommandManager catalogue{QString()};
        QVERIFY_THROWS_EXCEPTION(EXmlError, catalogue.Load(path));
        QVERIFY(catalogue.FormatNames().isEmpty());
        QCOMPARE(catalogue.GetParams(0), QByteArray());
    }
};

QTEST_APPLESS_MAIN(TestCommandManager)
#include "tst_commandManager.moc"
