#include "platform/microfon.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <mutex>
#include <utility>

namespace lumi::plataforma {

namespace {

constexpr int PER_SEGON = 16000;
// 400 frames divide the engine's 50 ms level into two buffers.
constexpr int MOSTRES_BUFFER = 400;
constexpr size_t MAXIM = 10 * PER_SEGON;

QString& dispositiu_triat() {
    static QString d;
    return d;
}

class MicrofonSdl final : public Microfon {
  public:
    ~MicrofonSdl() override {
        tancar();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool obrir() override {
        if (dispositiu_ != 0 && obert()) return true;
        tancar();
        SDL_AudioSpec vull{}, tinc{};
        vull.freq = PER_SEGON;
        vull.format = AUDIO_S16SYS;
        vull.channels = 1;
        vull.samples = MOSTRES_BUFFER;
        vull.callback = &MicrofonSdl::rebre;
        vull.userdata = this;
        const QByteArray nom = dispositiu_triat().toUtf8();
        // No change allowed: SDL converts to what was asked.
        dispositiu_ = SDL_OpenAudioDevice(nom.isEmpty() ? nullptr : nom.constData(), 1, &vull, &tinc, 0);
        if (dispositiu_ == 0) return false;
        if (tinc.samples != MOSTRES_BUFFER)
            std::fprintf(stderr, "lumiraga: the microphone gives buffers of %d frames, not %d\n",
                         tinc.samples, MOSTRES_BUFFER);
        {
            std::lock_guard l(mutex_);
            mostres_.clear();
            darreres_.assign(PER_SEGON / 20, 0);
        }
        SDL_PauseAudioDevice(dispositiu_, 0);
        return true;
    }

    void tancar() override {
        if (dispositiu_ != 0) SDL_CloseAudioDevice(dispositiu_);
        dispositiu_ = 0;
        receptor_ = nullptr;
    }

    bool lliurar_a(Receptor f) override {
        // Closed, no thread captures, and the next open would drop it.
        if (dispositiu_ == 0) return false;
        // SDL's lock keeps the callback out while the receiver changes; a
        // swap frees nothing under it, the old receiver goes with `f`.
        SDL_LockAudioDevice(dispositiu_);
        std::swap(receptor_, f);
        SDL_UnlockAudioDevice(dispositiu_);
        return true;
    }

    // An unplugged device stops: SDL reports it stopped.
    bool obert() override {
        return dispositiu_ != 0 && SDL_GetAudioDeviceStatus(dispositiu_) == SDL_AUDIO_PLAYING;
    }

    int mostres_per_segon() const override { return PER_SEGON; }

    std::vector<int16_t> llegir() override {
        std::lock_guard l(mutex_);
        std::vector<int16_t> v;
        v.swap(mostres_);
        return v;
    }

    int nivell() override {
        if (!obert()) return 0;
        std::lock_guard l(mutex_);
        return nivell_so(darreres_.data(), darreres_.size());
    }

  private:
    static void rebre(void* jo, Uint8* dades, int bytes) {
        auto* m = static_cast<MicrofonSdl*>(jo);
        const auto* s = reinterpret_cast<const int16_t*>(dades);
        const size_t n = static_cast<size_t>(bytes) / 2;
        if (m->receptor_) m->receptor_(s, n);
        std::lock_guard l(m->mutex_);
        if (!m->receptor_) {
            m->mostres_.insert(m->mostres_.end(), s, s + n);
            // Nobody read for a while: the oldest go, as a full buffer would lose them.
            if (m->mostres_.size() > MAXIM)
                m->mostres_.erase(m->mostres_.begin(),
                                  m->mostres_.end() - static_cast<std::ptrdiff_t>(MAXIM));
        }
        m->darreres_.insert(m->darreres_.end(), s, s + n);
        if (m->darreres_.size() > PER_SEGON / 20)
            m->darreres_.erase(m->darreres_.begin(), m->darreres_.end() - PER_SEGON / 20);
    }

    SDL_AudioDeviceID dispositiu_ = 0;
    std::mutex mutex_;
    std::vector<int16_t> mostres_, darreres_;
    Receptor receptor_; // the capture thread's, changed under SDL's lock
};

} // namespace

std::unique_ptr<Microfon> crear_microfon_sdl() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    return std::make_unique<MicrofonSdl>();
}

QStringList dispositius_captura() {
    QStringList l;
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) return l;
    const int n = SDL_GetNumAudioDevices(1);
    for (int i = 0; i < n; ++i)
        if (const char* nom = SDL_GetAudioDeviceName(i, 1)) l << QString::fromUtf8(nom);
    return l;
}

void triar_dispositiu_captura(const QString& nom) {
    dispositiu_triat() = nom;
}

} // namespace lumi::plataforma
