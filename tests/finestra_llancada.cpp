// A program with one window, for the tests that launch a program under an X
// server: the window is titled by the first argument, and the program runs
// until it is ended.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("finestra"));
    w.resize(320, 240);
    w.show();
    return QApplication::exec();
}
