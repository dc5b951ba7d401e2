// One drag step of the full-screen zone editor: the hit test, the move of the
// selected zone and the repaint of a 1920 x 1080 canvas holding a background
// and 20 zone pictures; and the release, whose repaint adds the selected
// picture and its handles. A frame is 16.7 ms. And the editor opened, painted
// and left for the previews, on 100 zones and on 32,767. A program of its own
// because the canvas is a widget.
#include "actions/ACCIONS.h"
#include "actions/tela_zones.h"
#include "activitat_gran.h"
#include "aplicacio_bench.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int AMPLE = 1920;
constexpr int ALT = 1080;

QString dibuix(const QString& cami, int w, int h, QColor c) {
    QImage im(w, h, QImage::Format_RGB32);
    QPainter p(&im);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, c);
    g.setColorAt(1, c.darker(250));
    p.fillRect(im.rect(), g);
    p.end();
    im.save(cami);
    return cami;
}

struct Entorn {
    QTemporaryDir dir;
    lumi::Activitat a;
    lumi::EstatDispositius d;
    lumi::item it;
    std::unique_ptr<lumi::ACCIONS> f;
    // What the screen would show: the canvas is painted into it, whatever
    // the platform exposes.
    QImage pantalla{AMPLE, ALT, QImage::Format_RGB32};
    void pintar() { f->tela->render(&pantalla); }
    Entorn() {
        qputenv("LUMIRAGA_HOME", dir.path().toLocal8Bit());
        a.nombre_items = 1;
        a.items.assign(2, lumi::item{});
        a.zones.assign(1, lumi::zona{0, 0, AMPLE, ALT, {}});
        a.fitxer_imatge_fons = dibuix(dir.filePath(QStringLiteral("fons.png")), 1024, 768, Qt::darkCyan);
        // 20 zones in 5 columns and 4 rows, each with a picture of its own.
        for (int k = 0; k < 20; ++k) {
            const int x = 40 + (k % 5) * 370;
            const int y = 40 + (k / 5) * 260;
            const QString im = dibuix(dir.filePath(QStringLiteral("z%1.png").arg(k)), 320, 240,
                                      QColor::fromHsv(k * 18, 200, 230));
            a.zones.push_back(lumi::zona{x, y, x + 300, y + 200, im});
        }
        a.zones_max = 20;
        f = std::make_unique<lumi::ACCIONS>(it, a, d, nullptr);
        f->show();
        f->CREAR_ZONES_Click(1);
        // The size of a common monitor, whatever the test screen is.
        f->tela->setGeometry(0, 0, AMPLE, ALT);
        f->zona_selecciona(7);
        pintar();
    }
    ~Entorn() { f.reset(); }
};

std::unique_ptr<Entorn> entorn;

// Inside zone 7 (column 2, row 2), away from its edges.
QPointF punt(int i) {
    return QPointF(40 + 370 + 150 + (i % 40), 40 + 260 + 100 + (i % 30));
}

void BM_ZonaPasArrossegar(benchmark::State& state) {
    if (!entorn) entorn = std::make_unique<Entorn>();
    lumi::ACCIONS& f = *entorn->f;
    f.Form_MouseDown(Qt::LeftButton, punt(0));
    int i = 1;
    for (auto _ : state) {
        const QPointF p = punt(i++);
        benchmark::DoNotOptimize(lumi::dimensionar::nansa_buscar(f.marc, int(p.x()), int(p.y())));
        f.Form_MouseMove(Qt::LeftButton, p);
        entorn->pintar();
    }
    f.Form_MouseUp(Qt::LeftButton, punt(i));
    if (!f.tela->isVisible()) state.SkipWithError("the canvas is not shown");
    if (f.zona_seleccionada() != 7) state.SkipWithError("the zone was not selected");
}
BENCHMARK(BM_ZonaPasArrossegar)->Unit(benchmark::kMillisecond);

void BM_ZonaDeixarAmbNanses(benchmark::State& state) {
    if (!entorn) entorn = std::make_unique<Entorn>();
    lumi::ACCIONS& f = *entorn->f;
    int i = 0;
    for (auto _ : state) {
        f.Form_MouseDown(Qt::LeftButton, punt(i));
        f.Form_MouseMove(Qt::LeftButton, punt(i + 1));
        f.Form_MouseUp(Qt::LeftButton, punt(i + 1));
        entorn->pintar();
        ++i;
    }
    if (f.zona_seleccionada() != 7) state.SkipWithError("the zone was not selected");
}
BENCHMARK(BM_ZonaDeixarAmbNanses)->Unit(benchmark::kMillisecond);

// The action editor opened on an activity of n piled zones with a picture,
// its zone editor entered and painted, then left, and the previews painted;
// milliseconds.
double obrir_editor(const QString& imatge, int n) {
    lumi::Activitat a = lumi::proves::activitat_gran(1, QString());
    lumi::proves::zones_apilades(a, n, imatge);
    lumi::EstatDispositius d;
    lumi::item it;
    QImage pantalla(AMPLE, ALT, QImage::Format_RGB32);
    QElapsedTimer t;
    t.start();
    lumi::ACCIONS f(it, a, d, nullptr);
    f.obrir_pagina(0, QString());
    f.show();
    f.CREAR_ZONES_Click(1);
    f.tela->render(&pantalla);
    f.mn_zona_Click(4);
    f.visor_zones[0]->render(&pantalla);
    return double(t.nsecsElapsed()) / 1e6;
}

void BM_ZonesObrirEditor(benchmark::State& state) {
    QTemporaryDir dir;
    const QString imatge = dibuix(dir.filePath(QStringLiteral("zona.png")), 320, 240, Qt::darkCyan);
    double ms[2] = {};
    for (auto _ : state) {
        ms[0] += obrir_editor(imatge, 100);
        ms[1] += obrir_editor(imatge, 32767);
    }
    const double n = double(state.iterations());
    state.counters["ms_100"] = ms[0] / n;
    state.counters["ms_32767"] = ms[1] / n;
    state.counters["ratio_ms"] = ms[1] / ms[0];
}
BENCHMARK(BM_ZonesObrirEditor)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return lumi::bench::main_amb_finestres(argc, argv, [] { entorn.reset(); });
}
