// A bare Qt Widgets window, linked with Qt alone: the floor beside which the
// program's start-up and key-to-screen times are set.
//   --arrencada        a window the size of the program's first window (90 %
//                      of the screen) that reports its first paint and its
//                      memory at rest as the program's probe does
//   --arrencada-menus  the same, with the program's menu bar: what Qt alone
//                      takes to show the window the program shows first,
//                      text and fonts included
//   --tecla            the whole screen blue; a key turns it yellow for 50 ms
//                      (the reaction of the activity the program is given)
#include "primer_dibuix.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
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

// The program's menus, by their captions and their number of items.
void posar_menus(QMainWindow& w) {
    const std::pair<const char*, int> menus[] = {
        {"Opcions", 8}, {"Configurar", 5}, {"Idioma", 3}, {"Ajuda", 2}};
    for (const auto& [titol, items] : menus) {
        QMenu* m = w.menuBar()->addMenu(QString::fromUtf8(titol));
        for (int i = 0; i < items; ++i)
            m->addAction(QStringLiteral("Item %1").arg(i));
    }
}

} // namespace

int main(int argc, char** argv) {
    const char* opcio = argc > 1 ? argv[1] : "";
    // Like the program, menus stay in the window.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    lumi::bench::PrimerDibuix filtre;
    const QRect pantalla = QGuiApplication::primaryScreen()->geometry();
    const QSize mida_programa(pantalla.width() * 90 / 100, pantalla.height() * 90 / 100);
    if (std::strcmp(opcio, "--arrencada-menus") == 0) {
        app.installEventFilter(&filtre);
        QMainWindow w;
        posar_menus(w);
        w.setCentralWidget(new QWidget);
        w.resize(mida_programa);
        w.show();
        w.activateWindow();
        return app.exec();
    }
    Finestra w;
    if (std::strcmp(opcio, "--tecla") == 0) {
        w.setWindowFlag(Qt::FramelessWindowHint);
        w.setGeometry(pantalla);
    } else {
        app.installEventFilter(&filtre);
        w.resize(mida_programa);
    }
    w.show();
    w.activateWindow();
    return app.exec();
}
