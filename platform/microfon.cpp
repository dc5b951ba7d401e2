#include "platform/microfon.h"

#include <algorithm>
#include <cstdlib>

namespace lumi::plataforma {

namespace {

class MicrofonAbsent final : public Microfon {
  public:
    bool obrir() override { return false; }
    void tancar() override {}
    bool obert() override { return false; }
    int mostres_per_segon() const override { return 22050; }
    std::vector<int16_t> llegir() override { return {}; }
    int nivell() override { return 0; }
};

Microfon* g_microfon = nullptr;

} // namespace

int nivell_so(const int16_t* mostres, size_t n) {
    int maxim = 0;
    for (size_t i = 0; i < n; ++i)
        maxim = std::max(maxim, std::abs(static_cast<int>(mostres[i])));
    return maxim * 128 / 32768;
}

Microfon& microfon() {
    static MicrofonAbsent absent;
    return g_microfon ? *g_microfon : absent;
}

void posar_microfon(Microfon* m) {
    g_microfon = m;
}

} // namespace lumi::plataforma
