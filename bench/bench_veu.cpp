// The speech engine: the level's cadence in real time through SDL's disk
// driver, the time from the last sample of an utterance to the word event on
// the interface thread, matching against 32 entries of 3 takes, and the
// recognition rate on the whole fixture set (tests/dades).
#include "platform/finestres.h"
#include "platform/microfon.h"
#include "platform/microfon_sintetic.h"
#include "platform/motor_veu_real.h"
#include "platform/rellotge_sintetic.h"
// The bench folder has no path to the tests' helpers of its own.
#include "../tests/veu_prova.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

namespace pf = lumi::plataforma;
namespace veu = lumi::plataforma::veu;

const QString DADES = QStringLiteral(LUMI_DADES);

using lumi::proves::llegir_so;

// Notes when each engine message reaches it.
class Receptor : public QWidget {
  public:
    QElapsedTimer rellotge;
    std::vector<std::pair<int, double>> missatges; // wParam, ms
    Receptor() { rellotge.start(); }
    bool event(QEvent* e) override {
        if (e->type() != pf::MissatgeMotor::tipus()) return QWidget::event(e);
        missatges.emplace_back(static_cast<pf::MissatgeMotor*>(e)->wParam,
                               static_cast<double>(rellotge.nsecsElapsed()) / 1e6);
        return true;
    }
};

// An engine trained on "a,i,o" from the training stream.
struct MotorEntrenat {
    pf::RellotgeSintetic rellotge;
    pf::MicrofonSintetic microfon;
    std::unique_ptr<pf::MotorVeuReal> motor;
    Receptor finestra;
    MotorEntrenat() {
        pf::posar_rellotge(&rellotge);
        pf::posar_microfon(&microfon);
        motor = std::make_unique<pf::MotorVeuReal>();
        QString llista = QStringLiteral("a,i,o");
        motor->IniciarUnitReconeixementDeSonsSenseQuadreInicial(pf::registrar_finestra(&finestra), 3, llista);
        motor->AssignarNumeroDeDecimesDeSegonDereconeixement(10);
        motor->enregistrar_presa(0);
        alimentar(llegir_so(DADES + QStringLiteral("/veu_entrenament.flac")));
        motor->IniciarReconeixement();
    }
    ~MotorEntrenat() {
        motor.reset();
        pf::posar_microfon(nullptr);
        pf::posar_rellotge(nullptr);
    }
    void alimentar(const veu::Mostres& m) { lumi::proves::alimentar(*motor, m); }
    void cedir() { lumi::proves::cedir(*motor); }
};

void BM_CadenciaNivell(benchmark::State& state) {
    // A tone captured through SDL's disk driver, which paces itself in real time.
    QTemporaryDir dir;
    const QString fitxer = dir.filePath(QStringLiteral("entrada.raw"));
    {
        QFile f(fitxer);
        if (!f.open(QIODevice::WriteOnly)) {
            state.SkipWithError("no temporary file");
            return;
        }
        std::vector<int16_t> to(16000 * 10);
        for (size_t i = 0; i < to.size(); ++i)
            to[i] = static_cast<int16_t>(6000 * std::sin(static_cast<double>(i) * 0.2));
        f.write(reinterpret_cast<const char*>(to.data()), static_cast<qint64>(to.size() * 2));
    }
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(fitxer));
    qputenv("SDL_DISKAUDIOFILE", "/dev/null");
    std::unique_ptr<pf::Microfon> microfon = pf::crear_microfon_sdl();
    std::unique_ptr<pf::MotorVeuReal> motor = microfon ? pf::MotorVeuReal::crear() : nullptr;
    if (!motor) {
        state.SkipWithError("SDL's disk audio driver did not start");
        return;
    }
    pf::posar_microfon(microfon.get());
    Receptor finestra;
    std::vector<double> intervals;
    for (auto _ : state) {
        finestra.missatges.clear();
        if (motor->IniciarCapturaNivellDeSo(pf::registrar_finestra(&finestra)) != 0) {
            state.SkipWithError("the disk driver's capture did not open");
            break;
        }
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 1500)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        motor->FinalitzarCapturaNivellDeSo();
        for (size_t i = 3; i < finestra.missatges.size(); ++i)
            intervals.push_back(finestra.missatges[i].second - finestra.missatges[i - 1].second);
    }
    motor.reset();
    pf::posar_microfon(nullptr);
    if (intervals.empty()) return;
    double suma = 0, pitjor = 0;
    for (double d : intervals) {
        suma += d;
        pitjor = std::max(pitjor, std::abs(d - 50));
    }
    state.counters["interval_ms"] = suma / static_cast<double>(intervals.size());
    state.counters["desviacio_maxima_ms"] = pitjor;
}
BENCHMARK(BM_CadenciaNivell)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LatenciaParaula(benchmark::State& state) {
    MotorEntrenat m;
    const veu::Mostres prova = llegir_so(DADES + QStringLiteral("/veu_prova.flac"));
    std::vector<double> latencies;
    for (auto _ : state) {
        for (size_t i = 0; i < prova.size(); i += 400) {
            const size_t abans = m.finestra.missatges.size();
            const double t0 = static_cast<double>(m.finestra.rellotge.nsecsElapsed()) / 1e6;
            m.motor->alimentar(prova.data() + i, std::min<size_t>(400, prova.size() - i));
            m.cedir();
            for (size_t k = abans; k < m.finestra.missatges.size(); ++k)
                if (m.finestra.missatges[k].first > 0)
                    latencies.push_back(m.finestra.missatges[k].second - t0);
        }
    }
    if (latencies.empty()) return;
    double suma = 0, pitjor = 0;
    for (double l : latencies) {
        suma += l;
        pitjor = std::max(pitjor, l);
    }
    state.counters["paraules"] = static_cast<double>(latencies.size());
    state.counters["latencia_mitjana_ms"] = suma / static_cast<double>(latencies.size());
    state.counters["latencia_maxima_ms"] = pitjor;
}
BENCHMARK(BM_LatenciaParaula)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Comparar32Entrades(benchmark::State& state) {
    MotorEntrenat m;
    const veu::Patrons tres = m.motor->patrons();
    veu::Patrons p;
    for (int i = 0; i < 32; ++i) {
        const veu::Entrada& e = tres.entrades[static_cast<size_t>(i % 3)];
        p.entrades.push_back(veu::Entrada{QString::number(i), e.preses, e.trets});
    }
    const veu::Trets t = veu::trets_mfcc(tres.entrades[1].preses[0]);
    for (auto _ : state)
        benchmark::DoNotOptimize(veu::comparar(p, t));
}
BENCHMARK(BM_Comparar32Entrades)->Unit(benchmark::kMillisecond);

void BM_TaxaDeReconeixement(benchmark::State& state) {
    // The held-out takes (other pitches, speeds and loudness, room noise
    // under them), untrained syllables and noise bursts of the test stream.
    const veu::Mostres entrenament = llegir_so(DADES + QStringLiteral("/veu_entrenament.flac"));
    const veu::Mostres prova = llegir_so(DADES + QStringLiteral("/veu_prova.flac"));
    QFile marques(DADES + QStringLiteral("/veu_prova.txt"));
    std::vector<std::pair<QString, double>> m;
    if (marques.open(QIODevice::ReadOnly))
        for (const QByteArray& l : marques.readAll().split('\n'))
            if (const auto p = l.split(' '); p.size() == 2)
                m.emplace_back(QString::fromLatin1(p[0]), p[1].toDouble());
    int encerts = 0, dites = 0, falses = 0, errors = 0;
    for (auto _ : state) {
        veu::NucliVeu n;
        n.patrons.posar_etiquetes({QStringLiteral("a"), QStringLiteral("i"), QStringLiteral("o")});
        n.enregistrant = true;
        size_t k = 0;
        for (const auto& e : n.alimentar(entrenament.data(), entrenament.size()))
            if (e.tipus == veu::Esdeveniment::Presa)
                n.patrons.afegir_presa(std::min<size_t>(k++ / 3, 2), e.presa);
        n.enregistrant = false;
        n.reconeixent = true;
        n.reiniciar();
        const int64_t base = n.mostres_sentides();
        encerts = dites = falses = errors = 0;
        std::vector<veu::Esdeveniment> fets;
        for (size_t i = 0; i < prova.size(); i += 400)
            for (auto& e : n.alimentar(prova.data() + i, std::min<size_t>(400, prova.size() - i)))
                fets.push_back(std::move(e));
        for (const auto& e : fets) {
            if (e.tipus != veu::Esdeveniment::Paraula) continue;
            const double t = static_cast<double>(e.mostra - base) / veu::MOSTRES_PER_SEGON;
            QString etiqueta;
            for (const auto& [l, s] : m)
                if (s < t) etiqueta = l;
            if (etiqueta == u"-")
                ++falses;
            else if (n.patrons.entrades[static_cast<size_t>(e.valor - 1)].etiqueta == etiqueta)
                ++encerts;
            else
                ++errors;
        }
    }
    for (const auto& [l, s] : m)
        if (l != u"-") ++dites;
    state.counters["encerts"] = encerts;
    state.counters["preses"] = dites;
    state.counters["errors"] = errors;
    state.counters["falses_alarmes"] = falses;
}
BENCHMARK(BM_TaxaDeReconeixement)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_TaxesPerTempsDEscolta(benchmark::State& state) {
    // The set that generar_veu.py --joc makes (two voices, held-out takes,
    // some under noise that starts before them, untrained words and noises),
    // at the listening time given.
    if (lumi::proves::joc_veu().isEmpty()) {
        state.SkipWithError("espeak-ng made no sound set");
        return;
    }
    lumi::proves::Taxes t;
    for (auto _ : state)
        t = lumi::proves::avaluar_veu(static_cast<int>(state.range(0)));
    int be = 0, dites = 0, pitjor = 100;
    for (const auto& [so, bd] : t.sons) {
        be += bd.first;
        dites += bd.second;
        pitjor = std::min(pitjor, 100 * bd.first / std::max(bd.second, 1));
    }
    state.counters["encerts_pc"] = 100.0 * be / std::max(dites, 1);
    state.counters["pitjor_so_pc"] = pitjor;
    state.counters["soroll_abans_pc"] = 100.0 * t.abans_be / std::max(t.abans, 1);
    state.counters["intrusos_acceptats_pc"] = 100.0 * t.acceptats / std::max(t.intrusos, 1);
    state.counters["retard_sobre_finestra_ms"] = 1000 * t.retard;
}
BENCHMARK(BM_TaxesPerTempsDEscolta)->Arg(2)->Arg(10)->Arg(14)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
