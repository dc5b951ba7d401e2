// Start-up probe: builds either the player window or a bare Qt widget, shows
// it, and exits at its first paint, printing the resident memory at rest.
// The benchmark runs it as a separate process, so each run is a cold start.
#include "app/connexions.h"
#include "player/Form1.h"

#include <QApplication>
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
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->isWidgetType()) {
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
    QApplication app(argc, argv);
    lumi::connectar_ganxos();
    PrimerDibuix filtre;
    app.installEventFilter(&filtre);
    const bool minim = argc > 1 && std::strcmp(argv[1], "--minim") == 0;
    if (minim) {
        auto* w = new QWidget;
        w->resize(800, 600);
        w->show();
        return app.exec();
    }
    auto* f = new lumi::Form1;
    if (!f->Form_Load()) return 1;
    f->show();
    return app.exec();
}
