// The smallest Qt Widgets process: the yardstick for a helper's memory.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(64, 64);
    window.show();
    return QApplication::exec();
}
