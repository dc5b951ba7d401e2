#include "platform/seguidor_sintetic.h"

#include "platform/camera.h"

namespace lumi::plataforma {

bool SeguidorSintetic::iniciar(int16_t m) {
    if (!obrir_dispositiu()) return false;
    if (!camera().obrir()) {
        tancar_dispositiu();
        return false;
    }
    mode = m;
    return true;
}

PosicioColor SeguidorSintetic::posicio() {
    if (!present()) return {};
    return trobar_color(camera().fotograma(), color);
}

void SeguidorSintetic::finalitzar() {
    if (!obert_) return;
    tancar_dispositiu();
    camera().tancar();
}

} // namespace lumi::plataforma
