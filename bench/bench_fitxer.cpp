// Reading and writing a large activity file: a planner stores an undo
// snapshot after every change, and chained activities load between questions.
#include "activitat.h"
#include "fitxer_lrq.h"
#include "idioma.h"

#include <benchmark/benchmark.h>

namespace {

const QString CARPETA = QStringLiteral("/home/mestre/activitats/animals");

lumi::Activitat activitat_gran(int n) {
    const QString so = QString(QChar(0xBB));
    const QString c = CARPETA + u'/';
    lumi::Activitat a;
    a.nombre_items = static_cast<int16_t>(n);
    a.items.assign(static_cast<size_t>(n) + 1, lumi::item{});
    for (int i = 1; i <= n; ++i) {
        lumi::item& it = a.items[i];
        it.teclat[0] = 1;
        it.ratoli[1] = 1;
        it.retard_be = 1.5f;
        it.retard_mal = 1;
        it.retard_accio = 5;
        it.tecles_llista = QStringLiteral("H39H1CM02");
        it.estimuls = QStringLiteral("2") + so + c + QStringLiteral("gat%1.bmp").arg(i) + so +
                      QStringLiteral("CENTRAT_Gat número %1|").arg(i) + c + QStringLiteral("gos.jpg:P50");
        it.si_be = QStringLiteral("1") + so + c + QStringLiteral("bravo.wav") + so + QStringLiteral("COLOR_65280");
        it.si_mal = QStringLiteral("1") + so + c + QStringLiteral("no.wav");
    }
    a.font.nom = QStringLiteral("Arial");
    a.font.mida = 24;
    a.mode_estimul = QStringLiteral("0");
    a.zones.assign(1, lumi::zona{0, 0, 1280, 960, QString()});
    return a;
}

void BM_escriure_activitat(benchmark::State& state) {
    const lumi::Activitat a = activitat_gran(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(lumi::escriure_activitat(a, lumi::IDIOMA_CATALA, CARPETA));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_escriure_activitat)->Arg(1000);

void BM_llegir_activitat(benchmark::State& state) {
    const lumi::Activitat a = activitat_gran(static_cast<int>(state.range(0)));
    const QByteArray dades = lumi::escriure_activitat(a, lumi::IDIOMA_CATALA, CARPETA);
    lumi::OpcionsLectura o;
    o.llengua = lumi::IDIOMA_CATALA;
    o.carpeta = CARPETA;
    o.escriptori = QRect(0, 0, 1280, 960);
    const lumi::Activitat base;
    for (auto _ : state) {
        auto r = lumi::llegir_activitat(dades, CARPETA + QStringLiteral("/a.lrq"), base, o);
        benchmark::DoNotOptimize(r.activitat.nombre_items);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * dades.size());
}
BENCHMARK(BM_llegir_activitat)->Arg(1000);

} // namespace
