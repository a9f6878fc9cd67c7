#include "controls/FlatEditUnit.h"
#include "platform/dialogSeam.h"
#include "platform/errors.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

namespace {

QColor Pixel(QWidget& w, int x, int y) {
    return w.grab().toImage().pixelColor(x, y);
}

void SendWheel(QWidget& w, int delta) {
    QWheelEvent e(QPointF(5, 5), QPointF(w.mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    e.setAccepted(false);
    QApplication::sendEvent(&w, &e);
    QVERIFY2(e.isAccepted(), "the wheel is consumed");
}

void SendEnter(QWidget& w) {
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(w.mapToGlobal(QPoint(5, 5))));
    QApplication::sendEvent(&w, &e);
}

const QColor Border(160, 150, 131);
const QColor Flat(235, 234, 225);
const QColor White(255, 255, 255);

} // namespace

class TestFlatEditUnit : public QObject {
    Q_OBJECT
private slots:
    void keyRules_data() {
        QTest::addColumn<int>("valueType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret"); // -1: whole text selected
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        QTest::addRow("digit typed at the end") << int(evtInteger) << "12" << 2 << int(Qt::Key_3) << "123";
        QTest::addRow("letter discarded") << int(evtInteger) << "12" << 2 << int(Qt::Key_A) << "12";
        QTest::addRow("minus discarded") << int(evtInteger) << "12" << 2 << int(Qt::Key_Minus) << "12";
        QTest::addRow("space discarded") << int(evtInteger) << "12" << 1 << int(Qt::Key_Space) << "12";
        QTest::addRow("backspace on one character leaves 0")
            << int(evtInteger) << "7" << 1 << int(Qt::Key_Backspace) << "0";
        QTest::addRow("backspace on empty text gives 0")
            << int(evtInteger) << "" << 0 << int(Qt::Key_Backspace) << "0";
        QTest::addRow("backspace on whole selection gives 0")
            << int(evtInteger) << "123" << -1 << int(Qt::Key_Backspace) << "0";
        QTest::addRow("backspace in a longer text deletes one")
            << int(evtInteger) << "123" << 3 << int(Qt::Key_Backspace) << "12";
        QTest::addRow("zero at the start ignored") << int(evtInteger) << "12" << 0 << int(Qt::Key_0) << "12";
        QTest::addRow("zero inside accepted") << int(evtInteger) << "12" << 1 << int(Qt::Key_0) << "102";
        QTest::addRow("zero on a whole selection ignored")
            << int(evtInteger) << "12" << -1 << int(Qt::Key_0) << "12";
        QTest::addRow("zero typed into 0 ignored") << int(evtInteger) << "0" << 1 << int(Qt::Key_0) << "0";
        QTest::addRow("digit typed into 0 goes before it")
            << int(evtInteger) << "0" << 1 << int(Qt::Key_5) << "50";
        QTest::addRow("zero into empty text accepted") << int(evtInteger) << "" << 0 << int(Qt::Key_0) << "0";
        QTest::addRow("delete swallowed") << int(evtInteger) << "123" << 0 << int(Qt::Key_Delete) << "123";
        QTest::addRow("float mode discards digits") << int(evtFloat) << "1" << 1 << int(Qt::Key_5) << "1";
        QTest::addRow("float mode swallows delete")
            << int(evtFloat) << "12" << 0 << int(Qt::Key_Delete) << "12";
        QTest::addRow("default mode takes letters") << int(evDefault) << "ab" << 2 << int(Qt::Key_C) << "abc";
        QTest::addRow("default mode takes a leading zero")
            << int(evDefault) << "12" << 0 << int(Qt::Key_0) << "012";
        QTest::addRow("default mode deletes") << int(evDefault) << "abc" << 0 << int(Qt::Key_Delete) << "bc";
        QTest::addRow("default mode backspace empties")
            << int(evDefault) << "a" << 1 << int(Qt::Key_Backspace) << "";
    }
    void keyRules() {
        QFETCH(int, valueType);
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(int, key);
        QFETCH(QString, expected);
        TMyFlatEdit edit;
        edit.SetValueType(TEditValueType(valueType));
        edit.setText(text);
        if (caret < 0)
            edit.selectAll();
        else
            edit.setCursorPosition(caret);
        const char ch =
            key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde ? char(QChar(key).toLower().unicode()) : 0;
        if (ch)
            QTest::keyClick(&edit, ch);
        else
            QTest::keyClick(&edit, Qt::Key(key));
        QCOMPARE(edit.text(), expected);
    }

    void stepping_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<QString>("input"); // "up", "down", "wheel+", "wheel-"
        QTest::addColumn<QString>("expected");
        QTest::addRow("up without a limit when MaxValue is 0") << "41" << 0 << 0 << "up"
                                                               << "42";
        QTest::addRow("up from an empty text") << "" << 0 << 0 << "up"
                                               << "1";
        QTest::addRow("up stops at MaxValue") << "10" << 0 << 10 << "up"
                                              << "10";
        QTest::addRow("up below MaxValue") << "9" << 0 << 10 << "up"
                                           << "10";
        QTest::addRow("down stops at MinValue") << "5" << 5 << 0 << "down"
                                                << "5";
        QTest::addRow("up from MinValue") << "5" << 5 << 0 << "up"
                                          << "6";
        QTest::addRow("down above MinValue") << "5" << 0 << 0 << "down"
                                             << "4";
        QTest::addRow("down into negatives") << "0" << -3 << 0 << "down"
                                             << "-1";
        QTest::addRow("typed value above MaxValue does not step up") << "50" << 0 << 10 << "up"
                                                                     << "50";
        QTest::addRow("wheel forward steps up") << "3" << 0 << 0 << "wheel+"
                                                << "4";
        QTest::addRow("wheel backward steps down") << "3" << 0 << 0 << "wheel-"
                                                   << "2";
    }
    void stepping() {
        QFETCH(QString, text);
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        TMyFlatEdit edit;
        edit.SetValueType(evtInteger);
        edit.SetMinValue(minValue);
        edit.SetMaxValue(maxValue);
        edit.setText(text);
        if (input == "up")
            QTest::keyClick(&edit, Qt::Key_Up);
        else if (input == "down")
            QTest::keyClick(&edit, Qt::Key_Down);
        else
            SendWheel(edit, input == "wheel+" ? 120 : -120);
        QCOMPARE(edit.text(), expected);
    }

    void defaultModeIgnoresStepsButConsumesTheWheel() {
        TMyFlatEdit edit;
        edit.setText("3");
        QTest::keyClick(&edit, Qt::Key_Up);
        SendWheel(edit, 120);
        QCOMPARE(edit.text(), QString("3"));
    }

    void asIntegerFollowsTheMode() {
        TMyFlatEdit edit;
        edit.setText("17");
        QCOMPARE(edit.asInteger(), 0);
        edit.SetValueType(evtInteger);
        QCOMPARE(edit.asInteger(), 17);
        edit.setText("");
        QCOMPARE(edit.asInteger(), 0);
        edit.setText("-8");
        QCOMPARE(edit.asInteger(), -8);
    }

    void pastedNonNumberFailsWithTheConversionMessage() {
        TMyFlatEdit edit;
        edit.SetValueType(evtInteger);
        edit.setText("12a");
        try {
            (void)edit.asInteger();
            QFAIL("no conversion error");
        } catch (const EConvertError& e) {
            QCOMPARE(e.message(), QString("'12a' is not a valid integer value"));
        }
        // A step from the keyboard shows the message and leaves the text alone.
        TScriptedDialogs dialogs;
        SetDialogs(&dialogs);
        QTest::keyClick(&edit, Qt::Key_Up);
        SendWheel(edit, -120);
        SetDialogs(nullptr);
        QCOMPARE(edit.text(), QString("12a"));
        QCOMPARE(dialogs.Messages.size(), 2);
        QCOMPARE(dialogs.Messages[0].Text, QString("'12a' is not a valid integer value"));
        QCOMPARE(dialogs.Messages[0].Icon, TDialogSeam::miCritical);
    }

    void heightIsTextHeightPlusSix() {
        QWidget form;
        QFont font("Trebuchet MS");
        font.setPixelSize(16);
        form.setFont(font);
        TMyFlatEdit edit(&form);
        const QFontMetrics fm(font);
        QCOMPARE(edit.width(), 121);
        QCOMPARE(edit.height(), fm.ascent() + fm.descent() + 6);
        QFont big = font;
        big.setPixelSize(30);
        edit.setFont(big);
        const QFontMetrics fmBig(big);
        QCOMPARE(edit.height(), fmBig.ascent() + fmBig.descent() + 6);
    }

    void idleFrameUsesBorderAndFlatColours() {
        QWidget form;
        TMyFlatEdit edit(&form);
        edit.SetColorFlat(14805739);
        QVERIFY(!edit.ParentColor());
        edit.resize(121, 25);
        const QImage img = edit.grab().toImage();
        QCOMPARE(img.pixelColor(0, 0), Border);
        QCOMPARE(img.pixelColor(60, 0), Border);
        QCOMPARE(img.pixelColor(120, 24), Border);
        QCOMPARE(img.pixelColor(1, 12), Flat);
        QCOMPARE(img.pixelColor(2, 12), Flat);
        QCOMPARE(img.pixelColor(118, 12), Flat);
        QCOMPARE(img.pixelColor(60, 2), Flat);
        QCOMPARE(img.pixelColor(60, 22), Flat);
        QCOMPARE(img.pixelColor(60, 12), Flat); // background follows the fill colour
    }

    void parentColorIsCopiedWhileOn() {
        QWidget form;
        QPalette pal = form.palette();
        pal.setColor(QPalette::Window, QColor(10, 120, 200));
        form.setPalette(pal);
        TMyFlatEdit edit(&form);
        QVERIFY(edit.ParentColor());
        QCOMPARE(edit.ColorFlat(), RGBColor(10, 120, 200));
        pal.setColor(QPalette::Window, QColor(30, 40, 50));
        form.setPalette(pal);
        QCOMPARE(edit.ColorFlat(), RGBColor(30, 40, 50));
        QCOMPARE(Pixel(edit, 1, 8), QColor(30, 40, 50));

        edit.SetColorFlat(RGBColor(1, 2, 3));
        QVERIFY(!edit.ParentColor());
        pal.setColor(QPalette::Window, QColor(90, 90, 90));
        form.setPalette(pal);
        QCOMPARE(edit.ColorFlat(), RGBColor(1, 2, 3));

        edit.SetParentColor(true);
        QCOMPARE(edit.ColorFlat(), RGBColor(90, 90, 90));
    }

    void focusMakesTheFrameActive() {
        QWidget form;
        auto* edit = new TMyFlatEdit(&form);
        edit->SetColorFlat(14805739);
        auto* other = new QPushButton("x", &form);
        other->move(0, 40);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QEvent leave(QEvent::Leave); // the pointer is elsewhere
        QApplication::sendEvent(edit, &leave);
        other->setFocus();
        QCOMPARE(Pixel(*edit, 1, 8), Flat);
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(Pixel(*edit, 1, 8), White);
        QCOMPARE(Pixel(*edit, 2, 8), White);
        QCOMPARE(Pixel(*edit, 0, 8), Border);
        other->setFocus();
        QTRY_VERIFY(!edit->hasFocus());
        QCOMPARE(Pixel(*edit, 1, 8), Flat);
    }

    void hoverActivatesOnlyWhileNoOtherFlatEditHasTheFocus() {
        QWidget form;
        auto* a = new TMyFlatEdit(&form);
        auto* b = new TMyFlatEdit(&form);
        auto* button = new QPushButton("x", &form);
        a->SetColorFlat(14805739);
        b->move(0, 30);
        button->move(0, 60);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        b->setFocus();
        QTRY_VERIFY(b->hasFocus());
        SendEnter(*a);
        QVERIFY(!a->IsActive());
        QCOMPARE(Pixel(*a, 1, 8), Flat);

        button->setFocus();
        QTRY_VERIFY(button->hasFocus());
        QVERIFY(a->IsActive()); // still hovered, and no flat edit has the focus now
        QCOMPARE(Pixel(*a, 1, 8), White);

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(a, &leave);
        QVERIFY(!a->IsActive());
        QCOMPARE(Pixel(*a, 1, 8), Flat);
    }

    void floatModeMovesTheCaretToTheStartOnFocusLoss() {
        QWidget form;
        auto* edit = new TMyFlatEdit(&form);
        auto* button = new QPushButton("x", &form);
        button->move(0, 40);
        edit->SetValueType(evtFloat);
        edit->setText("3.25");
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        edit->setFocus();
        edit->setCursorPosition(4);
        button->setFocus();
        QTRY_VERIFY(!edit->hasFocus());
        QCOMPARE(edit->cursorPosition(), 0);
    }

    // Combo box ----------------------------------------------------------------------------

    void comboFrameAndArrowButton() {
        TMyFlatComboBox combo;
        combo.SetStyle(csDropDownList);
        combo.SetColor(RGBColor(255, 255, 255));
        combo.resize(100, 21);
        const QImage img = combo.grab().toImage();
        const QColor arrowFace(217, 214, 197);
        QCOMPARE(img.pixelColor(0, 0), Border);
        QCOMPARE(img.pixelColor(0, 20), Border);
        QCOMPARE(img.pixelColor(87, 10), Border); // frame right edge = arrow button left edge
        QCOMPARE(img.pixelColor(1, 10), White);
        QCOMPARE(img.pixelColor(2, 10), White);
        QCOMPARE(img.pixelColor(85, 1), White);
        QCOMPARE(img.pixelColor(86, 2), White);
        QCOMPARE(img.pixelColor(99, 10), Border);
        QCOMPARE(img.pixelColor(93, 0), Border);
        QCOMPARE(img.pixelColor(93, 20), Border);
        QCOMPARE(img.pixelColor(89, 4), arrowFace);
    }

    void comboArrowPointsDownClosedUpOpenAndGreyWhenDisabled_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QList<QPoint>>("arrow"); // pixels in the arrow colour
        QTest::addColumn<QList<QPoint>>("white"); // pixels of the white offset copy
        QTest::addColumn<QList<QPoint>>("face");  // pixels left in the button face colour
        QTest::addColumn<QColor>("arrowColour");
        // 100 x 21: button from x = 87, cx = 93, y0 = 9.
        const QList<QPoint> down = {{91, 9}, {93, 9}, {95, 9}, {92, 10}, {94, 10}, {93, 11}};
        const QList<QPoint> up = {{93, 9}, {92, 10}, {94, 10}, {91, 11}, {93, 11}, {95, 11}};
        QTest::addRow("closed") << "closed" << down << QList<QPoint>{}
                                << QList<QPoint>{{90, 9},  {96, 9},  {91, 10}, {95, 10},
                                                 {92, 11}, {93, 12}, {93, 8}}
                                << QColor(0, 0, 0);
        QTest::addRow("open") << "open" << up << QList<QPoint>{}
                              << QList<QPoint>{{93, 8},  {92, 9},  {91, 10}, {95, 10},
                                               {90, 11}, {96, 11}, {93, 12}}
                              << QColor(0, 0, 0);
        QTest::addRow("disabled") << "disabled" << down
                                  << QList<QPoint>{{96, 10}, {95, 10}, {94, 11}, {95, 11}, {94, 12}}
                                  << QList<QPoint>{{90, 9}, {93, 13}, {97, 10}} << QColor(128, 128, 128);
    }
    void comboArrowPointsDownClosedUpOpenAndGreyWhenDisabled() {
        QFETCH(QString, state);
        QFETCH(QList<QPoint>, arrow);
        QFETCH(QList<QPoint>, white);
        QFETCH(QList<QPoint>, face);
        QFETCH(QColor, arrowColour);
        TMyFlatComboBox combo;
        combo.SetStyle(csDropDownList);
        combo.addItems({"mp4", "avi"});
        combo.resize(100, 21);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        if (state == "open") {
            QTest::mouseClick(&combo, Qt::LeftButton, {}, QPoint(50, 10));
            QTRY_VERIFY(combo.view()->isVisible());
            QVERIFY(combo.DroppedDown());
        }
        if (state == "disabled")
            combo.setEnabled(false);
        const QImage img = combo.grab().toImage();
        for (const QPoint& pt : arrow)
            QVERIFY2(img.pixelColor(pt) == arrowColour,
                     qPrintable(QString("arrow at %1,%2").arg(pt.x()).arg(pt.y())));
        for (const QPoint& pt : white)
            QVERIFY2(img.pixelColor(pt) == White,
                     qPrintable(QString("white at %1,%2").arg(pt.x()).arg(pt.y())));
        for (const QPoint& pt : face)
            QVERIFY2(img.pixelColor(pt) == QColor(217, 214, 197),
                     qPrintable(QString("face at %1,%2").arg(pt.x()).arg(pt.y())));
        if (state == "open") {
            combo.hidePopup();
            QVERIFY(!combo.DroppedDown());
            QCOMPARE(combo.grab().toImage().pixelColor(91, 9), QColor(0, 0, 0)); // pointing down again
        }
    }

    void comboTextAreaShowsTheHighlightWhileFocusedAndClosed() {
        TMyFlatComboBox combo;
        combo.SetStyle(csDropDownList);
        combo.SetColor(RGBColor(255, 255, 255));
        combo.resize(100, 21);
        combo.show();
        combo.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&combo));
        const QColor highlight = combo.palette().color(QPalette::Active, QPalette::Highlight);
        combo.clearFocus();
        QTRY_VERIFY(!combo.hasFocus());
        QCOMPARE(combo.grab().toImage().pixelColor(3, 3), White);
        combo.setFocus();
        QTRY_VERIFY(combo.hasFocus());
        const QImage img = combo.grab().toImage();
        QCOMPARE(img.pixelColor(3, 3), highlight);
        QCOMPARE(img.pixelColor(83, 17), highlight); // (W - 17, H - 4)
        QCOMPARE(img.pixelColor(79, 10), highlight); // the fill from W - 21
        QCOMPARE(img.pixelColor(84, 10), White);
        QCOMPARE(img.pixelColor(2, 2), White);
    }

    void comboItemHeightAndItsResetOnAFontChange() {
        TMyFlatComboBox combo;
        combo.addItems({"mp4", "avi"});
        QCOMPARE(combo.ItemHeight(), 13);
        combo.SetItemHeight(22);
        QCOMPARE(combo.view()->sizeHintForRow(0), 22);
        QFont font("Trebuchet MS");
        font.setPixelSize(16);
        combo.setFont(font);
        QCOMPARE(combo.ItemHeight(), 13);
        combo.SetItemHeight(22);
        QCOMPARE(combo.view()->sizeHintForRow(0), 22);
    }

    void comboEditableStyleHasItsInnerEditInsideTheFrame() {
        TMyFlatComboBox combo;
        QCOMPARE(combo.Style(), csDropDown);
        combo.resize(120, 24);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        QVERIFY(combo.lineEdit());
        QCOMPARE(combo.lineEdit()->geometry(), QRect(3, 3, 101, 18));
        combo.SetStyle(csDropDownList);
        QVERIFY(!combo.lineEdit());
    }

    void comboItemsAndItemIndex() {
        TMyFlatComboBox combo;
        combo.SetStyle(csDropDownList);
        combo.SetItems({"mp4", "avi", "mkv"});
        QCOMPARE(combo.Items(), QStringList({"mp4", "avi", "mkv"}));
        combo.SetItemIndex(2);
        QCOMPARE(combo.ItemIndex(), 2);
        QCOMPARE(combo.currentText(), QString("mkv"));
    }
};

QTEST_MAIN(TestFlatEditUnit)
#include "tst_FlatEditUnit.moc"
