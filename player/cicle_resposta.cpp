#include "player/cicle_resposta.h"

#include "core/activitat.h"
#include "player/comparadors.h"
#include "core/informe.h"

namespace lumi {

void sumar_u(int16_t& comptador) {
    if (comptador < 32767) ++comptador;
}

void CicleResposta::comptar_resposta() {
    sumar_u(informe().nombre_respostes);
    tancar_pregunta_oberta();
}

void CicleResposta::tancar_pregunta_oberta() {
    dades_informe& inf = informe();
    if (inf.pregunta_oberta != 0) {
        inf.pregunta_oberta = 0;
        --inf.preguntes_no_respostes;
    }
}

bool CicleResposta::mateixa_execucio(unsigned generacio) const {
    return generacio == generacio_exercici && exercici_en_marxa;
}

bool CicleResposta::resposta_be(int16_t i) {
    const unsigned generacio = generacio_exercici;
    pregunta_activa = false;
    sumar_u(informe().respostes_be);
    escena_.reaccio_be(i);
    // A reaction that stopped the run, or chained to another one that has
    // already asked its first question, leaves nothing more to ask.
    if (!mateixa_execucio(generacio)) return false;
    if (activitat().finestra_opcio == 1) {
        escena_.apartar_finestra();
        pregunta_activa = true;
        return true;
    }
    escena_.pregunta_seguent();
    return false;
}

bool CicleResposta::actuar(int16_t i, int16_t r, bool tecla) {
    if (r == COMPROVA_PAS_SERIE) {
        if (tecla && sequencia_parcial.size() == 3) escena_.pantalla_prepara();
        escena_.reaccio_serie_be(i);
        return false;
    }
    if (r == COMPROVA_MAL) {
        const unsigned generacio = generacio_exercici;
        sumar_u(informe().respostes_mal);
        escena_.reaccio_mal(i);
        if (mateixa_execucio(generacio)) escena_.estimul_presenta(jugador().index_actual);
        return false;
    }
    return resposta_be(i);
}

void CicleResposta::actuar_sense_pregunta(int16_t i, int16_t r) {
    if (r == COMPROVA_PAS_SERIE) {
        escena_.reaccio_serie_be(i);
        return;
    }
    pregunta_activa = false;
    sumar_u(informe().respostes_be);
    escena_.reaccio_be(i);
}

bool CicleResposta::jutjar(const std::function<int16_t(int16_t)>& comprova, bool tecla) {
    const EstatJugador& j = jugador();
    if (j.index_actual != 0) {
        const int16_t i = j.index_actual;
        return actuar(i, comprova(i), tecla);
    }
    const int16_t n = activitat().nombre_items;
    for (int16_t i = 1; i <= n; ++i) {
        const int16_t r = comprova(i);
        if (r == COMPROVA_MAL) continue;
        actuar_sense_pregunta(i, r);
        break;
    }
    return false;
}

} // namespace lumi
