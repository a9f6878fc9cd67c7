#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

// Every modal window the program opens on behalf of a command (file dialogs, the folder picker,
// message boxes) goes through this seam, so that tests can answer in advance and never block.
class TDialogSeam {
public:
    enum TMessageIcon { miInformation, miWarning, miCritical };

    virtual ~TDialogSeam() = default;

    // Filters are given in the program's own form "Desc|*.a;*.b|All Files|*.*".
    // An empty result means the user cancelled.
    virtual QStringList GetOpenFileNames(QWidget* owner, const QString& filter) = 0;
    virtual QString GetOpenFileName(QWidget* owner, const QString& filter) = 0;
    // No default extension and no overwrite confirmation.
    virtual QString GetSaveFileName(QWidget* owner, const QString& filter) = 0;
    virtual QString BrowseForFolder(QWidget* owner, const QString& title, const QString& initialFolder) = 0;
    // Modal message box with an OK button.
    virtual void ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                             TMessageIcon icon) = 0;
};

// The seam in force: the real Qt dialogs unless a test installed its own.
TDialogSeam& Dialogs();
// Installs a seam (not owned); nullptr restores the real dialogs.
void SetDialogs(TDialogSeam* seam);

// "Desc|*.a;*.b|All Files|*.*" -> "Desc (*.a *.b);;All Files (*)".
QString VclFilterToQt(const QString& filter);

// A seam for tests: answers are queued in advance, messages are recorded.
class TScriptedDialogs : public TDialogSeam {
public:
    struct TShownMessage {
        QString Text;
        QString Caption;
        TMessageIcon Icon;
    };

    QList<QStringList> OpenFileNamesAnswers;
    QStringList OpenFileNameAnswers;
    QStringList SaveFileNameAnswers;
    QStringList FolderAnswers;
    QList<TShownMessage> Messages;
    QStringList Filters;   // every filter a file dialog was opened with, in order
    int DialogsOpened = 0; // file dialogs and folder pickers opened

    QStringList GetOpenFileNames(QWidget* owner, const QString& filter) override;
    QString GetOpenFileName(QWidget* owner, const QString& filter) override;
    QString GetSaveFileName(QWidget* owner, const QString& filter) override;
    QString BrowseForFolder(QWidget* owner, const QString& title, const QString& initialFolder) override;
    void ShowMessage(QWidget* owner, const QString& text, const QString& caption, TMessageIcon icon) override;
};
