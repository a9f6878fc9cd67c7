#include "shell/SplashForm.h"
#include "shell/mainForm.h"
#include "shell/uihook.h"

int main(int argc, char** argv) {
    // 1. The application object and its title.
    TQuelvidApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quelvid"));
    // 2. The splash stays up for one second while messages are handled; meanwhile the main window's
    //    pictures and fonts are loaded.
    ShowSplash(1000, GetTickCount, PreloadMainWindow);
    // 3. The main window; its creation handler builds the controller. It is not shown yet.
    auto* window = new TmainDlg();
    // 4. The splash goes.
    HideSplash();
    // 5. The event loop shows the main window and returns when it has been closed.
    window->show();
    const int result = application.exec();
    delete window;
    return result;
}
