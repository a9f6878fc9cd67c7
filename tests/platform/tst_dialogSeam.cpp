#include "platform/dialogSeam.h"

#include <QTest>

class TestDialogSeam : public QObject {
    Q_OBJECT
private slots:
    void filtersBecomeQtFilters_data() {
        QTest::addColumn<QString>("vcl");
        QTest::addColumn<QString>("qt");
        QTest::addRow("two entries") << "All Supported Formats|*.mpg;*.mp4|All Files|*.*"
                                     << "All Supported Formats (*.mpg *.mp4);;All Files (*)";
        QTest::addRow("description with patterns") << "Ruxo File List File (*.rfl)|*.rfl"
                                                   << "Ruxo File List File (*.rfl)";
    }
    void filtersBecomeQtFilters() {
        QFETCH(QString, vcl);
        QFETCH(QString, qt);
        QCOMPARE(VclFilterToQt(vcl), qt);
    }
    void scriptedAnswersComeInOrderThenCancel() {
        TScriptedDialogs scripted;
        scripted.SaveFileNameAnswers << "/tmp/a"
                                     << "/tmp/b";
        SetDialogs(&scripted);
        QCOMPARE(Dialogs().GetSaveFileName(nullptr, "x|*.x"), QString("/tmp/a"));
        QCOMPARE(Dialogs().GetSaveFileName(nullptr, "x|*.x"), QString("/tmp/b"));
        QVERIFY(Dialogs().GetSaveFileName(nullptr, "x|*.x").isEmpty());
        QCOMPARE(scripted.DialogsOpened, 3);
        Dialogs().ShowMessage(nullptr, "done", "Quelvid", TDialogSeam::miInformation);
        QCOMPARE(scripted.Messages.size(), 1);
        SetDialogs(nullptr);
        QVERIFY(&Dialogs() != &scripted);
    }
};

QTEST_MAIN(TestDialogSeam)
#include "tst_dialogSeam.moc"
