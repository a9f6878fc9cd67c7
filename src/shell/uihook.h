#pragma once

#include <QApplication>
#include <QObject>
#include <QString>
#include <exception>
#include <type_traits>
#include <utility>

class TCommand;
class QWidget;

// The two web pages the main window opens.
namespace WebPages {
inline const QString SupportPage = QStringLiteral("https://quelvid.org/support");
inline const QString HomePage = QStringLiteral("https://quelvid.org/");
} // namespace WebPages

// The count label's text: "%d files, finished %d of %d" with total, finished and total.
QString CountText(quint32 total, quint32 finished);
// The elapsed-time readout: "timestamp: hh:mm:ss", each part at least two digits.
QString TimestampText(qint64 seconds);
// A list file name as Export writes it: ".rfl" appended unless the name already ends in exactly ".rfl".
QString ListFileName(const QString& chosen);

// Shows an error that ended a command, as a message box owned by the main window.
void ShowCommandError(const QString& message);

// Runs one command so that no exception unwinds into Qt's event loop: an error ends the command, its
// message is shown and the program carries on.
template <typename F> auto Guarded(F command) {
    return [command = std::move(command)](auto&&... args) {
        try {
            // A signal may carry more arguments than the command takes (QAction::triggered(bool)).
            if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
                command(std::forward<decltype(args)>(args)...);
            else
                command();
        } catch (const std::exception& error) {
            ShowCommandError(QString::fromUtf8(error.what()));
        } catch (...) {
            ShowCommandError(QStringLiteral("Unknown error."));
        }
    };
}

// The main window's controller: creates and frees the managers of every subsystem, binds the main
// window's events and carries out its commands.
class TUIHook : public QObject {
    Q_OBJECT
public:
    TUIHook();
    ~TUIHook() override;

    void Setup();

    void SetIdleState();
    void SetConvertingState();

    // Commands of the main window.
    void AddFiles(QObject* sender);
    void ConvertItems(QObject* sender);
    void StopConvert(QObject* sender);
    void DeleteItems(QObject* sender);
    void ClearItems(QObject* sender);
    void ShowProperties(QObject* sender);
    void ImportList(QObject* sender);
    void ExportList(QObject* sender);
    void ShowListPage(QObject* sender);
    void OpenSupportPage(QObject* sender);
    void OpenUpdatePage(QObject* sender);

    // Handlers of the batch driver's callbacks.
    void ConvertProgress(TCommand* sender, quint32 percent);
    void ConvertComplete(TCommand* sender, bool stopped);
    void ConvertTick(TCommand* sender);

    void RefreshCount(quint32 finished);

private:
    void BindLabel(QWidget* label, class TImageButton* button);
};

// The application object. Commands are guarded where they are bound; this is the last backstop for
// an error raised by an event that no guard wraps, so that it is shown instead of ending the program.
class TQuelvidApplication : public QApplication {
public:
    TQuelvidApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
