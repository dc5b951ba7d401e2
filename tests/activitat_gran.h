// A large activity of the kind a planner builds: many items whose lists name
// pictures and sounds in the activity's folder and place texts, with delays
// and a key list. The file benchmarks and the round-trip test share it.
#pragma once

#include "core/activitat.h"

#include <QString>

namespace lumi::proves {

inline Activitat activitat_gran(int n, const QString& carpeta) {
    const QString so = QString(QChar(0xBB));
    const QString c = carpeta + u'/';
    Activitat a;
    a.nombre_items = static_cast<int16_t>(n);
    a.items.assign(static_cast<size_t>(n) + 1, item{});
    for (int i = 1; i <= n; ++i) {
        item& it = a.items[i];
        it.teclat[0] = 1;
        it.ratoli[1] = 1;
        it.retard_be = 1.5f;
        it.retard_mal = 1;
        it.retard_accio = 5;
        it.tecles_llista = QStringLiteral("H39H1CM02");
        it.estimuls = QStringLiteral("2") + so + c + QStringLiteral("gat%1.bmp").arg(i) + so +
                      QStringLiteral("CENTRAT_Gat número %1|").arg(i) + c + QStringLiteral("gos.jpg:P50");
        it.si_be =
            QStringLiteral("1") + so + c + QStringLiteral("bravo.wav") + so + QStringLiteral("COLOR_65280");
        it.si_mal = QStringLiteral("1") + so + c + QStringLiteral("no.wav");
    }
    a.font.nom = QStringLiteral("Arial");
    a.font.mida = 24;
    a.mode_estimul = QStringLiteral("0");
    a.zones.assign(1, zona{0, 0, 1280, 960, QString()});
    return a;
}

// Zones 1..n showing `imatge`, piled on the cells of a 10 x 10 grid of the
// 1280 x 960 screen (zone k on cell k mod 100): a hundred show at most.
inline void zones_apilades(Activitat& a, int n, const QString& imatge) {
    a.zones.resize(1);
    for (int k = 1; k <= n; ++k) {
        const int x = (k % 10) * 128, y = (k % 100 / 10) * 96;
        a.zones.push_back(zona{x + 4, y + 4, x + 124, y + 92, imatge});
    }
    a.zones_max = static_cast<int16_t>(n);
}

} // namespace lumi::proves
