// One hour of simulated play on an injected clock: a tick every 100 ms, a
// question every answer window, a report every five minutes, then the total
// time ends the run. Reports the questions asked, the log's size and the
// resident memory before and after. A program of its own: the player window
// needs a widget application.
#include "aplicacio_bench.h"
#include "player/Form1.h"
#include "core/activitat.h"
#include "core/informe.h"
#include "platform/instancia.h"
#include "platform/rellotge.h"

#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct RellotgeSimulat : lumi::plataforma::Rellotge {
    double dia = 36000, mono = 0;
    double segons_dia() override { return dia; }
    double monotonic() override { return mono; }
};

long rss_kb() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> camps = f.readAll().split(' ');
    return camps.size() > 1 ? camps[1].toLong() * 4 : 0;
}

void BM_UnaHoraDeJoc(benchmark::State& state) {
    QTemporaryDir dir;
    qputenv("LUMIRAGA_HOME", dir.path().toLocal8Bit());
    RellotgeSimulat r;
    lumi::plataforma::posar_rellotge(&r);
    lumi::Form1 f;
    f.Form_Load();
    lumi::jugador().estat_finestra = 1; // already activated: no start dialog
    f.show();
    QApplication::processEvents();

    long preguntes = 0, log_kb = 0, rss_inici = 0, rss_final = 0;
    for (auto _ : state) {
        lumi::Activitat& a = lumi::activitat();
        a.items.assign(4, lumi::item{});
        a.nombre_items = 3;
        for (int i = 1; i <= 3; ++i)
            a.items[static_cast<size_t>(i)].estimuls = QStringLiteral("1\u00bbno_hi_es.bmp");
        a.mode_estimul = QStringLiteral("0");
        a.temps_total = 3600;
        a.exercici_seguent.clear();
        f.engegar_exercici();
        rss_inici = rss_kb();
        for (int tic = 0; tic < 36100 && f.exercici_en_marxa; ++tic) {
            r.mono += 0.1;
            r.dia += 0.1;
            // What the presentation leaves for the answer window.
            if (!f.pregunta_activa) {
                f.pregunta_activa = true;
                f.temps_pregunta[1] = 5;
                f.temps_pregunta[2] = static_cast<float>(std::nearbyint(r.dia));
            }
            f.t_estimular_Timer();
            if (tic % 3000 == 0) benchmark::DoNotOptimize(f.prep_informe());
        }
        rss_final = rss_kb();
        preguntes = lumi::informe().nombre_preguntes;
        log_kb = lumi::informe_detall().size() * 2 / 1024;
    }
    state.counters["preguntes"] = static_cast<double>(preguntes);
    state.counters["log_kb"] = static_cast<double>(log_kb);
    state.counters["rss_inici_kb"] = static_cast<double>(rss_inici);
    state.counters["rss_final_kb"] = static_cast<double>(rss_final);
    lumi::plataforma::posar_rellotge(nullptr);
    lumi::plataforma::alliberar_instancia_unica();
}
BENCHMARK(BM_UnaHoraDeJoc)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return lumi::bench::main_amb_finestres(argc, argv);
}
