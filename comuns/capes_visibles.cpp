#include "comuns/capes_visibles.h"

#include <cmath>

namespace lumi {

namespace {

// A region grows no further past this many rectangles: what it would add
// is then painted, which is only slower.
constexpr int MAX_RECTANGLES = 64;

bool dins(const QRect& r, const QRegion& g) {
    return g.boundingRect().contains(r) && QRegion(r).subtracted(g).isEmpty();
}

} // namespace

int CapesVisibles::capes_per_amagar(int alfa) {
    if (alfa >= 255) return 1;
    if (alfa <= 0) return 0;
    // What shows through n layers is (1 - alfa / 255)^n of it: under half a
    // level of 255, it rounds away.
    return static_cast<int>(std::ceil(std::log(0.5 / 255) / std::log(1 - alfa / 255.0)));
}

CapesVisibles::CapesVisibles(const QRect& tot, const QRegion& a_pintar, int alfa) : tot_(tot) {
    const int n = capes_per_amagar(alfa);
    // Fainter layers than the deepest pile kept never hide anything.
    if (n >= 1 && n <= MAX_CAPES) capes_ = n;
    translucides_amaguen_ = n >= 1 && n <= MAX_CAPES;
    const QRegion fora = QRegion(tot).subtracted(a_pintar);
    for (int i = 0; i < capes_; ++i)
        cobert_[static_cast<size_t>(i)] = fora;
    tot_cobert_ = a_pintar.intersected(tot).isEmpty();
}

void CapesVisibles::cobrir(QRegion& r, const QRegion& amb) {
    if (r.rectCount() <= MAX_RECTANGLES) r += amb;
}

bool CapesVisibles::mostra(const QRect& r, bool opac) {
    const QRect c = r & tot_;
    if (tot_cobert_ || c.isEmpty()) return false;
    int& sobre = iguals_[std::make_tuple(c.x(), c.y(), c.width(), c.height())];
    if (sobre >= capes_) return false;
    QRegion& amagat = cobert_[static_cast<size_t>(capes_ - 1)];
    if (dins(c, amagat)) return false;
    sobre = opac ? capes_ : sobre + (translucides_amaguen_ ? 1 : 0);
    if (opac) {
        for (int i = 0; i < capes_; ++i)
            cobrir(cobert_[static_cast<size_t>(i)], c);
    } else if (translucides_amaguen_) {
        for (int i = capes_ - 1; i >= 1; --i)
            cobrir(cobert_[static_cast<size_t>(i)], cobert_[static_cast<size_t>(i - 1)].intersected(c));
        cobrir(cobert_[0], c);
    }
    tot_cobert_ = dins(tot_, amagat);
    return true;
}

} // namespace lumi
