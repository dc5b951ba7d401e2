// A bare Qt Widgets window, linked with Qt alone: the floor beside which the
// program's start-up and key-to-screen times are set.
//   --arrencada  an 800 x 600 window that reports its first paint and its
//                memory at rest as the program's probe does
//   --tecla      the whole screen blue; a key turns it yellow for 50 ms (the
//                reaction of the activity the program is given)
#include "primer_dibuix.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <cstring>

namespace {

class Finestra : public QWidget {
  public:
    QColor color = Qt::blue;

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), color); }
    void keyPressEvent(QKeyEvent* e) override {
        if (e->isAutoRepeat()) return;
        color = Qt::yellow;
        update();
        QTimer::singleShot(50, this, [this] {
            color = Qt::blue;
            update();
        });
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    lumi::bench::PrimerDibuix filtre;
    Finestra w;
    if (argc > 1 && std::strcmp(argv[1], "--tecla") == 0) {
        w.setWindowFlag(Qt::FramelessWindowHint);
        w.setGeometry(QGuiApplication::primaryScreen()->geometry());
    } else {
        app.installEventFilter(&filtre);
        w.resize(800, 600);
    }
    w.show();
    w.activateWindow();
    return app.exec();
}
