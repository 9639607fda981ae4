#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Backgammon");
    QMainWindow window;
    window.setWindowTitle("Backgammon");
    window.show();
    return app.exec();
}
