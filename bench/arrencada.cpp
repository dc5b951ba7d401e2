// Start-up probe: the program itself, as it starts from the command line,
// reporting its first paint and its memory at rest (primer_dibuix.h). Given
// an activity file, it reports instead the milliseconds from its start to
// the first paint of the running exercise, once its zones are placed, and
// its memory then.
#include "app/connexions.h"
#include "platform/instancia.h"
#include "player/Form1.h"
#include "primer_dibuix.h"

#include <QApplication>
#include <QElapsedTimer>

namespace {

struct PrimerDibuixExercici : QObject {
    QElapsedTimer des_de_main;
    bool vist = false;
    bool eventFilter(QObject* o, QEvent* e) override {
        const lumi::Form1* f = lumi::Form1::instancia();
        if (!vist && e->type() == QEvent::Paint && o->isWidgetType() && f && f->exercici_en_marxa &&
            f->I_zona->isVisible()) {
            vist = true;
            std::printf("ms_pintat=%.3f\n", double(des_de_main.nsecsElapsed()) / 1e6);
            QTimer::singleShot(50, [] {
                std::printf("rss_kb=%ld\n", lumi::bench::rss_kb());
                std::fflush(stdout);
                lumi::plataforma::alliberar_instancia_unica();
                std::_Exit(0);
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    PrimerDibuixExercici exercici;
    exercici.des_de_main.start();
    lumi::bench::PrimerDibuix filtre;
    // The next start finds no lock left, as after a normal end.
    filtre.en_sortir = [] { lumi::plataforma::alliberar_instancia_unica(); };
    QObject* quin = argc > 1 ? static_cast<QObject*>(&exercici) : &filtre;
    return lumi::executar(argc, argv, [&](QApplication& app) { app.installEventFilter(quin); });
}
