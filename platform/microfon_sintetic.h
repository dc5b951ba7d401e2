// The synthetic microphone: it plays a WAV file as if it were heard, from the
// moment it opens (on the platform clock), and silence after the file's end
// or without a file.
#pragma once

#include "platform/dispositiu_sintetic.h"
#include "platform/microfon.h"

#include <QString>

namespace lumi::plataforma {

class MicrofonSintetic : public Microfon, public DispositiuSintetic {
  public:
    // Loads a WAV file (any libsndfile reads; channels are mixed to mono);
    // false, and nothing changes, when it cannot be read.
    bool carregar_wav(const QString& fitxer);
    void posar_mostres(std::vector<int16_t> mostres, int per_segon);

    bool obrir() override;
    void tancar() override { tancar_dispositiu(); }
    bool obert() override { return present(); }
    int mostres_per_segon() const override { return per_segon_; }
    // At most the last ten seconds: older samples are lost, as a capture
    // buffer that nobody emptied would lose them.
    std::vector<int16_t> llegir() override;
    int nivell() override;
    // No capture thread: it is polled.
    bool lliurar_a(Receptor) override { return false; }

  private:
    // The sample heard at position i (silence beyond the file).
    int16_t mostra(int64_t i) const;
    int64_t posicio(double t) const { return static_cast<int64_t>(t * per_segon_); }

    std::vector<int16_t> mostres_;
    int per_segon_ = 22050;
    int64_t llegides_ = 0; // the samples given by llegir since opening
};

} // namespace lumi::plataforma
