#include "platform/errors.h"
#include "platform/simpleXml.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A byte array of a literal's every byte, NUL bytes included.
template <size_t N> QByteArray bytes(const char (&literal)[N]) {
    return QByteArray(literal, N - 1);
}

// Parses and returns the error text, or an empty text when the document was accepted.
QString parseError(const QByteArray& bytes) {
    TSimpleXmlDocument doc;
    try {
        doc.LoadFromBytes(bytes);
    } catch (const EXmlError& e) {
        return e.message();
    }
    return {};
}

QByteArray valueOf(const QByteArray& xml, const char* child) {
    TSimpleXmlDocument doc;
    doc.LoadFromBytes(xml);
    return doc.Root().ChildValue(child).toByteArray();
}

} // namespace

class TestSimpleXml : public QObject {
    Q_OBJECT
private slots:
    void prologIsSkipped_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addRow("declaration") << QByteArray(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r><a>x</a></r>");
        QTest::addRow("utf-8 byte-order mark")
            << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\"?><r><a>x</a></r>");
        QTest::addRow("utf-16 marks and NUL bytes") << bytes("\xFF\xFE\0\0 \t<r><a>x</a></r>");
        QTest::addRow("comment and stylesheet")
            << QByteArray("<!-- c --><?xml-stylesheet href=\"a.xsl\"?>\n<r><a>x</a></r>");
        QTest::addRow("doctype with internal subset")
            << QByteArray("<!DOCTYPE r [ <!ELEMENT r ANY> <!ENTITY e \">\"> ]>\n<r><a>x</a></r>");
        QTest::addRow("comment and blanks after the root") << bytes("<r><a>x</a></r>\r\n<!-- end -->\r\n\0");
    }
    void prologIsSkipped() {
        QFETCH(QByteArray, xml);
        QCOMPARE(valueOf(xml, "a"), QByteArray("x"));
    }

    void malformedInputIsAnError_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("message");
        QTest::addRow("text before the root")
            << QByteArray("abc<r/>") << "Invalid Document: Unexpected text in file prolog";
        QTest::addRow("empty") << QByteArray() << "Invalid Document: No root element";
        QTest::addRow("only a declaration")
            << QByteArray("<?xml version=\"1.0\"?>\r\n") << "Invalid Document: No root element";
        QTest::addRow("truncated start tag")
            << QByteArray("<list><item") << "Invalid Document: Unexpected end of file";
        QTest::addRow("truncated content")
            << QByteArray("<list><item>abc") << "Invalid Document: Unexpected end of file";
        QTest::addRow("unclosed root")
            << QByteArray("<list><a/>") << "Invalid Document: Unexpected end of file";
        QTest::addRow("truncated comment")
            << QByteArray("<list><!-- ") << "Invalid Document: Unexpected end of file";
        QTest::addRow("truncated attribute")
            << QByteArray("<list a=\"1>") << "Invalid Document: Unexpected end of file";
        QTest::addRow("mismatched end tag")
            << QByteArray("<list><a></b></list>") << "Invalid Document: End tag does not match start tag";
        QTest::addRow("empty element name")
            << QByteArray("<list>< a/></list>") << "Invalid Document: Invalid element name";
        QTest::addRow("second root") << QByteArray("<a/><b/>")
                                     << "Invalid Document: Unexpected text after the root element";
        QTest::addRow("text after the root")
            << QByteArray("<a/>x") << "Invalid Document: Unexpected text after the root element";
        QTest::addRow("binary garbage")
            << bytes("\x01\x02\x03<\x80") << "Invalid Document: Unexpected text in file prolog";
    }
    void malformedInputIsAnError() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, message);
        QCOMPARE(parseError(xml), message);
    }

    void valuesAreDecoded_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QByteArray>("value");
        QTest::addRow("named references") << QByteArray("&amp;&lt;&gt;&apos;&quot;") << QByteArray("&<>'\"");
        QTest::addRow("named references in any case")
            << QByteArray("&AMP;&Lt;&gT;&APOS;&Quot;") << QByteArray("&<>'\"");
        QTest::addRow("hex reference is one byte")
            << QByteArray("&#xFC;&#xfc;&#Xc3;") << QByteArray("\xFC\xFC\xC3");
        QTest::addRow("decimal reference is one byte") << QByteArray("&#252;&#65;")
                                                       << QByteArray("\xFC"
                                                                     "A");
        QTest::addRow("utf-8 as byte references") << QByteArray("&#xC3;&#xBC;ber")
                                                  << QByteArray("\xC3\xBC"
                                                                "ber");
        QTest::addRow("reference above 255 gives utf-8")
            << QByteArray("&#x4E2D;&#128512;") << QByteArray("\xE4\xB8\xAD\xF0\x9F\x98\x80");
        QTest::addRow("unknown and broken references stay")
            << QByteArray("&nbsp; & &#xZZ; &#; &amp &#xD800; &#x110000;")
            << QByteArray("&nbsp; & &#xZZ; &#; &amp &#xD800; &#x110000;");
        QTest::addRow("blanks and line breaks kept")
            << QByteArray("  a b\r\n\t") << QByteArray("  a b\r\n\t");
        QTest::addRow("only blanks") << QByteArray("   ") << QByteArray("   ");
        QTest::addRow("cdata is raw text")
            << QByteArray("a<![CDATA[&amp;<b>]]>&amp;") << QByteArray("a&amp;<b>&");
        QTest::addRow("comment is not part of the value")
            << QByteArray("C:\\a<!-- note -->b") << QByteArray("C:\\ab");
        QTest::addRow("empty") << QByteArray() << QByteArray();
    }
    void valuesAreDecoded() {
        QFETCH(QByteArray, raw);
        QFETCH(QByteArray, value);
        QCOMPARE(valueOf("<r><v>" + raw + "</v></r>", "v"), value);
    }

    void namesIgnoreCaseAndLastOneCounts() {
        TSimpleXmlDocument doc;
        doc.LoadFromBytes("<Root attr='1 > 2' b=\"x\"><EXT>a</ext><Ext flag>b</eXt><other/><ext/></ROOT>");
        const TSimpleXmlElement root = doc.Root();
        QCOMPARE(root.Name(), QByteArrayView("Root"));
        QCOMPARE(root.ChildCount(), 4);
        QCOMPARE(root.ChildValue("ext"), QByteArrayView(""));
        QCOMPARE(root.Child(1).Value(), QByteArray("b"));
        QVERIFY(!root.FindChild("missing"));
        QCOMPARE(root.ChildValue("missing"), QByteArrayView());
        QVERIFY(!root.Child(4));
        QVERIFY(!root.Child(-1));
    }

    void nonElementNodesAreChildrenOfContainers() {
        TSimpleXmlDocument doc;
        doc.LoadFromBytes("<r>\r\n  <!-- c -->\r\n  text <a>1</a>\r\n  <![CDATA[x]]>\r\n  <b/>\r\n</r>");
        const TSimpleXmlElement root = doc.Root();
        QCOMPARE(root.ChildCount(), 5);
        QCOMPARE(root.Child(0).Kind(), xnComment);
        QCOMPARE(root.Child(1).Kind(), xnText);
        QCOMPARE(root.Child(1).Value(), QByteArray("\r\n  text "));
        QCOMPARE(root.Child(2).Name(), QByteArrayView("a"));
        QCOMPARE(root.Child(3).Kind(), xnCData);
        QCOMPARE(root.Child(4).Name(), QByteArrayView("b"));
        QCOMPARE(root.Value(), QByteArray());
    }

    // Text and CDATA before the first child element keep their order among the comments.
    void runsBeforeTheFirstElementKeepTheirOrder() {
        TSimpleXmlDocument doc;
        doc.LoadFromBytes("<r>a<![CDATA[b]]>c<!--d-->e<![CDATA[f]]><x/>g</r>");
        QStringList seen;
        for (TSimpleXmlElement c = doc.Root().FirstChild(); c; c = c.NextSibling())
            seen << QString::number(c.Kind()) + ":" +
                        QString::fromUtf8(c.IsElement() ? c.Name() : c.ValueView());
        QCOMPARE(seen, QStringList({"1:a", "2:b", "1:c", "3:d", "1:e", "2:f", "0:x", "1:g"}));
        QCOMPARE(doc.Root().ChildCount(), 8);
        QCOMPARE(doc.Root().Child(7).Value(), QByteArray("g"));
    }

    // A million levels of nesting must neither overflow the stack nor take long.
    void deepNestingIsHandledWithoutRecursion() {
        constexpr int depth = 1000000;
        QByteArray xml;
        xml.reserve(depth * 8);
        for (int i = 0; i < depth; ++i)
            xml += "<a>";
        QCOMPARE(parseError(xml), QString("Invalid Document: Unexpected end of file"));
        for (int i = 0; i < depth; ++i)
            xml += "</a>";
        TSimpleXmlDocument doc;
        doc.LoadFromBytes(xml);
        TSimpleXmlElement e = doc.Root();
        int levels = 0;
        while (e.FirstChild()) {
            e = e.FirstChild();
            ++levels;
        }
        QCOMPARE(levels, depth - 1);
    }

    void deepDocumentIsWrittenWithoutRecursion() {
        constexpr int depth = 100000;
        TSimpleXmlDocument doc("a");
        TSimpleXmlElement e = doc.Root();
        for (int i = 1; i < depth; ++i)
            e = e.AddChild("a");
        const QByteArray bytes = doc.SaveToBytes();
        QVERIFY(bytes.endsWith("\r\n</a>\r\n"));
        QCOMPARE(bytes.count("<a>"), depth - 1);
    }

    void failedLoadKeepsTheDocument() {
        TSimpleXmlDocument doc("list");
        doc.Root().AddChild("item", "kept");
        QVERIFY_THROWS_EXCEPTION(EXmlError, doc.LoadFromBytes("<a><b></a>"));
        QCOMPARE(doc.Root().ChildValue("item"), QByteArrayView("kept"));
    }

    void writerLayoutIsExact() {
        TSimpleXmlDocument doc("list");
        TSimpleXmlElement item = doc.Root().AddChild("item");
        item.AddChild("filename", "a&b<c>\"d'e\\f \xC3\xBC\x7F");
        item.AddChild("format", "-1");
        item.AddChild("path", "");
        QCOMPARE(doc.SaveToBytes(),
                 QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                            "<list>\r\n"
                            "  <item>\r\n"
                            "    <filename>a&amp;b&lt;c&gt;&quot;d&apos;e\\f &#xC3;&#xBC;\x7F</filename>\r\n"
                            "    <format>-1</format>\r\n"
                            "    <path/>\r\n"
                            "  </item>\r\n"
                            "</list>\r\n"));
        doc.Root().ClearChildren();
        QCOMPARE(doc.SaveToBytes(), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<list/>\r\n"));
    }

    void everyByteSurvivesWriteAndRead() {
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all += char(b);
        TSimpleXmlDocument doc("r");
        doc.Root().AddChild("v", all);
        const QByteArray bytes = doc.SaveToBytes();
        for (char c : bytes)
            QVERIFY(static_cast<unsigned char>(c) < 128);
        QCOMPARE(valueOf(bytes, "v"), all);
    }

    void fileErrorsCarryTheirTexts() {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing.rfl");
        TSimpleXmlDocument doc;
        try {
            doc.LoadFromFile(missing);
            QFAIL("no error");
        } catch (const EFOpenError& e) {
            QCOMPARE(e.message(), QString("Cannot open file \"%1\". No such file or directory").arg(missing));
        }
        QVERIFY_THROWS_EXCEPTION(EFOpenError, doc.LoadFromFile(dir.path()));
        const QString target = dir.filePath("no/such/folder/list.rfl");
        try {
            doc.SaveToFile(target);
            QFAIL("no error");
        } catch (const EFCreateError& e) {
            QVERIFY2(e.message().startsWith(QString("Cannot create file \"%1\". ").arg(target)),
                     qPrintable(e.message()));
            QVERIFY(e.message().size() > QString("Cannot create file \"%1\". ").arg(target).size());
        }
    }

    void savedFileReadsBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.xml");
        TSimpleXmlDocument doc("list");
        doc.Root().AddChild("item").AddChild("filename", "x");
        doc.SaveToFile(path);
        TSimpleXmlDocument back;
        back.LoadFromFile(path);
        QCOMPARE(back.Root().Child(0).ChildValue("FILENAME"), QByteArrayView("x"));
    }
};

QTEST_APPLESS_MAIN(TestSimpleXml)
#include "tst_simpleXml.moc"
