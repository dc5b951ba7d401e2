// The colour tracker's cost: one 640 x 480 frame looked at on one core,
// beside one plain pass over the same frame (reading every pixel once), and
// the two calls the player makes every 10 ms on its interface thread.
#include "core/activitat.h"
#include "core/fitxer_lrq.h"
#include "devices/omvis.h"
#include "platform/camera_sintetica.h"
#include "platform/seguidor_color.h"

#include <QCoreApplication>
#include <QThread>
#include <benchmark/benchmark.h>

namespace pf = lumi::plataforma;

namespace {

// A frame as a camera gives it: a shaded red disc with noise, through YUYV,
// on bands of nearby hues.
QImage fotograma_realista() {
    pf::CameraSintetica c;
    c.realista = true;
    c.soroll = 6;
    c.color_disc = QColor::fromHsv(0, 220, 230);
    c.fons_tons = {QColor::fromHsv(40, 200, 210), QColor::fromHsv(120, 40, 120),
                   QColor::fromHsv(320, 190, 200), QColor(90, 90, 90)};
    c.cami = {{0, {300, 200}}};
    return c.dibuixar(0);
}

void BM_seguidor_fotograma(benchmark::State& state) {
    const QImage f = fotograma_realista();
    pf::AnalitzadorColor a;
    const pf::ParametresColor p;
    for (auto _ : state)
        benchmark::DoNotOptimize(a.analitzar(f, p));
    state.SetLabel("640x480, shaded disc with noise through YUYV");
}
BENCHMARK(BM_seguidor_fotograma)->Unit(benchmark::kMillisecond);

// The floor: one loop over the frame's bytes, each read once and summed.
void BM_passada_simple(benchmark::State& state) {
    const QImage f = fotograma_realista();
    const uchar* bytes = f.constBits();
    const qsizetype n = f.sizeInBytes();
    for (auto _ : state) {
        uint64_t suma = 0;
        for (qsizetype i = 0; i < n; ++i)
            suma += bytes[i];
        benchmark::DoNotOptimize(suma);
    }
}
BENCHMARK(BM_passada_simple)->Unit(benchmark::kMillisecond);

// The tracker running on the synthetic camera, asked as the player asks it.
struct Seguint {
    pf::CameraSintetica camera;
    Seguint() {
        camera.cami = {{0, {320, 240}}};
        pf::posar_camera(&camera);
        lumi::escriptori_actual() = [] { return QRect(0, 0, 1024, 768); };
        lumi::dispositius().coeficients_calibracio = {0, 1, 0, 0, 0, 1, 0, 0, 0};
        pf::seguidor_color().iniciar(1);
        int16_t v = 0, h = 0;
        for (int i = 0; i < 200 && lumi::OVSObtenirPosicio(v, h) != 1; ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
    }
    ~Seguint() {
        pf::seguidor_color().finalitzar();
        pf::posar_camera(nullptr);
    }
};

void BM_OVSObtenirPosicio(benchmark::State& state) {
    Seguint s;
    int16_t v = 0, h = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(lumi::OVSObtenirPosicio(v, h));
    state.SetLabel(h == 320 ? "found" : "NOT FOUND");
}
BENCHMARK(BM_OVSObtenirPosicio)->Unit(benchmark::kMicrosecond);

void BM_omvis_posicio_pantalla(benchmark::State& state) {
    Seguint s;
    int16_t x = 0, y = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(lumi::omvis_posicio_pantalla(x, y));
    state.SetLabel(x == 512 && y == 384 ? "found" : "NOT FOUND");
}
BENCHMARK(BM_omvis_posicio_pantalla)->Unit(benchmark::kMicrosecond);

} // namespace
