// A sound file's samples, read whole with libsndfile.
#include "platform/media.h"

#include <QFile>
#include <sndfile.h>
#include <vector>

namespace lumi::plataforma {

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
