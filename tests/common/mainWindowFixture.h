#pragma once

#include "controls/FlatEditUnit.h"
#include "controls/MyButtonEx.h"
#include "engine/command.h"
#include "items/addForm.h"
#include "platform/VirtualStringTree.h"
#include "platform/dialogSeam.h"
#include "shell/mainForm.h"

#include "encoderFixture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// A fresh main window for one test: its own program folder (real encoder, two formats, see
// TEncoderFixture), dialog seams that answer in advance, the window shown offscreen.
class TMainWindowFixture {
public:
    explicit TMainWindowFixture(bool show = true) {
        SetDialogs(&Dialogs);
        Window = std::make_unique<TmainDlg>();
        if (show) {
            Window->show();
            if (!QTest::qWaitForWindowExposed(Window.get()))
                qWarning("main window not exposed");
            Window->repaint(); // the picture buttons learn their hit areas when painted
        }
    }
    ~TMainWindowFixture() {
        Window.reset();
        SetDialogs(nullptr);
    }
    TMainWindowFixture(const TMainWindowFixture&) = delete;
    TMainWindowFixture& operator=(const TMainWindowFixture&) = delete;

    TVirtualStringTree& List() const { return *Window->VirtualStringTree1; }
    TItemNodeData& Row(quint32 index) const { return *List().GetNodeData(List().NodeAt(index)); }

    // Acts on the next modal window as soon as it is open (a modal dialog runs its own loop).
    static void OnNextModal(std::function<void(QWidget*)> act) {
        auto* timer = new QTimer;
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                timer->stop();
                timer->deleteLater();
                act(modal);
            }
        });
        timer->start();
    }

    // Adds files as the user does: Add, the file dialog answers with `files`, then OK (or Cancel)
    // in the Add Files dialog, with the format at `format` selected.
    void AddFiles(const QStringList& files, int format = TEncoderFixture::fmtQuick, bool accept = true) {
        Dialogs.OpenFileNamesAnswers << files;
        if (!files.isEmpty())
            OnNextModal([format, accept](QWidget* modal) {
                auto* dialog = qobject_cast<TaddDlg*>(modal);
                QVERIFY(dialog);
                dialog->ComboBox1->setCurrentIndex(format);
                QTest::mouseClick(accept ? dialog->btnOk : dialog->btnCancel, Qt::LeftButton);
            });
        QTest::mouseClick(Window->btnAdd, Qt::LeftButton, {}, QPoint(56, 40));
    }

    TScriptedDialogs Dialogs;
    TEncoderFixture Encoder;
    std::unique_ptr<TmainDlg> Window;
};
