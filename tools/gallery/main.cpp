// quelvid-gallery: every painted control in each of its states, side by side in one window.
// With a file name as argument it renders the window to that PNG and exits.
#include "gallery.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Quelvid gallery"));
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(gallerySectionOne(&window), 0, Qt::AlignTop);
    layout->addWidget(gallerySectionTwo(&window), 0, Qt::AlignTop);
    window.show();
    if (argc > 1) {
        const QString target = QString::fromLocal8Bit(argv[1]);
        // Let pending paints and hint timers settle before grabbing.
        QTimer::singleShot(1500, &app, [&, target] {
            window.grab().save(target);
            app.quit();
        });
    }
    return app.exec();
}
