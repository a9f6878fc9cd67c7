#include "items/BrowseFolder.h"
#include "platform/dialogSeam.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// Answers like the scripted seam and remembers what the picker was opened with.
class TRecordingDialogs : public TScriptedDialogs {
public:
    QString Title;
    QString InitialFolder;
    QWidget* Owner = nullptr;
    QString BrowseForFolder(QWidget* owner, const QString& title, const QString& initialFolder) override {
        Owner = owner;
        Title = title;
        InitialFolder = initialFolder;
        return TScriptedDialogs::BrowseForFolder(owner, title, initialFolder);
    }
};
} // namespace

class TestBrowseFolder : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetDialogs(nullptr); }

    void answerBecomesFolderField_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("expected");
        QTest::addRow("folder without trailing slash") << "/data/out" << QByteArray("/data/out/");
        QTest::addRow("folder with trailing slash") << "/data/out/" << QByteArray("/data/out/");
        QTest::addRow("root keeps one slash") << "/" << QByteArray("/");
        QTest::addRow("cancelled") << "" << QByteArray();
        QTest::addRow("no file-system path") << "smb:share/x" << QByteArray();
        QTest::addRow("non-ASCII name") << "/data/Vidéos/片" << QByteArray("/data/Vidéos/片/");
    }
    void answerBecomesFolderField() {
        QFETCH(QString, answer);
        QFETCH(QByteArray, expected);
        TRecordingDialogs dialogs;
        dialogs.FolderAnswers << answer;
        SetDialogs(&dialogs);
        QWidget owner;
        QCOMPARE(BrowseForFolder(&owner, "Save Directory", ""), expected);
        QCOMPARE(dialogs.DialogsOpened, 1);
        QCOMPARE(dialogs.Owner, &owner);
        QCOMPARE(dialogs.Title, QString("Save Directory"));
        QVERIFY(dialogs.InitialFolder.isEmpty());
    }

    void initialFolderReachesThePicker() {
        TRecordingDialogs dialogs;
        SetDialogs(&dialogs);
        BrowseForFolder(nullptr, "Pick", "/srv/v\xc3\xa4");
        QCOMPARE(dialogs.InitialFolder, QString::fromUtf8("/srv/v\xc3\xa4"));
    }

    // The production picker is the real Qt folder dialog: a user who picks a folder gets it back
    // with a trailing '/', one who cancels gets nothing.
    void realPickerChoosesAndCancels() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.path() + "/clips";
        QVERIFY(QDir().mkpath(folder));

        QString seenTitle;
        auto answer = [&](bool choose) {
            QTimer::singleShot(0, this, [&, choose] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                seenTitle = dialog->windowTitle();
                if (choose) {
                    dialog->setDirectory(folder);
                    QTest::keyClick(dialog, Qt::Key_Return);
                } else {
                    QTest::keyClick(dialog, Qt::Key_Escape);
                }
            });
        };
        answer(true);
        QCOMPARE(BrowseForFolder(nullptr, "Save Directory", dir.path().toUtf8()), (folder + "/").toUtf8());
        QCOMPARE(seenTitle, QString("Save Directory"));
        answer(false);
        QVERIFY(BrowseForFolder(nullptr, "Save Directory", dir.path().toUtf8()).isEmpty());
    }
};

QTEST_MAIN(TestBrowseFolder)
#include "tst_BrowseFolder.moc"
