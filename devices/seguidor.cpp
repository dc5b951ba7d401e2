#include "devices/seguidor.h"

#include "core/activitat.h"

namespace lumi {

// No camera service yet: nothing connects, nothing is tracked.
int32_t captura_obrir(int32_t) {
    return 0;
}
void captura_tancar() {}

int16_t omvis_iniciar(int16_t) {
    EstatDispositius& d = dispositius();
    if (d.omvis_estat >= 1) return 0;
    d.omvis_estat = 1;
    return 0;
}

int16_t omvis_posicio_pantalla(int16_t&, int16_t&) {
    return 0;
}
void OVSFinalitza() {}
int16_t calibracio_calcular() {
    return 0;
}

} // namespace lumi
