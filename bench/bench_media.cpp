// From the play request to the first audio played (the player's position
// moves), through the player's playback beside a bare QMediaPlayer playing
// the same file. Needs an audio output (the test script's null sound server).
#include "core/activitat.h"
#include "generar_media.h"
#include "platform/media.h"
#include "comuns/media_jugar.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QUrl>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

namespace pf = lumi::plataforma;

enum class Tipus { Wav, Adpcm, Midi };

struct Fitxers {
    QTemporaryDir dir;
    QString wav, adpcm, midi;
    Fitxers() {
        wav = dir.filePath(QStringLiteral("to.wav"));
        adpcm = dir.filePath(QStringLiteral("adpcm.wav"));
        midi = dir.filePath(QStringLiteral("escala.mid"));
        lumi::proves::generar_wav(wav, 1.0, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        lumi::proves::generar_wav(adpcm, 1.0, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM);
        lumi::proves::generar_midi(midi, 2);
    }
    const QString& de(Tipus t) const { return t == Tipus::Wav ? wav : t == Tipus::Adpcm ? adpcm : midi; }
};

Fitxers& fitxers() {
    static Fitxers f;
    return f;
}

// Polls until the position moves; false after 5 s.
bool esperar_so(const std::function<QMediaPlayer*()>& p) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (QMediaPlayer* r = p(); r && r->position() > 0) return true;
    }
    return false;
}

bool preparar(benchmark::State& state) {
    pf::triar_backend_media();
    if (!pf::hi_ha_sortida_audio()) {
        state.SkipWithError("no audio output (start a sound server)");
        return false;
    }
    return true;
}

void jugador(benchmark::State& state, Tipus tipus) {
    if (!preparar(state)) return;
    const QString f = fitxers().de(tipus);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        QString nom = f;
        lumi::reproduir_media(nom);
        const bool ok = esperar_so([&] { return pf::mci_qt().reproductor(lumi::jugador().media_actual); });
        state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
        QString res;
        lumi::reproduir_media(res);
        if (!ok) {
            state.SkipWithError("the medium did not start");
            return;
        }
    }
}

void qt_nu(benchmark::State& state, Tipus tipus) {
    if (!preparar(state)) return;
    const QString f = fitxers().de(tipus);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        auto p = std::make_unique<QMediaPlayer>();
        p->setAudioOutput(new QAudioOutput(p.get()));
        p->setSource(QUrl::fromLocalFile(f));
        p->play();
        const bool ok = esperar_so([&] { return p.get(); });
        state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
        p->stop();
        if (!ok) {
            state.SkipWithError("the medium did not start");
            return;
        }
    }
}

} // namespace

BENCHMARK_CAPTURE(jugador, wav, Tipus::Wav)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(qt_nu, wav, Tipus::Wav)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(jugador, adpcm, Tipus::Adpcm)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(qt_nu, adpcm, Tipus::Adpcm)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(jugador, midi, Tipus::Midi)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(qt_nu, midi, Tipus::Midi)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
