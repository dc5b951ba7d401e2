// Reading and writing a large activity file: a planner stores an undo
// snapshot after every change, and chained activities load between questions.
#include "core/activitat.h"
#include "activitat_gran.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "core/text_codec.h"

#include <benchmark/benchmark.h>

namespace {

const QString CARPETA = QStringLiteral("/home/mestre/activitats/animals");

lumi::Activitat activitat_gran(int n) {
    return lumi::proves::activitat_gran(n, CARPETA);
}

void BM_escriure_activitat(benchmark::State& state) {
    const lumi::Activitat a = activitat_gran(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(lumi::escriure_activitat(a, lumi::IDIOMA_CATALA, CARPETA));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_escriure_activitat)->Arg(1000);

// A thousand items; with a second argument, one item and that many zones.
void BM_llegir_activitat(benchmark::State& state) {
    lumi::Activitat a = activitat_gran(static_cast<int>(state.range(0)));
    if (state.range(1) > 0)
        lumi::proves::zones_apilades(a, static_cast<int>(state.range(1)),
                                     CARPETA + QStringLiteral("/zona.png"));
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
BENCHMARK(BM_llegir_activitat)->Args({1000, 0})->Args({1, 32767});

// The floor of any line-based reader: the same bytes decoded once and every
// line end found. Reading and writing are measured against it.
void BM_pis_linies(benchmark::State& state) {
    const lumi::Activitat a = activitat_gran(static_cast<int>(state.range(0)));
    const QByteArray dades = lumi::escriure_activitat(a, lumi::IDIOMA_CATALA, CARPETA);
    // Windows-1252, as the writer chose for this activity.
    char16_t taula[256];
    for (int b = 0; b < 256; ++b)
        taula[b] = lumi::cp1252_a_caracter(static_cast<unsigned char>(b)).unicode();
    for (auto _ : state) {
        QString text(dades.size(), Qt::Uninitialized);
        char16_t* c = reinterpret_cast<char16_t*>(text.data());
        for (const char b : dades)
            *c++ = taula[static_cast<unsigned char>(b)];
        qsizetype linies = 0;
        for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1))
            ++linies;
        benchmark::DoNotOptimize(linies);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * dades.size());
}
BENCHMARK(BM_pis_linies)->Arg(1000);

} // namespace
