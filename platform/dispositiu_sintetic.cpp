#include "platform/dispositiu_sintetic.h"

#include "platform/rellotge.h"

namespace lumi::plataforma {

double DispositiuSintetic::temps() const {
    return rellotge().monotonic() - inici_;
}

bool DispositiuSintetic::obrir_dispositiu() {
    if (falla_obrir || desaparegut_) return false;
    if (!obert_) {
        inici_ = rellotge().monotonic();
        obert_ = true;
    }
    return true;
}

bool DispositiuSintetic::present(double* t) {
    if (!obert_ || desaparegut_) return false;
    const double ara = temps();
    if (desapareix_als >= 0 && ara >= desapareix_als) desaparegut_ = true;
    if (t) *t = ara;
    return !desaparegut_;
}

} // namespace lumi::plataforma
