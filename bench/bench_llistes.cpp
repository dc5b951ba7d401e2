// The cost of splitting a typical item list: the player does it for every
// question and every reaction.
#include "core/activitat.h"
#include "core/camins.h"
#include "core/codis.h"
#include "core/llistes.h"

#include <QStringList>
#include <benchmark/benchmark.h>

namespace {
const QString SO = QString(QChar(0xBB)); // »

// Six entries of one to three orders each, references absolute as in memory.
QString llista_tipica() {
    const QString c = QStringLiteral("/home/mestre/activitats/animals/");
    return QStringLiteral("6") + SO + c + QStringLiteral("gat.bmp") + SO + c + QStringLiteral("gat.wav|") +
           c + QStringLiteral("gos.jpg:P50") + SO + QStringLiteral("CENTRAT_El gos|") + c +
           QStringLiteral("vaca.gif") + SO + c + QStringLiteral("vaca.wav") + SO +
           QStringLiteral("ESPERA_2|") + c + QStringLiteral("ocell.bmp|") + QStringLiteral("COLOR_255") + SO +
           c + QStringLiteral("cavall.wmf|") + c + QStringLiteral("porc.bmp") + SO + c +
           QStringLiteral("porc.mid");
}

void BM_llista_element(benchmark::State& state) {
    lumi::carpeta_activitat() = QStringLiteral("/home/mestre/activitats/animals");
    const QString l = llista_tipica();
    const QString sep = QStringLiteral("|");
    for (auto _ : state) {
        const int n = lumi::llista_comptar(l, sep);
        for (int k = 1; k <= n; ++k)
            benchmark::DoNotOptimize(lumi::llista_element(l, k, sep));
    }
}
BENCHMARK(BM_llista_element);

void BM_dividir_llista(benchmark::State& state) {
    const QString l = llista_tipica();
    QStringList entrades;
    for (auto _ : state)
        benchmark::DoNotOptimize(lumi::dividir_llista(l, entrades));
}
BENCHMARK(BM_dividir_llista);

void BM_ruta_absoluta(benchmark::State& state) {
    const QString l = lumi::ruta_relativa(llista_tipica(), QStringLiteral("/home/mestre/activitats/animals"));
    for (auto _ : state)
        benchmark::DoNotOptimize(lumi::ruta_absoluta(l, QStringLiteral("/home/mestre/activitats/animals")));
}
BENCHMARK(BM_ruta_absoluta);

void BM_accions_text_a_codis(benchmark::State& state) {
    const QString text =
        QStringLiteral("abc{F1}{Cur.Amunt}{Zona 003}{Web Amunt}{Soroll entre 10 50}{Veu 002}");
    for (auto _ : state)
        benchmark::DoNotOptimize(lumi::accions_text_a_codis(text, 0));
}
BENCHMARK(BM_accions_text_a_codis);
// A caption wrapped to the window, measured as a proportional font would:
// the cost of a long text shown by a stimulus.
int amplada_proporcional(const QString& s) {
    int w = 0;
    for (QChar c : s)
        w += c == u' ' ? 4 : c.isUpper() ? 11 : 8;
    return w;
}

QString text_llarg(qsizetype n) {
    const QString frase = QStringLiteral("El gat i la Gossa juguen al pati, després dinen. ");
    QString t;
    t.reserve(n);
    while (t.size() < n)
        t += frase;
    t.truncate(n);
    return t;
}

void BM_text_ajustar(benchmark::State& state) {
    const QString t = text_llarg(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(lumi::text_ajustar(t, 1024, amplada_proporcional));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_text_ajustar)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A 50 MB caption shown on a screen of 40 lines.
void BM_text_ajustar_pantalla(benchmark::State& state) {
    const QString t = text_llarg(50'000'000);
    for (auto _ : state)
        benchmark::DoNotOptimize(lumi::text_ajustar(t, 1024, amplada_proporcional, 40));
}
BENCHMARK(BM_text_ajustar_pantalla)->Unit(benchmark::kMillisecond);
} // namespace
