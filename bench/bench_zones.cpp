// One drag step of the full-screen zone editor: the hit test, the move of the
// selected zone and the repaint of a 1920 x 1080 canvas holding a background
// and 20 zone pictures; and the release, whose repaint adds the selected
// picture and its handles. A frame is 16.7 ms. A program of its own because
// the canvas is a widget.
#include "actions/ACCIONS.h"
#include "actions/tela_zones.h"
#include "aplicacio_bench.h"

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

} // namespace

int main(int argc, char** argv) {
    return lumi::bench::main_amb_finestres(argc, argv, [] { entorn.reset(); });
}
