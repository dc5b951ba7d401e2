#include "platform/microfon_sintetic.h"

#include "platform/moduls.h"

#include <algorithm>

namespace lumi::plataforma {

bool MicrofonSintetic::carregar_wav(const QString& fitxer) {
    const ModulMedia* m = modul_media();
    std::vector<int16_t> mono;
    int per_segon = 0;
    if (!m || !m->llegir_so(fitxer, mono, per_segon)) return false;
    posar_mostres(std::move(mono), per_segon);
    return true;
}

void MicrofonSintetic::posar_mostres(std::vector<int16_t> mostres, int per_segon) {
    mostres_ = std::move(mostres);
    per_segon_ = std::max(per_segon, 1);
}

bool MicrofonSintetic::obrir() {
    const bool ja_obert = obert_;
    if (!obrir_dispositiu()) return false;
    if (!ja_obert) llegides_ = 0;
    return true;
}

int16_t MicrofonSintetic::mostra(int64_t i) const {
    return i >= 0 && i < static_cast<int64_t>(mostres_.size()) ? mostres_[static_cast<size_t>(i)] : 0;
}

std::vector<int16_t> MicrofonSintetic::llegir() {
    double t = 0;
    if (!present(&t)) return {};
    const int64_t fi = posicio(t);
    const int64_t inici = std::max(llegides_, fi - 10 * static_cast<int64_t>(per_segon_));
    std::vector<int16_t> v;
    v.reserve(static_cast<size_t>(std::max<int64_t>(fi - inici, 0)));
    for (int64_t i = inici; i < fi; ++i)
        v.push_back(mostra(i));
    llegides_ = std::max(llegides_, fi);
    return v;
}

int MicrofonSintetic::nivell() {
    double t = 0;
    if (!present(&t)) return 0;
    const int64_t fi = posicio(t);
    const int64_t inici = std::max<int64_t>(fi - per_segon_ / 20, 0);
    const int64_t ultima = std::min<int64_t>(fi, static_cast<int64_t>(mostres_.size()));
    if (inici >= ultima) return 0;
    return nivell_so(mostres_.data() + inici, static_cast<size_t>(ultima - inici));
}

} // namespace lumi::plataforma
