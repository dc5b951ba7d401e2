// Start-up probe: builds either the player window or a bare Qt widget, shows
// it, and exits at its first paint, printing the resident memory at rest.
// Given an activity file, the player starts it as from the command line and
// the probe exits at the first paint of the running exercise.
// The benchmark runs it as a separate process, so each run is a cold start.
#include "app/connexions.h"
#include "player/Form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace {
long rss_kb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& l : f.readAll().split('\n')) {
        if (l.startsWith("VmRSS:")) return l.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

struct PrimerDibuix : QObject {
    const lumi::Form1* exercici = nullptr;
    QElapsedTimer des_de_main;
    bool eventFilter(QObject* o, QEvent* e) override {
        // With an activity: once its run has placed its zones.
        if (e->type() == QEvent::Paint && o->isWidgetType() &&
            (!exercici || (exercici->exercici_en_marxa && exercici->I_zona->isVisible()))) {
            if (exercici) {
                std::printf("ms_pintat=%.3f\n", double(des_de_main.nsecsElapsed()) / 1e6);
                exercici = nullptr;
            }
            QTimer::singleShot(0, [] {
                // Let the start-up settle, then read memory at rest.
                QTimer::singleShot(50, [] {
                    std::printf("rss_kb=%ld\n", rss_kb());
                    std::fflush(stdout);
                    std::_Exit(0);
                });
            });
        }
        return false;
    }
};
} // namespace

int main(int argc, char** argv) {
    PrimerDibuix filtre;
    filtre.des_de_main.start();
    QApplication app(argc, argv);
    lumi::connectar_ganxos();
    app.installEventFilter(&filtre);
    const bool minim = argc > 1 && std::strcmp(argv[1], "--minim") == 0;
    if (minim) {
        auto* w = new QWidget;
        w->resize(800, 600);
        w->show();
        return app.exec();
    }
    auto* f = new lumi::Form1;
    if (argc > 1) {
        f->linia_ordres = QString::fromLocal8Bit(argv[1]);
        filtre.exercici = f;
    }
    if (!f->Form_Load()) return 1;
    f->show();
    return app.exec();
}
