#include "platform/microfon.h"

#include "platform/moduls.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

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
    bool lliurar_a(Receptor) override { return false; }
};

Microfon* g_microfon = nullptr;

// The machine's microphone, made at its first open: SDL's audio starts then,
// not with the program.
class MicrofonMaquina final : public Microfon {
  public:
    bool obrir() override {
        if (!fet_) {
            fet_ = true;
            if (const ModulSdl* m = modul_sdl()) real_ = m->crear_microfon();
        }
        return real_ && real_->obrir();
    }
    void tancar() override {
        if (real_) real_->tancar();
    }
    bool obert() override { return real_ && real_->obert(); }
    // SDL's capture rate until it has opened.
    int mostres_per_segon() const override { return real_ ? real_->mostres_per_segon() : 16000; }
    std::vector<int16_t> llegir() override { return real_ ? real_->llegir() : std::vector<int16_t>{}; }
    int nivell() override { return real_ ? real_->nivell() : 0; }
    // Before the first open, or without SDL, nothing captures: the caller polls.
    bool lliurar_a(Receptor f) override { return real_ && real_->lliurar_a(std::move(f)); }

  private:
    bool fet_ = false;
    Microfon* real_ = nullptr; // kept for the whole run, like the engine
};

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

Microfon& microfon_maquina() {
    static MicrofonMaquina m;
    return m;
}

} // namespace lumi::plataforma
