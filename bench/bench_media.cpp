// From the play request to the first audio played (the player's position
// moves), through the player's playback beside GStreamer alone: its own
// playbin on the same file. Needs an audio output (the test script's null
// sound server).
#include "core/activitat.h"
#include "generar_media.h"
#include "platform/media.h"
#include "comuns/media_jugar.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUrl>
#include <functional>
#include <benchmark/benchmark.h>
#include <gst/gst.h>

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
bool esperar_so(const std::function<qint64()>& posicio) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (posicio() > 0) return true;
    }
    return false;
}

// GStreamer alone: a playbin on the file.
bool playbin(const QString& f) {
    gst_init(nullptr, nullptr);
    GstElement* p = gst_element_factory_make("playbin", nullptr);
    if (!p) return false;
    const QByteArray uri = QUrl::fromLocalFile(f).toEncoded();
    g_object_set(p, "uri", uri.constData(), nullptr);
    gst_element_set_state(p, GST_STATE_PLAYING);
    const bool ok = esperar_so([p] {
        gint64 t = 0;
        return gst_element_query_position(p, GST_FORMAT_TIME, &t) ? t / GST_MSECOND : 0;
    });
    gst_element_set_state(p, GST_STATE_NULL);
    gst_object_unref(p);
    return ok;
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
        const bool ok = esperar_so([&] { return pf::mci_qt().posicio(lumi::jugador().media_actual); });
        state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
        QString res;
        lumi::reproduir_media(res);
        if (!ok) {
            state.SkipWithError("the medium did not start");
            return;
        }
    }
}

void gstreamer_nu(benchmark::State& state, Tipus tipus) {
    if (!preparar(state)) return;
    const QString f = fitxers().de(tipus);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const bool ok = playbin(f);
        state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
        if (!ok) {
            state.SkipWithError("the medium did not start");
            return;
        }
    }
}

} // namespace

BENCHMARK_CAPTURE(jugador, wav, Tipus::Wav)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(gstreamer_nu, wav, Tipus::Wav)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(jugador, adpcm, Tipus::Adpcm)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(gstreamer_nu, adpcm, Tipus::Adpcm)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(jugador, midi, Tipus::Midi)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(gstreamer_nu, midi, Tipus::Midi)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
