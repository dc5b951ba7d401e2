// Compressed WAV (ADPCM above all, common in activities made on Windows):
// Qt Multimedia's GStreamer path plays only part of such files, so they are
// decoded here into plain PCM first.
#include "platform/media.h"

#include <QFile>
#include <sndfile.h>
#include <vector>

namespace lumi::plataforma {

namespace {

struct FitxerSo {
    SNDFILE* f = nullptr;
    ~FitxerSo() {
        if (f) sf_close(f);
    }
};

bool es_wav(int format) {
    const int tipus = format & SF_FORMAT_TYPEMASK;
    return tipus == SF_FORMAT_WAV || tipus == SF_FORMAT_WAVEX || tipus == SF_FORMAT_RF64;
}

bool pcm_pla(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
        return true;
    default:
        return false;
    }
}

} // namespace

bool wav_comprimit(const QString& fitxer) {
    SF_INFO info{};
    FitxerSo f{sf_open(QFile::encodeName(fitxer).constData(), SFM_READ, &info)};
    if (!f.f) return false;
    return es_wav(info.format) && !pcm_pla(info.format);
}

bool descodificar_wav(const QString& origen, const QString& desti) {
    SF_INFO info{};
    FitxerSo in{sf_open(QFile::encodeName(origen).constData(), SFM_READ, &info)};
    if (!in.f || !es_wav(info.format) || pcm_pla(info.format)) return false;
    if (info.channels <= 0 || info.samplerate <= 0) return false;

    SF_INFO surt{};
    surt.samplerate = info.samplerate;
    surt.channels = info.channels;
    surt.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    FitxerSo out{sf_open(QFile::encodeName(desti).constData(), SFM_WRITE, &surt)};
    if (!out.f) return false;

    constexpr sf_count_t FRAMES = 4096;
    std::vector<short> buf(static_cast<size_t>(FRAMES * info.channels));
    sf_count_t total = 0;
    for (;;) {
        const sf_count_t n = sf_readf_short(in.f, buf.data(), FRAMES);
        if (n <= 0) break;
        if (sf_writef_short(out.f, buf.data(), n) != n) return false;
        total += n;
    }
    return total > 0;
}

bool llegir_so_mono(const QString& fitxer, std::vector<int16_t>& mostres, int& per_segon) {
    SF_INFO info{};
    SNDFILE* f = sf_open(QFile::encodeName(fitxer).constData(), SFM_READ, &info);
    if (!f) return false;
    std::vector<int16_t> intercalades(static_cast<size_t>(info.frames * info.channels));
    const sf_count_t llegits = sf_readf_short(f, intercalades.data(), info.frames);
    sf_close(f);
    if (llegits < 0 || info.channels < 1 || info.samplerate < 1) return false;
    std::vector<int16_t> mono(static_cast<size_t>(llegits));
    for (size_t i = 0; i < mono.size(); ++i) {
        int suma = 0;
        for (int c = 0; c < info.channels; ++c)
            suma += intercalades[i * static_cast<size_t>(info.channels) + static_cast<size_t>(c)];
        mono[i] = static_cast<int16_t>(suma / info.channels);
    }
    mostres = std::move(mono);
    per_segon = info.samplerate;
    return true;
}

} // namespace lumi::plataforma
