// From the question to the stimulus painted on the player window: a picture
// and a text, presented and then rendered, in-process. A program of its own
// because the window needs a widget application.
#include "aplicacio_bench.h"
#include "player/Form1.h"
#include "core/activitat.h"
#include "platform/instancia.h"

#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Entorn {
    QTemporaryDir dir;
    std::unique_ptr<lumi::Form1> f;
    Entorn() {
        qputenv("LUMIRAGA_HOME", dir.path().toLocal8Bit());
        f = std::make_unique<lumi::Form1>();
        f->Form_Load();
        lumi::jugador().estat_finestra = 1; // already activated: no start dialog
        f->menuBar()->hide();
        f->resize(1024, 768);
        f->show();
        QApplication::processEvents();
        QImage im(640, 480, QImage::Format_RGB32);
        im.fill(Qt::darkGreen);
        const QString foto = dir.filePath(QStringLiteral("gat.jpg"));
        im.save(foto, "JPG");
        lumi::Activitat& a = lumi::activitat();
        a.items.resize(2);
        a.nombre_items = 1;
        a.items[1].estimuls =
            QStringLiteral("1\u00bb") + foto + QStringLiteral(":P050\u00bbCENTRAT_Hola, gat!");
        a.items[1].retard_estimul = 0;
    }
    ~Entorn() { lumi::plataforma::alliberar_instancia_unica(); }
};

// Made once for every run of the benchmark; gone before the application.
std::unique_ptr<Entorn> entorn;

void BM_PreguntaFinsEstimulPintat(benchmark::State& state) {
    if (!entorn) entorn = std::make_unique<Entorn>();
    for (auto _ : state) {
        entorn->f->estimul_presenta(1);
        QImage pintat = entorn->f->centralWidget()->grab().toImage();
        benchmark::DoNotOptimize(pintat.bits());
    }
}
BENCHMARK(BM_PreguntaFinsEstimulPintat)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return lumi::bench::main_amb_finestres(argc, argv, [] { entorn.reset(); });
}
