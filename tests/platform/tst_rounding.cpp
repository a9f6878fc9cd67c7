#include "platform/colors.h"
#include "platform/rounding.h"

#include <QTest>

class TestRounding : public QObject {
    Q_OBJECT
private slots:
    void halvesGoToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::addRow("0.5 down") << 0.5 << 0;
        QTest::addRow("1.5 up") << 1.5 << 2;
        QTest::addRow("2.5 down") << 2.5 << 2;
        QTest::addRow("-2.5 to -2") << -2.5 << -2;
        QTest::addRow("2.6 up") << 2.6 << 3;
        QTest::addRow("254.5 to 254") << 254.5 << 254;
    }
    void halvesGoToEven() {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(RoundHalfEven(value), expected);
    }
    void colourValuesAreRedInTheLowByte() {
        QCOMPARE(TColorToQColor(13739137), QColor(129, 164, 209));
        QCOMPARE(TColorToQColor(9126421), QColor(21, 66, 139));
        QCOMPARE(QColorToTColor(QColor(141, 178, 227)), TColor(14922381));
    }
};

QTEST_APPLESS_MAIN(TestRounding)
#include "tst_rounding.moc"
