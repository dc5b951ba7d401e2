// Opening the action editor as the planner does: the form built and its
// captions set, the item filled in, the page chosen, the window shown and
// painted; beside it the fill alone, without widgets. The item uses every
// page (a full key list, a long series, mouse and webcam zones, voice words)
// and the activity holds every zone an item can name, so the fill's lists
// and combos are as long as they get; or the 32,767 zones a file can hold,
// the later ones over the first 255. A program of its own because the
// editor is a widget window.
#include "actions/ACCIONS.h"
#include "aplicacio_bench.h"
#include "core/codis.h"
#include "planner/model_planificador.h"

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

struct Dades {
    lumi::Activitat a;
    lumi::EstatDispositius d;
    lumi::item it;
    explicit Dades(int zones = 255) {
        a.zones.assign(1, lumi::zona{0, 0, 1024, 768, QString()});
        for (int z = 1; z <= 255; ++z)
            a.zones.push_back(lumi::zona{z % 16 * 60, z / 16 * 45, z % 16 * 60 + 50, z / 16 * 45 + 40, {}});
        for (int z = 256; z <= zones; ++z)
            a.zones.push_back(a.zones[static_cast<size_t>(z % 255 + 1)]);
        a.zones_max = static_cast<int16_t>(std::max(zones, 255));
        a.nombre_items = 1;
        a.items.assign(2, lumi::item{});
        a.paraules_veu[0] = QStringLiteral("A,E,I,O,U,MA,PA,TA,SA,LA,NA,BA,DA,FA");
        it.teclat = {1, 1, 1, 1, 0, 0, 1, 1, 1, 1, 1};
        it.tecles_llista = lumi::accions_text_a_codis(QStringLiteral("AB{F1}{F2}{F3}{Ins}{Supr}XYZ"), 0);
        QString serie;
        for (int i = 1; i <= 12; ++i)
            serie += QStringLiteral("{F%1}{Zona %2}{Veu 00%3}QW").arg(i).arg(i * 20).arg(i % 9 + 1);
        it.serie = serie;
        it.ratoli = {1, 1, 0, 1};
        QString zm, zw;
        for (int z = 1; z <= 255; z += 2) {
            zm += u'H' + QString::number(z, 16).toUpper().rightJustified(2, u'0');
            zw += u'W' + QString::number(z + 1, 16).toUpper().rightJustified(2, u'0');
        }
        it.zones_ratoli = zm;
        it.zones_web = zw;
        it.web[11] = 1;
        it.jostick = {1, 0, 1, 0, 1, 1, 0, 0};
        for (int k = 1; k <= 14; k += 3)
            it.veu[static_cast<size_t>(k)] = 1;
    }
};

QString titol(int pagina) {
    return lumi::ModelPlanificador::titol_accions(pagina);
}

void BM_AccionsObrirPagina(benchmark::State& state) {
    const int pagina = static_cast<int>(state.range(0));
    Dades dades(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        lumi::item it = dades.it;
        lumi::ACCIONS e(it, dades.a, dades.d, nullptr);
        e.obrir_pagina(pagina, titol(pagina));
        e.show();
        QImage pintat = e.grab().toImage();
        benchmark::DoNotOptimize(pintat.bits());
        e.hide();
    }
    state.SetLabel(titol(pagina).toStdString());
}
BENCHMARK(BM_AccionsObrirPagina)
    ->ArgsProduct({{1, 0, 2, 3, 6}, {255}})
    ->Args({0, 32767})
    ->Args({6, 32767})
    ->Unit(benchmark::kMillisecond);

// The load and fill of the model: key list, series and icons, zone combos
// and lists, voice list, sound band.
void BM_AccionsOmplir(benchmark::State& state) {
    Dades dades(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        lumi::item it = dades.it;
        lumi::ModelAccions m(it, dades.a, dades.d);
        m.carregar();
        benchmark::DoNotOptimize(m.serie_total);
    }
}
BENCHMARK(BM_AccionsOmplir)->Arg(255)->Arg(32767)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return lumi::bench::main_amb_finestres(argc, argv);
}
