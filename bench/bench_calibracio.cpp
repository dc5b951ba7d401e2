// One tick of the calibration window's test mode: the tracker read, the
// point mapped through a keystone calibration, the two markers moved and the
// labels written. The tracker here answers at once, alternating two places,
// so the figure is the window's own work beside its 65 ms period. A program
// of its own because the window is a widget.
#include "aplicacio_bench.h"
#include "devices/OVSDLL_CALIB.h"
#include "devices/matriu_inversa.h"
#include "platform/seguidor_color.h"

#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

class SeguidorAlternat final : public lumi::plataforma::SeguidorColor {
  public:
    bool iniciar(int16_t) override { return true; }
    lumi::plataforma::PosicioColor posicio() override {
        parell_ = !parell_;
        return {true, static_cast<int16_t>(parell_ ? 300 : 340), static_cast<int16_t>(parell_ ? 200 : 260)};
    }
    void finalitzar() override {}
    void posar_parametres(const lumi::plataforma::ParametresColor&) override {}
    lumi::plataforma::ParametresColor parametres() const override { return {}; }

  private:
    bool parell_ = false;
};

struct Entorn {
    QTemporaryDir dir;
    SeguidorAlternat seguidor;
    std::unique_ptr<lumi::OVSDLL_CALIB> f;
    Entorn() {
        qputenv("LUMIRAGA_HOME", dir.path().toLocal8Bit());
        lumi::plataforma::posar_seguidor_color(&seguidor);
        lumi::calibracio_punts_desar(100, 50, 540, 60, 600, 430, 40, 420);
        f = std::make_unique<lumi::OVSDLL_CALIB>();
        f->Form_Load();
        f->show();
        f->chkToggleAlarm->setChecked(true);
        f->ctrlTimer.stop(); // the benchmark drives the ticks
    }
    ~Entorn() {
        f.reset();
        lumi::plataforma::posar_seguidor_color(nullptr);
    }
};

std::unique_ptr<Entorn> entorn;

void BM_CalibracioTicDeTest(benchmark::State& state) {
    if (!entorn) entorn = std::make_unique<Entorn>();
    lumi::OVSDLL_CALIB& f = *entorn->f;
    for (auto _ : state) {
        f.ctrlTimer_Timer();
        benchmark::DoNotOptimize(f.punt_x);
    }
    if (!f.mapa_valid) state.SkipWithError("the calibration gave no map");
}
BENCHMARK(BM_CalibracioTicDeTest)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return lumi::bench::main_amb_finestres(argc, argv, [] { entorn.reset(); });
}
