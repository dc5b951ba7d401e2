// The question sequence: which item is asked next.
#include "player/Form1.h"
#include "core/informe.h"
#include "platform/rellotge.h"
#include "core/vb.h"

#include <algorithm>

namespace lumi {

void Form1::pregunta_seguent() {
    Activitat& a = activitat();
    EstatJugador& j = jugador();

    j.index_actual = 0;
    sequencia_parcial.clear();
    reaccio_serie_pendent.clear();

    // Element 0 of items is scratch space: the activity's items are 1..n.
    const int n = std::min<int>(a.nombre_items, static_cast<int>(a.items.size()) - 1);
    if (n < 1) return;

    // A stop or another run begun while this one yields: the question is
    // theirs to ask, or no one's.
    const bool en_marxa = exercici_en_marxa;
    const unsigned generacio = generacio_exercici;
    auto superada = [&] { return en_marxa && (!exercici_en_marxa || generacio_exercici != generacio); };

    int k = 0;
    if (valor_inicial(a.mode_estimul) == 0) {
        int tirades = 0;
        do {
            plataforma::cedir();
            const float r = plataforma::atzar().seguent();
            k = static_cast<int>(part_entera(static_cast<float>(n) * r));
            // A draw at the very top of [0, 1) can round up to n.
            k = std::clamp(k, 0, n - 1);
        } while (k == j.item_anterior && n != 1 && ++tirades < 100 && !superada());
        if (superada()) return;
        // A source that keeps giving the last item: the one after it.
        if (k == j.item_anterior && n != 1) k = (k + 1) % n;
    } else {
        k = (j.item_anterior + 1) % n;
        if (k < 0) k += n;
    }

    if (!j.item_salt.isEmpty()) {
        const auto salt = a_enter16(valor_inicial(j.item_salt) - 1);
        j.item_salt.clear();
        // A jump to an item the activity does not have is ignored.
        if (salt && *salt >= 0 && *salt < n) k = *salt;
    }

    j.item_anterior = static_cast<int16_t>(k);

    // Items with nothing to present are passed over; after two laps nothing is asked.
    int voltes = 0;
    for (;;) {
        plataforma::cedir();
        if (superada()) return;
        // Events handled meanwhile may have loaded another activity.
        const int m = std::min<int>(activitat().nombre_items, static_cast<int>(activitat().items.size()) - 1);
        if (m < 1 || k >= m) return;
        if (activitat().items[k + 1].estimuls.size() > 2) break;
        k = (k + 1) % m;
        if (k == 0 && ++voltes == 2) return;
    }

    dades_informe& inf = informe();
    inf.nombre_preguntes = static_cast<int16_t>(inf.nombre_preguntes + 1);
    inf.preguntes_no_respostes = static_cast<int16_t>(inf.preguntes_no_respostes + 1);
    inf.pregunta_oberta = CERT;
    j.index_actual = static_cast<int16_t>(k + 1);

    informe_detall() += SALT_INFORME + hora_text(plataforma::rellotge().segons_dia()) +
                        QStringLiteral("|************ NOU ESTIMUL ************");

    estimul_presenta(j.index_actual);
}

} // namespace lumi
