// The synthetic colour tracker: it looks at the camera's frame at the moment
// it is asked, on the calling thread, so a test with a scripted clock gets an
// answer without waiting for a worker.
#pragma once

#include "platform/dispositiu_sintetic.h"
#include "platform/seguidor_color.h"

namespace lumi::plataforma {

class SeguidorSintetic : public SeguidorColor, public DispositiuSintetic {
  public:
    // Fails when told to or when the camera does not open.
    bool iniciar(int16_t mode) override;
    PosicioColor posicio() override;
    void finalitzar() override;
    void posar_parametres(const ParametresColor& p) override { params = p; }
    ParametresColor parametres() const override { return params; }

    ParametresColor params;
    int16_t mode = -1; // the mode of the last start

  private:
    AnalitzadorColor analitzador_;
};

} // namespace lumi::plataforma
