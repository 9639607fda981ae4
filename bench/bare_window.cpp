// The yardstick for the program's start-up: a bare Qt main window of the same size, built
// with the same compiler, flags and Qt, started and measured the same way (bench/startup_idle.py).

#include "startupprobe.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(774, 595);
    armStartupProbe(&window);
    window.show();
    return app.exec();
}
