// One step of the planner's item navigator on a 1,000-item activity: the
// shown item stored (the undo snapshot only compared, as a move is no
// change of the teacher's), the next one loaded,
// its grids refilled and the window painted; beside it the write of the
// same activity to its file. A program of its own because the planner is a
// widget window.
#include "aplicacio_bench.h"
#include "activitat_gran.h"
#include "core/camins.h"
#include "core/fitxer_lrq.h"
#include "planner/planificar.h"
#include "platform/instancia.h"
#include "player/Form1.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int ITEMS = 1000;

struct Entorn {
    QTemporaryDir dir;
    std::unique_ptr<lumi::Form1> f;
    std::unique_ptr<lumi::planificar> p;
    Entorn() {
        qputenv("LUMIRAGA_HOME", dir.path().toLocal8Bit());
        lumi::connectar_ganxos();
        f = std::make_unique<lumi::Form1>();
        f->Form_Load();
        lumi::jugador().estat_finestra = 1; // already activated: no start dialog
        lumi::activitat() = lumi::proves::activitat_gran(ITEMS, dir.path());
        lumi::carpeta_activitat() = dir.path();
        lumi::activitat().fitxer_actual = dir.filePath(QStringLiteral("gran.lrq"));
        p = std::make_unique<lumi::planificar>(f.get());
        p->Form_Load();
        p->reaccions_Click(3);
        p->show();
        QApplication::processEvents();
    }
    ~Entorn() {
        p.reset();
        f.reset();
        lumi::plataforma::alliberar_instancia_unica();
    }
};

// Made once for every run of the benchmarks; gone before the application.
std::unique_ptr<Entorn> entorn;

void BM_PlanificadorPasDItem(benchmark::State& state) {
    if (!entorn) entorn = std::make_unique<Entorn>();
    lumi::planificar& p = *entorn->p;
    for (auto _ : state) {
        const int seguent = p.HScroll1->value() == ITEMS ? 1 : p.HScroll1->value() + 1;
        p.HScroll1->setValue(seguent);
        QImage pintat = p.grab().toImage();
        benchmark::DoNotOptimize(pintat.bits());
    }
}
BENCHMARK(BM_PlanificadorPasDItem)->Unit(benchmark::kMillisecond);

// A cell of SI_BE dropped onto its neighbour: the undo snapshot of the whole
// activity as it was before, the two row refills and the window painted.
void BM_PlanificadorDeixarCella(benchmark::State& state) {
    if (!entorn) entorn = std::make_unique<Entorn>();
    lumi::planificar& p = *entorn->p;
    p.model.ord_afagir(1, 1, lumi::SI_BE, QStringLiteral("a.wav"));
    p.model.ord_afagir(1, 1, lumi::SI_BE, QStringLiteral("b.wav"));
    p.model.ord_omplir_fila(1, lumi::SI_BE);
    p.ordres_repinta(lumi::SI_BE);
    for (auto _ : state) {
        p.cella_MouseDown(lumi::SI_BE, 2, Qt::LeftButton);
        p.cella_MouseDown(lumi::SI_BE, 2, Qt::LeftButton);
        p.cella_DragDrop(lumi::SI_BE, 1);
        QImage pintat = p.grab().toImage();
        benchmark::DoNotOptimize(pintat.bits());
    }
    if (p.model.text_cella(lumi::SI_BE, 1) == p.model.text_cella(lumi::SI_BE, 2))
        state.SkipWithError("the drop did not move the order");
}
BENCHMARK(BM_PlanificadorDeixarCella)->Unit(benchmark::kMillisecond);

void BM_DesarActivitat(benchmark::State& state) {
    if (!entorn) entorn = std::make_unique<Entorn>();
    const QString cami = entorn->dir.filePath(QStringLiteral("copia.lrq"));
    for (auto _ : state)
        benchmark::DoNotOptimize(lumi::desar_exercici(cami));
}
BENCHMARK(BM_DesarActivitat)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return lumi::bench::main_amb_finestres(argc, argv, [] { entorn.reset(); });
}
