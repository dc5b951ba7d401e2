// From a key press on the player window to the decision and to the first
// frame of the reaction painted, in-process, over 10,000 right answers with
// Space. The clock and the random source are injected: the reaction stays on
// screen until its first frame is painted and no wait takes real seconds.
// Reports the median and the 99th percentile of both, the latency until the
// key handler returns, and the resident memory before and after (the
// report's log grows with every answer). A program of its own: the player
// window needs a widget application.
#include "aplicacio_bench.h"
#include "player/Form1.h"
#include "core/activitat.h"
#include "core/informe.h"
#include "platform/instancia.h"
#include "platform/rellotge.h"
#include "core/tecles.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

namespace {

using Instant = std::chrono::steady_clock::time_point;

constexpr int RESPOSTES = 10000;
constexpr float TEMPS_REACCIO = 0.2f; // simulated seconds on screen
const QString REACCIO = QStringLiteral("Be");

double micros(Instant des_de, Instant fins) {
    return std::chrono::duration<double, std::micro>(fins - des_de).count();
}

// The answer being measured: when it was decided and when its reaction was
// first painted.
struct Mesura {
    bool armada = false;
    int16_t be_abans = 0;
    bool decidida = false;
    bool pintada = false;
    Instant decisio{}, frame{};
};

// Advances a little at every reading. The first reading after the right
// answer is counted is the start of the reaction (its log line takes the
// time): that is the decision. Once the reaction's first frame is painted
// the clock jumps over the rest of its time; should it never be painted,
// the jump comes after a few hundred readings so the run still ends.
struct RellotgeSimulat : lumi::plataforma::Rellotge {
    double t = 0;
    Mesura* m = nullptr;
    int lectures_sense_frame = 0;

    void llegit() {
        t += 0.001;
        if (!m || !m->armada) return;
        if (!m->decidida && lumi::informe().respostes_be != m->be_abans) {
            m->decisio = std::chrono::steady_clock::now();
            m->decidida = true;
        } else if (m->decidida && !m->pintada && ++lectures_sense_frame == 300) {
            t += TEMPS_REACCIO;
        }
    }
    double segons_dia() override {
        llegit();
        return 36000.0 + t;
    }
    double monotonic() override {
        llegit();
        return t;
    }
};

struct AtzarAlterna : lumi::plataforma::Atzar {
    int n = 0;
    float seguent() override { return (n++ % 2) ? 0.1f : 0.9f; }
};

// Sees every paint of the application; the first one of the text label
// while it shows the reaction is the reaction's first frame.
class FiltrePintat : public QObject {
  public:
    FiltrePintat(QLabel* etiqueta, Mesura& m, RellotgeSimulat& r) : etiqueta_(etiqueta), m_(m), r_(r) {}

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o == etiqueta_ && m_.decidida && !m_.pintada &&
            etiqueta_->text() == REACCIO) {
            m_.frame = std::chrono::steady_clock::now();
            m_.pintada = true;
            r_.t += TEMPS_REACCIO;
        }
        return false;
    }

  private:
    QLabel* etiqueta_;
    Mesura& m_;
    RellotgeSimulat& r_;
};

long rss_kb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& linia : f.readAll().split('\n'))
        if (linia.startsWith("VmRSS:")) return linia.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

double percentil(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t k = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(k, v.size() - 1)];
}

void preparar_activitat() {
    lumi::Activitat& a = lumi::activitat();
    a.items.assign(3, lumi::item{});
    a.nombre_items = 2;
    for (int i = 1; i <= 2; ++i) {
        lumi::item& it = a.items[static_cast<size_t>(i)];
        it.estimuls = QStringLiteral("1\u00bbPregunta");
        it.si_be = QStringLiteral("1\u00bb") + REACCIO;
        it.si_mal = QStringLiteral("1\u00bbMalament");
        it.retard_be = TEMPS_REACCIO;
        it.retard_mal = TEMPS_REACCIO;
        it.retard_estimul = 0;
    }
    // Space as the Space option and as a key of the list.
    a.items[1].teclat[2] = 1;
    a.items[2].teclat[3] = 1;
    a.items[2].tecles_llista = lumi::codi_tecla(32);
    lumi::EstatJugador& j = lumi::jugador();
    j.index_actual = 1;
    j.item_anterior = 0;
    lumi::dades_informe& inf = lumi::informe();
    inf = lumi::dades_informe{};
    inf.nombre_preguntes = 1;
    inf.preguntes_no_respostes = 1;
    inf.pregunta_oberta = lumi::CERT;
    lumi::informe_detall().clear();
}

void BM_TeclaFinsDecisioIFrame(benchmark::State& state) {
    QTemporaryDir dir;
    qputenv("LUMIRAGA_HOME", dir.path().toLocal8Bit());
    RellotgeSimulat rellotge;
    AtzarAlterna atzar;
    Mesura m;
    rellotge.m = &m;
    lumi::plataforma::posar_rellotge(&rellotge);
    lumi::plataforma::posar_atzar(&atzar);

    long rss_abans = 0, rss_despres = 0;
    std::vector<double> a_decisio, a_frame, a_retorn;
    int16_t be = 0;
    int sense_frame = 0;
    long log_kb = 0;
    {
        lumi::Form1 f;
        f.Form_Load();
        lumi::jugador().estat_finestra = 1; // already activated: no start dialog
        f.menuBar()->hide();
        f.resize(1024, 768);
        f.show();
        QApplication::processEvents();
        f.exercici_en_marxa = true;
        f.mn_opcions->menuAction()->setVisible(false);
        preparar_activitat();
        FiltrePintat filtre(f.Label_par, m, rellotge);
        qApp->installEventFilter(&filtre);
        QApplication::processEvents();

        a_decisio.reserve(RESPOSTES);
        a_frame.reserve(RESPOSTES);
        a_retorn.reserve(RESPOSTES);
        rss_abans = rss_kb();
        for (auto _ : state) {
            m = Mesura{};
            m.be_abans = lumi::informe().respostes_be;
            m.armada = true;
            rellotge.lectures_sense_frame = 0;
            QKeyEvent baixa(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QKeyEvent alta(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            const Instant t0 = std::chrono::steady_clock::now();
            QCoreApplication::sendEvent(&f, &baixa);
            const Instant retorn = std::chrono::steady_clock::now();
            QCoreApplication::sendEvent(&f, &alta);
            m.armada = false;
            a_retorn.push_back(micros(t0, retorn));
            if (m.decidida) a_decisio.push_back(micros(t0, m.decisio));
            if (m.pintada)
                a_frame.push_back(micros(t0, m.frame));
            else
                ++sense_frame;
        }
        rss_despres = rss_kb();
        be = lumi::informe().respostes_be;
        log_kb = static_cast<long>(lumi::informe_detall().size() * 2 / 1024);
        qApp->removeEventFilter(&filtre);
        f.exercici_en_marxa = false;
    }
    lumi::plataforma::posar_rellotge(nullptr);
    lumi::plataforma::posar_atzar(nullptr);
    lumi::plataforma::alliberar_instancia_unica();

    if (a_decisio.size() != static_cast<size_t>(state.iterations()))
        state.SkipWithError("not every key press was decided right");
    state.counters["respostes_be"] = static_cast<double>(be);
    state.counters["sense_frame"] = static_cast<double>(sense_frame);
    state.counters["decisio_mediana_us"] = percentil(a_decisio, 0.5);
    state.counters["decisio_p99_us"] = percentil(a_decisio, 0.99);
    state.counters["frame_mediana_us"] = percentil(a_frame, 0.5);
    state.counters["frame_p99_us"] = percentil(a_frame, 0.99);
    state.counters["retorn_mediana_us"] = percentil(a_retorn, 0.5);
    state.counters["retorn_p99_us"] = percentil(a_retorn, 0.99);
    state.counters["rss_abans_kb"] = static_cast<double>(rss_abans);
    state.counters["rss_despres_kb"] = static_cast<double>(rss_despres);
    state.counters["log_kb"] = static_cast<double>(log_kb); // the report's log, part of the growth
}
BENCHMARK(BM_TeclaFinsDecisioIFrame)->Unit(benchmark::kMicrosecond)->Iterations(RESPOSTES);

} // namespace

int main(int argc, char** argv) {
    return lumi::bench::main_amb_finestres(argc, argv);
}
