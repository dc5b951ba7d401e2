#include "actions/dimensionar.h"

#include "core/vb.h"

#include <QPainter>
#include <algorithm>
#include <limits>

namespace lumi::dimensionar {

namespace {

// Where a 4 x 4 handle box starts on one axis, edges included both ways.
struct Eixos {
    int abans;   // the handle before the low edge: low - 7
    int mig;     // the middle handle: c
    int despres; // after the high edge: high + 3
};

Eixos eixos(int origen, int mida) {
    const int centre = arrodonir(origen + mida / 2.0 - 2);
    return {origen - MARGE, centre, origen + mida + 3};
}

} // namespace

int arrodonir(double v) {
    const double r = arrodonir_parell(v);
    if (r >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (r <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

int16_t a_16(double v) {
    const double r = arrodonir_parell(v);
    return static_cast<int16_t>(std::clamp(r, -32768.0, 32767.0));
}

bool punt_dins_rect(const zona_rect& r, int px, int py) {
    return px >= r.x && px <= int64_t(r.x) + r.amplada && py >= r.y && py <= int64_t(r.y) + r.alcada;
}

Caixa caixa_nansa(const zona_rect& r, int n) {
    const Eixos h = eixos(r.x, r.amplada);
    const Eixos v = eixos(r.y, r.alcada);
    // Column and row of each handle, clockwise from the top-left corner.
    static constexpr int columna[8] = {0, 1, 2, 2, 2, 1, 0, 0};
    static constexpr int fila[8] = {0, 0, 0, 1, 2, 2, 2, 1};
    if (n < 0 || n > 7) return {0, 0, -1, -1};
    auto inici = [](const Eixos& e, int i) { return i == 0 ? e.abans : i == 1 ? e.mig : e.despres; };
    const int l = inici(h, columna[n]);
    const int t = inici(v, fila[n]);
    return {l, t, l + 4, t + 4};
}

int nansa_buscar(const zona_rect& r, int px, int py) {
    const int64_t dreta = int64_t(r.x) + r.amplada;
    const int64_t baix = int64_t(r.y) + r.alcada;
    if (px < r.x - MARGE || px > dreta + MARGE || py < r.y - MARGE || py > baix + MARGE) return NANSA_FORA;
    if (punt_dins_rect(r, px, py)) return NANSA_DINS;
    for (int n = 0; n < 8; ++n) {
        const Caixa c = caixa_nansa(r, n);
        if (px >= c.esquerra && px <= c.dreta && py >= c.dalt && py <= c.baix) return n;
    }
    return NANSA_FORA;
}

Qt::CursorShape punter(int nansa) {
    switch (nansa) {
    case 0:
    case 4:
        return Qt::SizeFDiagCursor;
    case 1:
    case 5:
        return Qt::SizeVerCursor;
    case 2:
    case 6:
        return Qt::SizeBDiagCursor;
    case 3:
    case 7:
        return Qt::SizeHorCursor;
    case NANSA_DINS:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

void zona_dibuixar_nanses(const zona_rect& r, QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // A one-pixel stroke of a w x h box covers x..x + w and y..y + h.
    p.setPen(QPen(Qt::black, 0, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.x, r.y, r.amplada, r.alcada);
    for (int n = 0; n < 8; ++n) {
        const Caixa c = caixa_nansa(r, n);
        p.fillRect(QRect(c.esquerra, c.dalt, 5, 5), Qt::black);
    }
    p.restore();
}

Caixa retall_arrossegar(const zona_rect& r, int nansa, int W, int H) {
    const int x = r.x;
    const int y = r.y;
    const int dreta = x + r.amplada;
    const int baix = y + r.alcada;
    Caixa c{0, 0, W, H};
    switch (nansa) {
    case 0:
        c = {0, 0, dreta, baix};
        break;
    case 1:
        c = {0, 0, W, baix};
        break;
    case 2:
        c = {x, 0, W, baix};
        break;
    case 3:
        c = {x, 0, W, H};
        break;
    case 4:
        c = {x, y, W, H};
        break;
    case 5:
        c = {0, y, W, H};
        break;
    case 6:
        c = {0, y, dreta, H};
        break;
    case 7:
        c = {0, 0, dreta, H};
        break;
    default:
        break;
    }
    c.esquerra = std::max(c.esquerra, 0);
    c.dalt = std::max(c.dalt, 0);
    c.dreta = std::min(c.dreta, W);
    c.baix = std::min(c.baix, H);
    return c;
}

QPoint dins_retall(const Caixa& c, int px, int py) {
    // Right and bottom are exclusive; an empty box keeps the pointer at its
    // left or top edge.
    const int x = std::max(std::min(px, c.dreta - 1), c.esquerra);
    const int y = std::max(std::min(py, c.baix - 1), c.dalt);
    return {x, y};
}

zona_rect moure(const zona_rect& abans, int nansa, int X, int Y, int dx, int dy) {
    const int64_t x = abans.x;
    const int64_t y = abans.y;
    const int64_t w = abans.amplada;
    const int64_t h = abans.alcada;
    // Left and top edges land on the pointer; right and bottom one past it.
    const int64_t esq_w = x - X + w;
    const int64_t dalt_h = y - Y + h;
    const int64_t dre_w = X - x + 1;
    const int64_t baix_h = Y - y + 1;
    int64_t nx = x, ny = y, nw = w, nh = h;
    switch (nansa) {
    case 0:
        nw = esq_w, nh = dalt_h, nx = X, ny = Y;
        break;
    case 1:
        nh = dalt_h, ny = Y;
        break;
    case 2:
        nw = dre_w, nh = dalt_h, ny = Y;
        break;
    case 3:
        nw = dre_w;
        break;
    case 4:
        nw = dre_w, nh = baix_h;
        break;
    case 5:
        nh = baix_h;
        break;
    case 6:
        nw = esq_w, nh = baix_h, nx = X;
        break;
    case 7:
        nw = esq_w, nx = X;
        break;
    case NANSA_DINS:
        nx = int64_t(X) - dx, ny = int64_t(Y) - dy;
        break;
    default:
        return abans;
    }
    auto a16 = [](int64_t v) { return a_16(static_cast<double>(v)); };
    return {a16(nx), a16(ny), a16(nw), a16(nh)};
}

} // namespace lumi::dimensionar
