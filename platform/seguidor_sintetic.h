// The synthetic colour tracker: it looks for its colour in the frames of the
// camera in use (the synthetic camera's disc, in tests and headless runs).
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

    int16_t mode = -1; // the mode of the last start
};

} // namespace lumi::plataforma
