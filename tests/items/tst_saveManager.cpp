#include "items/saveManager.h"
#include "platform/VirtualStringTree.h"
#include "platform/errors.h"

#include "itemRows.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

void addRow(TVirtualStringTree& tree, const Row& row, qint32 status = stWaiting) {
    PVirtualNode node = tree.AddChild();
    TItemNodeData* d = tree.GetNodeData(node);
    d->NodeKind = 1;
    d->Status = status;
    d->ItemData.FileName = row.fileName;
    d->ItemData.FormatIndex = row.formatIndex;
    d->ItemData.OutputFolder = row.outputFolder;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Makes every write beyond a few bytes fail, as on a full disk, for the life of the object.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit previous_{};
    void (*oldHandler_)(int) = nullptr;
};

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

} // namespace

Q_DECLARE_METATYPE(Row)

class TestSaveManager : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void exportWritesTheListFileLayout() {
        TVirtualStringTree tree;
        addRow(tree, {"C:\\Videos\\holiday.avi", 0, ""});
        addRow(tree,
               {QString::fromUtf8("D:\\Film & Co\\\xC3\xBC"
                                  "ber.mpg"),
                3, "E:\\out\\"},
               stConverted);
        TSaveManager manager(&tree);
        const QString path = dir_.filePath("example.rfl");
        manager.Export(path);
        const QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                    "<list>\r\n"
                                    "  <item>\r\n"
                                    "    <filename>C:\\Videos\\holiday.avi</filename>\r\n"
                                    "    <format>0</format>\r\n"
                                    "    <path/>\r\n"
                                    "  </item>\r\n"
                                    "  <item>\r\n"
                                    "    <filename>D:\\Film &amp; Co\\&#xC3;&#xBC;ber.mpg</filename>\r\n"
                                    "    <format>3</format>\r\n"
                                    "    <path>E:\\out\\</path>\r\n"
                                    "  </item>\r\n"
                                    "</list>\r\n";
        QCOMPARE(readFile(path), expected);
        QCOMPARE(expected.size(), 291 + 6); // one more reference than with a single-byte code page
    }

    void handWrittenFilesImport_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<Row>>("expected");
        QTest::addRow("upper-case names and another root")
            << QByteArray(
                   "<?xml version=\"1.0\"?>\n<LIST>\n <ITEM><FILENAME>/v/a.mp4</FILENAME><Format>2</FORMAT>"
                   "<PATH>/o/</path></ITEM>\n</LIST>\n")
            << QList<Row>{{"/v/a.mp4", 2, "/o/"}};
        QTest::addRow("elements in another order")
            << QByteArray(
                   "<list><item><path>/o/</path><format>-1</format><filename>/v/b.mkv</filename></item>"
                   "<item><format>4</format><filename>/v/c.mkv</filename><path></path></item></list>")
            << QList<Row>{{"/v/b.mkv", -1, "/o/"}, {"/v/c.mkv", 4, ""}};
        QTest::addRow("byte-order mark")
            << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<list>\r\n  <item>\r\n"
                          "    <filename>/v/d.avi</filename>\r\n    <format>0</format>\r\n    <path/>\r\n  "
                          "</item>\r\n"
                          "</list>\r\n")
            << QList<Row>{{"/v/d.avi", 0, ""}};
        QTest::addRow("entity variants")
            << QByteArray(
                   "<list><item><filename>/v/&AMP;&#38;&#x26;&Apos;&QUOT;&lt;&GT;&#xE4;&#xB8;&#xAD;&#x4E2D;"
                   "&#128512;&nbsp;.mp4</filename><format>1</format><path>/&#xc3;&#xbc;/</path></item></"
                   "list>")
            << QList<Row>{{QString::fromUtf8("/v/&&&'\"<>\xE4\xB8\xAD\xE4\xB8\xAD\xF0\x9F\x98\x80&nbsp;.mp4"),
                           1, QString::fromUtf8("/\xC3\xBC/")}};
        QTest::addRow("values keep their blanks")
            << QByteArray("<list><item><filename> /v/e.mp4\r\n</filename><format>1</format><path> "
                          "</path></item></list>")
            << QList<Row>{{" /v/e.mp4\r\n", 1, " "}};
        QTest::addRow("attributes, comments and other elements")
            << QByteArray(
                   "<!-- saved by hand -->\n<list version=\"2\">\n  <!-- first -->\n  <item id='1'><filename "
                   "kind=\"video\">/v/f.mp4</filename><format>3</format><path/><note>x</note></item>\n"
                   "  <meta><title>not an item</title></meta>\n  stray text\n</list>")
            << QList<Row>{{"/v/f.mp4", 3, ""}};
        QTest::addRow("later duplicate counts")
            << QByteArray("<list><item><filename>/v/1</filename><filename>/v/2</filename><format>1</format>"
                          "<format>2</format></item></list>")
            << QList<Row>{{"/v/2", 2, ""}};
        QTest::addRow("root without children") << QByteArray("<list/>") << QList<Row>{};
    }
    void handWrittenFilesImport() {
        QFETCH(QByteArray, file);
        QFETCH(QList<Row>, expected);
        const QString path = dir_.filePath("hand.rfl");
        writeFile(path, file);
        TVirtualStringTree tree;
        addRow(tree, {"/v/existing.mp4", 0, ""}, stFailed);
        TSaveManager manager(&tree);
        manager.Import(path);
        const QList<Row> all = QList<Row>{{"/v/existing.mp4", 0, ""}} + expected;
        QCOMPARE(rows(tree), all);
        QCOMPARE(tree.GetNodeData(tree.GetFirst())->Status, stFailed);
        for (PVirtualNode n = tree.GetNextSibling(tree.GetFirst()); n; n = tree.GetNextSibling(n)) {
            QCOMPARE(tree.GetNodeData(n)->Status, stWaiting);
            QCOMPARE(tree.GetNodeData(n)->NodeKind, quint8(1));
        }
        QCOMPARE(tree.UpdateCount(), 0);
        QCOMPARE(tree.model()->rowCount(), int(tree.TotalCount()));
    }

    void badFormatStopsAfterTheItemsBeforeIt_data() {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("message");
        QTest::addRow("letters") << QByteArray("<format>abc</format>")
                                 << "'abc' is not a valid integer value";
        QTest::addRow("blank") << QByteArray("<format> 1</format>") << "' 1' is not a valid integer value";
        QTest::addRow("missing") << QByteArray() << "'' is not a valid integer value";
    }
    void badFormatStopsAfterTheItemsBeforeIt() {
        QFETCH(QByteArray, second);
        QFETCH(QString, message);
        const QString path = dir_.filePath("bad.rfl");
        writeFile(path, "<list><item><filename>/v/1.mp4</filename><format>1</format><path/></item>"
                        "<item><filename>/v/2.mp4</filename>" +
                            second +
                            "<path/></item>"
                            "<item><filename>/v/3.mp4</filename><format>3</format><path/></item></list>");
        TVirtualStringTree tree;
        TSaveManager manager(&tree);
        try {
            manager.Import(path);
            QFAIL("no error");
        } catch (const EConvertError& e) {
            QCOMPARE(e.message(), message);
        }
        const QList<Row> first{{"/v/1.mp4", 1, ""}};
        QCOMPARE(rows(tree), first);
        QCOMPARE(tree.UpdateCount(), 0);
        QCOMPARE(tree.model()->rowCount(), 1);
    }

    void unreadableFilesAddNothing_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::addRow("text before the root")
            << QByteArray("hello <list/>") << "Invalid Document: Unexpected text in file prolog";
        QTest::addRow("truncated") << QByteArray(
                                          "<list><item><filename>/v/1.mp4</filename><format>1</format>")
                                   << "Invalid Document: Unexpected end of file";
        QTest::addRow("utf-16") << QByteArray("\xFF\xFE<\0l\0i\0s\0t\0/\0>\0", 16)
                                << "Invalid Document: Invalid start tag";
    }
    void unreadableFilesAddNothing() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString path = dir_.filePath("broken.rfl");
        writeFile(path, content);
        TVirtualStringTree tree;
        addRow(tree, {"/v/a", 0, ""});
        TSaveManager manager(&tree);
        try {
            manager.Import(path);
            QFAIL("no error");
        } catch (const EXmlError& e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(tree.TotalCount(), 1u);
    }

    void missingOrUnopenableFiles() {
        TVirtualStringTree tree;
        TSaveManager manager(&tree);
        manager.Import(dir_.filePath("does-not-exist.rfl"));
        QCOMPARE(tree.TotalCount(), 0u);
        const QString folder = dir_.filePath("folder.rfl");
        QVERIFY(QDir().mkpath(folder));
        try {
            manager.Import(folder);
            QFAIL("no error");
        } catch (const EFOpenError& e) {
            QCOMPARE(e.message(), QString("Cannot open file \"%1\". Is a directory").arg(folder));
        }
        QCOMPARE(tree.TotalCount(), 0u);
    }

    // Names with markup characters and characters outside any single-byte code page come back as
    // they were; the file itself stays pure ASCII.
    void roundTripKeepsEveryName() {
        const QList<Row> list{
            {"/v/Tom & Jerry's <best> \"cut\".mp4", 0, "/out/a&b/"},
            {QString::fromUtf8("/v/\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x8E\xAC clip.mkv"), -1, ""},
            {QString::fromUtf8("/v/caf\xC3\xA9 \xC3\xBC\xC3\x9F.avi"), 2147483647,
             QString::fromUtf8("/\xF0\x9F\x93\x81/")},
            {"  /v/blanks and\ttab.mp4 ", 12, "C:\\out\\"},
            {"/v/a&amp;b.mp4", 3, "&#x41;"},
        };
        TVirtualStringTree tree;
        for (const Row& row : list)
            addRow(tree, row, stConverted);
        TSaveManager manager(&tree);
        const QString path = dir_.filePath("round.rfl");
        manager.Export(path);
        for (char c : readFile(path))
            QVERIFY(static_cast<unsigned char>(c) < 128);
        TVirtualStringTree fresh;
        TSaveManager reader(&fresh);
        reader.Import(path);
        QCOMPARE(rows(fresh), list);
        reader.Import(path);
        QCOMPARE(rows(fresh), list + list);
    }

    void exportAlwaysWritesTheListRoot() {
        const QString in = dir_.filePath("other.rfl");
        writeFile(in, "<files><entry><filename>/v/a</filename><format>1</format></entry></files>");
        TVirtualStringTree tree;
        TSaveManager manager(&tree);
        manager.Import(in);
        const QString out = dir_.filePath("other-out.rfl");
        manager.Export(out);
        QCOMPARE(readFile(out), kDeclaration +
                                    "<list>\r\n  <item>\r\n    <filename>/v/a</filename>\r\n    "
                                    "<format>1</format>\r\n    <path/>\r\n  </item>\r\n</list>\r\n");
    }

    void failedExportKeepsThePreviousFile() {
        const QString path = dir_.filePath("keep.rfl");
        TVirtualStringTree tree;
        addRow(tree, {"/v/first.mp4", 0, ""});
        TSaveManager manager(&tree);
        manager.Export(path);
        const QByteArray before = readFile(path);
        for (int i = 0; i < 50; ++i)
            addRow(tree, {QString("/v/%1.mp4").arg(i), i, "/out/"});
        {
            TFileSizeLimit full(before.size() + 10);
            try {
                manager.Export(path);
                QFAIL("no error");
            } catch (const EFCreateError& e) {
                QCOMPARE(e.message(), QString("Cannot create file \"%1\". File too large").arg(path));
            }
        }
        QCOMPARE(readFile(path), before);
        QCOMPARE(tree.TotalCount(), 51u);
        QCOMPARE(QDir(dir_.path()).entryList({"keep.rfl*"}, QDir::Files | QDir::Hidden),
                 QStringList{"keep.rfl"});
    }

    void unwritableTargetIsReported() {
        const QString path = dir_.filePath("no-such-folder/list.rfl");
        TVirtualStringTree tree;
        addRow(tree, {"/v/a.mp4", 0, ""});
        TSaveManager manager(&tree);
        try {
            manager.Export(path);
            QFAIL("no error");
        } catch (const EFCreateError& e) {
            QCOMPARE(e.message(), QString("Cannot create file \"%1\". No such file or directory").arg(path));
        }
        QCOMPARE(tree.TotalCount(), 1u);
    }
};

QTEST_MAIN(TestSaveManager)
#include "tst_saveManager.moc"
