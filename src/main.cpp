#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quelvid"));
    QLabel placeholder(QStringLiteral("Quelvid"));
    placeholder.show();
    return app.exec();
}
