// Small sound files made on the spot for media tests and benchmarks.
#pragma once

#include <QFile>
#include <QString>
#include <cmath>
#include <cstdint>
#include <sndfile.h>
#include <vector>

namespace lumi::proves {

// A tone of `segons` seconds at 22050 Hz mono; `format` a libsndfile format
// (SF_FORMAT_WAV | SF_FORMAT_PCM_16, ... | SF_FORMAT_IMA_ADPCM, ...).
inline bool generar_wav(const QString& cami, double segons, int format) {
    SF_INFO info{};
    info.samplerate = 22050;
    info.channels = 1;
    info.format = format;
    SNDFILE* f = sf_open(QFile::encodeName(cami).constData(), SFM_WRITE, &info);
    if (!f) return false;
    std::vector<short> mostres(static_cast<size_t>(segons * info.samplerate));
    for (size_t i = 0; i < mostres.size(); ++i)
        mostres[i] = static_cast<short>(8000 * std::sin(static_cast<double>(i) * 0.06));
    const auto n = sf_write_short(f, mostres.data(), static_cast<sf_count_t>(mostres.size()));
    sf_close(f);
    return n == static_cast<sf_count_t>(mostres.size());
}

// A one-track MIDI file: `notes` quarter notes at 120 beats a minute
// (half a second each).
inline bool generar_midi(const QString& cami, int notes) {
    QByteArray pista;
    auto temps = [&](uint32_t t) {
        QByteArray b;
        b.prepend(static_cast<char>(t & 0x7f));
        while ((t >>= 7) != 0)
            b.prepend(static_cast<char>((t & 0x7f) | 0x80));
        pista += b;
    };
    auto bytes = [&](std::initializer_list<int> v) {
        for (int x : v)
            pista += static_cast<char>(x);
    };
    temps(0);
    bytes({0xFF, 0x51, 3, 0x07, 0xA1, 0x20}); // 500000 us a beat
    temps(0);
    bytes({0xC0, 0});
    for (int i = 0; i < notes; ++i) {
        const int nota = 60 + (i * 2) % 12;
        temps(0);
        bytes({0x90, nota, 100});
        temps(480);
        bytes({0x80, nota, 0});
    }
    temps(0);
    bytes({0xFF, 0x2F, 0});

    auto be32 = [](uint32_t v) {
        QByteArray b;
        for (int s = 24; s >= 0; s -= 8)
            b += static_cast<char>((v >> s) & 0xff);
        return b;
    };
    QByteArray tot = "MThd" + be32(6);
    tot += QByteArray("\x00\x00\x00\x01\x01\xE0", 6); // format 0, one track, 480 a beat
    tot += "MTrk" + be32(static_cast<uint32_t>(pista.size())) + pista;
    QFile f(cami);
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(tot) == tot.size();
}

} // namespace lumi::proves
