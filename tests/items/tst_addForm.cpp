#include "items/addForm.h"

#include "catalogueFixture.h"
#include "controls/FlatEditUnit.h"
#include "controls/MyButtonEx.h"
#include "controls/MyListBox.h"
#include "platform/dialogSeam.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

const QStringList kFormats = {"MP4 video", "WebM video", "MKV video", "MP3 audio"};

// A pixel of the picture that is fully opaque, so it shows unchanged on any background.
QPoint opaquePixel(const QImage& picture) {
    for (int y = picture.height() / 2; y < picture.height(); ++y)
        for (int x = picture.width() / 2; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) == 255)
                return {x, y};
    return {-1, -1};
}

// Runs the dialog modally while `act` plays the user; returns Accepted.
bool runModal(TaddDlg& dialog, const std::function<void()>& act) {
    bool timedOut = false;
    QTimer::singleShot(0, &dialog, [&] {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        act();
    });
    QTimer::singleShot(10000, &dialog, [&] {
        timedOut = true;
        dialog.reject();
    });
    dialog.exec();
    if (timedOut)
        qWarning("the dialog did not close");
    return dialog.Accepted && !timedOut;
}

} // namespace

class TestAddForm : public QObject {
    Q_OBJECT
private slots:
    void init() {
        catalogue_ = std::make_unique<TCatalogueFixture>(kFormats);
        SetDialogs(&dialogs_);
    }
    void cleanup() {
        SetDialogs(nullptr);
        dialogs_ = TScriptedDialogs();
        catalogue_.reset();
    }

    void showsTheChosenFilesWithTheirPicture() {
        TaddDlg dialog;
        const QStringList files = {"/v/one.avi", "/v/two words.mkv", "/v/drei.mp4"};
        dialog.MyListBox1->addItems(files);
        dialog.WriteInformation();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QCOMPARE(dialog.windowTitle(), QString("Add Files"));
        QCOMPARE(dialog.size(), QSize(442, 547));
        QCOMPARE(dialog.MyListBox1->Items(), files);
        QCOMPARE(dialog.Memo1->Lines(),
                 QStringList({"file count: 3", "format: MP4 video", "save to: use global path",
                              "Ready to go...click OK", "Cancel the operation...click Cancel"}));

        const QImage picture = QPixmap(":/art/filerow.png").toImage();
        QCOMPARE(picture.size(), QSize(32, 32));
        const QPoint probe = opaquePixel(picture);
        QVERIFY(probe.x() >= 0);
        const QImage shown = dialog.MyListBox1->viewport()->grab().toImage();
        for (int row = 0; row < files.size(); ++row) {
            const QRect rect = dialog.MyListBox1->visualItemRect(dialog.MyListBox1->item(row));
            const QPoint at = rect.topLeft() + QPoint(4, (35 - 32) / 2) + probe;
            QCOMPARE(QColor(shown.pixel(at)), QColor(picture.pixel(probe)));
        }
    }

    void opensWithTheCatalogueAndTheDefaultFolder() {
        TaddDlg dialog;
        QStringList shown;
        for (int i = 0; i < dialog.ComboBox1->count(); ++i)
            shown << dialog.ComboBox1->itemText(i);
        QCOMPARE(shown, kFormats);
        QCOMPARE(dialog.FormatIndex(), 0);
        QVERIFY(dialog.etDirectory->text().isEmpty());
        QVERIFY(dialog.etDirectory->isReadOnly());
        QVERIFY(!dialog.Accepted);
    }

    void emptyCatalogueSelectsNoFormat() {
        TCatalogueFixture empty({});
        TaddDlg dialog;
        dialog.MyListBox1->addItem("/v/one.avi");
        dialog.WriteInformation();
        QCOMPARE(dialog.FormatIndex(), -1);
        QCOMPARE(dialog.Memo1->Lines().at(1), QString("format: "));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        QVERIFY(dialog.Accepted);
        QCOMPARE(dialog.FormatIndex(), -1);
    }

    void pickedFolderRewritesLineTwoOnly_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("field");
        QTest::addRow("folder without trailing slash") << "/data/out"
                                                       << "/data/out/";
        QTest::addRow("folder with trailing slash") << "/data/out/"
                                                    << "/data/out/";
        QTest::addRow("root") << "/"
                              << "/";
    }
    void pickedFolderRewritesLineTwoOnly() {
        QFETCH(QString, answer);
        QFETCH(QString, field);
        TaddDlg dialog;
        dialog.MyListBox1->addItems({"/v/a.avi", "/v/b.avi", "/v/c.avi"});
        dialog.WriteInformation();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QStringList expected = dialog.Memo1->Lines();
        expected[2] = "save to: " + field;

        dialogs_.FolderAnswers << answer;
        QTest::mouseClick(dialog.btDirectory, Qt::LeftButton);
        QCOMPARE(dialogs_.DialogsOpened, 1);
        QCOMPARE(dialog.etDirectory->text(), field);
        QCOMPARE(dialog.Memo1->Lines(), expected);
        QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        QVERIFY(dialog.Accepted);
        QCOMPARE(dialog.OutputFolder(), field.toUtf8());
    }

    // Cancelling the picker goes back to the default output folder, and the information panel
    // says so; the field never keeps a folder the panel does not show.
    void cancelledPickerReturnsToTheDefaultFolder() {
        TaddDlg dialog;
        dialog.MyListBox1->addItem("/v/a.avi");
        dialog.WriteInformation();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialogs_.FolderAnswers << "/data/out"
                               << "";
        QTest::mouseClick(dialog.btDirectory, Qt::LeftButton);
        QCOMPARE(dialog.Memo1->Lines().at(2), QString("save to: /data/out/"));
        QTest::mouseClick(dialog.btDirectory, Qt::LeftButton);
        QVERIFY(dialog.etDirectory->text().isEmpty());
        QCOMPARE(dialog.Memo1->Lines().at(2), QString("save to: use global path"));
        QVERIFY(dialog.OutputFolder().isEmpty());
    }

    void selectingTheThirdFormatRewritesLineOneOnly() {
        TaddDlg dialog;
        dialog.MyListBox1->addItems({"/v/a.avi", "/v/b.avi"});
        dialog.WriteInformation();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QStringList expected = dialog.Memo1->Lines();
        expected[1] = "format: MKV video";

        dialog.ComboBox1->setFocus();
        QTest::keyClick(dialog.ComboBox1, Qt::Key_Down);
        QTest::keyClick(dialog.ComboBox1, Qt::Key_Down);
        QCOMPARE(dialog.FormatIndex(), 2);
        QCOMPARE(dialog.Memo1->Lines(), expected);
    }

    void onlyOkAccepts_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("accepted");
        QTest::addRow("Escape in the file list") << "escape list" << false;
        QTest::addRow("Escape in the format box") << "escape combo" << false;
        QTest::addRow("Cancel clicked") << "cancel" << false;
        QTest::addRow("Alt+C") << "alt+c" << false;
        QTest::addRow("close box") << "close" << false;
        QTest::addRow("OK clicked") << "ok" << true;
        QTest::addRow("Alt+O") << "alt+o" << true;
    }
    void onlyOkAccepts() {
        QFETCH(QString, action);
        QFETCH(bool, accepted);
        TaddDlg dialog;
        dialog.MyListBox1->addItem("/v/a.avi");
        dialog.WriteInformation();
        const bool result = runModal(dialog, [&] {
            if (action == "escape list")
                QTest::keyClick(dialog.MyListBox1, Qt::Key_Escape);
            else if (action == "escape combo")
                QTest::keyClick(dialog.ComboBox1, Qt::Key_Escape);
            else if (action == "cancel")
                QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
            else if (action == "alt+c")
                QTest::keyClick(dialog.MyListBox1, Qt::Key_C, Qt::AltModifier);
            else if (action == "close")
                dialog.close();
            else if (action == "ok")
                QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
            else if (action == "alt+o")
                QTest::keyClick(dialog.MyListBox1, Qt::Key_O, Qt::AltModifier);
        });
        QCOMPARE(result, accepted);
        QVERIFY(dialog.isHidden());
    }

    void informationPanelPassesTheFocusToOk() {
        TaddDlg dialog;
        dialog.MyListBox1->addItem("/v/a.avi");
        dialog.WriteInformation();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::mouseClick(dialog.Memo1->viewport(), Qt::LeftButton, {}, QPoint(40, 20));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.btnOk));
        QVERIFY(!dialog.Accepted);
        QVERIFY(dialog.isVisible());
    }

    // QUELVID_SCREENSHOT_DIR=<folder> saves the filled dialog as add-files.png there.
    void screenshot() {
        const QString folder = qEnvironmentVariable("QUELVID_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("QUELVID_SCREENSHOT_DIR is not set");
        TaddDlg dialog;
        dialog.MyListBox1->addItems({"/home/ana/Videos/holiday 2026/beach.mov", "/home/ana/Videos/talk.mkv",
                                     "/home/ana/Videos/cat.avi"});
        dialog.WriteInformation();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialogs_.FolderAnswers << "/home/ana/Converted";
        QTest::mouseClick(dialog.btDirectory, Qt::LeftButton);
        QTest::keyClick(dialog.ComboBox1, Qt::Key_Down);
        QVERIFY(dialog.grab().save(folder + "/add-files.png"));
    }

private:
    TScriptedDialogs dialogs_;
    std::unique_ptr<TCatalogueFixture> catalogue_;
};

QTEST_MAIN(TestAddForm)
#include "tst_addForm.moc"
