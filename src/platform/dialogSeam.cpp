#include "platform/dialogSeam.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

class TQtDialogs : public TDialogSeam {
public:
    QStringList GetOpenFileNames(QWidget* owner, const QString& filter) override {
        return QFileDialog::getOpenFileNames(owner, QString(), QString(), VclFilterToQt(filter));
    }
    QString GetOpenFileName(QWidget* owner, const QString& filter) override {
        return QFileDialog::getOpenFileName(owner, QString(), QString(), VclFilterToQt(filter));
    }
    QString GetSaveFileName(QWidget* owner, const QString& filter) override {
        return QFileDialog::getSaveFileName(owner, QString(), QString(), VclFilterToQt(filter), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
    QString BrowseForFolder(QWidget* owner, const QString& title, const QString& initialFolder) override {
        return QFileDialog::getExistingDirectory(owner, title, initialFolder, QFileDialog::ShowDirsOnly);
    }
    void ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                     TMessageIcon icon) override {
        const QMessageBox::Icon qtIcon = icon == miInformation ? QMessageBox::Information
                                         : icon == miWarning   ? QMessageBox::Warning
                                                               : QMessageBox::Critical;
        QMessageBox box(qtIcon, caption, text, QMessageBox::Ok, owner);
        box.exec();
    }
};

TDialogSeam*& installedSeam() {
    static TDialogSeam* seam = nullptr;
    return seam;
}

template <typename T> T takeFirstOr(QList<T>& answers, T fallback) {
    return answers.isEmpty() ? fallback : answers.takeFirst();
}

} // namespace

TDialogSeam& Dialogs() {
    static TQtDialogs real;
    return installedSeam() ? *installedSeam() : real;
}

void SetDialogs(TDialogSeam* seam) {
    installedSeam() = seam;
}

QString VclFilterToQt(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        if (patterns == QStringLiteral("*.*"))
            patterns = QStringLiteral("*");
        // A description that already shows its patterns ("List (*.rfl)") keeps them once.
        const QString description = parts[i];
        entries << (description.contains(u'(') ? description.left(description.indexOf(u'(')).trimmed()
                                               : description) +
                       QStringLiteral(" (") + patterns + u')';
    }
    return entries.join(QStringLiteral(";;"));
}

QStringList TScriptedDialogs::GetOpenFileNames(QWidget*, const QString& filter) {
    ++DialogsOpened;
    Filters << filter;
    return takeFirstOr(OpenFileNamesAnswers, QStringList());
}

QString TScriptedDialogs::GetOpenFileName(QWidget*, const QString& filter) {
    ++DialogsOpened;
    Filters << filter;
    return takeFirstOr(OpenFileNameAnswers, QString());
}

QString TScriptedDialogs::GetSaveFileName(QWidget*, const QString& filter) {
    ++DialogsOpened;
    Filters << filter;
    return takeFirstOr(SaveFileNameAnswers, QString());
}

QString TScriptedDialogs::BrowseForFolder(QWidget*, const QString&, const QString&) {
    ++DialogsOpened;
    return takeFirstOr(FolderAnswers, QString());
}

void TScriptedDialogs::ShowMessage(QWidget*, const QString& text, const QString& caption, TMessageIcon icon) {
    Messages.append({text, caption, icon});
}
