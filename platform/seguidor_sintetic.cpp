#include "platform/seguidor_sintetic.h"

#include "platform/camera.h"

namespace lumi::plataforma {

bool SeguidorSintetic::iniciar(int16_t m) {
    if (obert_) return true;
    if (!obrir_dispositiu()) return false;
    if (!agafar_camera(0)) {
        tancar_dispositiu();
        return false;
    }
    mode = m;
    return true;
}

PosicioColor SeguidorSintetic::posicio() {
    if (!present()) return {};
    return analitzador_.analitzar(camera().fotograma(), params);
}

void SeguidorSintetic::finalitzar() {
    if (!obert_) return;
    tancar_dispositiu();
    deixar_camera();
}

} // namespace lumi::plataforma
