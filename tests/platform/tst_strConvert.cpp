#include "platform/errors.h"
#include "platform/strConvert.h"

#include <QTest>

class TestStrConvert : public QObject {
    Q_OBJECT
private slots:
    void integers_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint32>("value");
        QTest::addRow("zero") << QByteArray("0") << 0;
        QTest::addRow("negative one") << QByteArray("-1") << -1;
        QTest::addRow("plus sign") << QByteArray("+12") << 12;
        QTest::addRow("leading zeros") << QByteArray("007") << 7;
        QTest::addRow("largest") << QByteArray("2147483647") << 2147483647;
        QTest::addRow("smallest") << QByteArray("-2147483648") << qint32(-2147483647 - 1);
    }
    void integers() {
        QFETCH(QByteArray, text);
        QFETCH(qint32, value);
        QCOMPARE(StrToInt(text), value);
    }

    void notIntegers_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addRow("letters") << QByteArray("abc");
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("sign only") << QByteArray("-");
        QTest::addRow("blank around") << QByteArray(" 3 ");
        QTest::addRow("too large") << QByteArray("2147483648");
        QTest::addRow("far too large") << QByteArray("99999999999999999999999");
        QTest::addRow("too small") << QByteArray("-2147483649");
        QTest::addRow("fraction") << QByteArray("1.5");
        QTest::addRow("utf-8 text") << QByteArray("\xC3\xBC");
    }
    void notIntegers() {
        QFETCH(QByteArray, text);
        try {
            StrToInt(text);
            QFAIL("accepted");
        } catch (const EConvertError& e) {
            QCOMPARE(e.message(), QString("'%1' is not a valid integer value").arg(QString::fromUtf8(text)));
        }
    }
};

QTEST_APPLESS_MAIN(TestStrConvert)
#include "tst_strConvert.moc"
