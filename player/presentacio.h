// What the stimulus presentation, the text orders and the reaction player
// share: the order classes, the picture placement, the text placements, and the
// media and launch services they call (replaceable, so tests can record).
#pragma once

#include "core/tipus_fitxer.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>

namespace lumi {

// What the player does with an order, by the kind of its file part
// (`tipus_de`): a movie, a slide show and a program last; an activity file
// chains to that activity from a reaction only; anything else ("a.jpeg" too)
// is a text order.
enum class ClasseOrdre : uint8_t { peli, diapositives, programa, activitat, so, media, imatge, text };
ClasseOrdre classe_ordre(TipusFitxer tipus);

// Takes the next order off an entry: the text before the first order
// separator, the rest staying in `resta` (empty after the last order).
QString seguent_ordre(QString& resta);

// A screen saver played on its own: one order, no options, ending in ".SCR".
bool es_entrada_salvapantalles(const QString& entrada);

// The placement value m of a picture order: the number from the third
// character of the first option beginning with "P"; 1 when there is none or
// the number does not fit 16 bits.
int16_t opcio_col_locacio(const QString& ordre);

// Where a picture goes in a window of size `finestra`: m = 1 natural size
// centred (stretched over the window when larger), m = 100 the whole window,
// any other m that percentage of the window with the proportions kept.
struct Col_locacio {
    QRect caixa;
    bool estirada = false; // drawn scaled to the box
};
Col_locacio col_locacio_imatge(QSize finestra, QSize natural, int m);

// The text placements of a placed-text order.
enum class LlocText { Capcalera, Centrat, Peu, Atzar };
// Top-left corner of a label of size `label` in the window; r1, r2 are the
// random numbers of the random placement.
QPointF posicio_text(LlocText lloc, QSize finestra, QSize label, float r1 = 0, float r2 = 0);

// A text order split at its first "_": keyword and value. Without "_" the
// keyword is empty and the value is the whole order.
struct ComandaText {
    QString clau;
    QString valor;
    bool te_separador = false;
};
ComandaText separar_comanda(const QString& ordre);

// Waits until `segons` have passed since t0 (monotonic), yielding at least
// once. Ends early once `acabat` says the screen belongs to someone else (a
// stop or a newer question), so what was opened is closed at once.
void esperar_des_de(double t0, double segons, const std::function<bool()>& acabat = {});

// The services the presentation reaches outside the window.
struct ServeisPresentacio {
    std::function<void(const QString&)> reproduir_so;
    std::function<void(const QString&)> reproduir_media;
    std::function<int32_t(const QString&, int16_t)> executar_programa; // window handle or 0
    std::function<void(int32_t)> tancar_finestra;
    std::function<QImage(const QString&)> carregar_imatge; // null image when unreadable
};
// The real services.
ServeisPresentacio serveis_presentacio_reals();
// The services in use; tests put recorders in place.
ServeisPresentacio& serveis_presentacio();

} // namespace lumi
