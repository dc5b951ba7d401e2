#include "actions/model_zones.h"

#include "core/codis.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace lumi {

namespace {

// The zone table being changed: a copy, so that a refused change leaves the
// activity as it was.
struct Taula {
    std::vector<zona> zones;
    int maxim = 0;

    explicit Taula(const Activitat& a) : zones(a.zones), maxim(std::max<int>(a.zones_max, 0)) {
        zones.resize(static_cast<size_t>(maxim) + 1);
    }
    zona& operator[](int k) { return zones[static_cast<size_t>(k)]; }

    int lliure() const {
        for (int i = 1; i <= maxim; ++i)
            if (!zona_dibuixada(zones[static_cast<size_t>(i)])) return i;
        return maxim + 1;
    }
    // Slot k, appended when it is past the end.
    zona& slot(int k) {
        if (k > maxim) {
            maxim = k;
            zones.resize(static_cast<size_t>(maxim) + 1);
        }
        return (*this)[k];
    }
    // Zone s leaves the table; the later ones move down a number.
    void treure(int s) {
        zones.erase(zones.begin() + s);
        --maxim;
    }
    void desar(Activitat& a) && {
        a.zones = std::move(zones);
        a.zones_max = static_cast<int16_t>(maxim);
    }
};

int valor_hex(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    return -1;
}

// Two upper-case hex digits at p, or -1.
int parell_hex(const QString& s, qsizetype p) {
    if (p + 2 > s.size()) return -1;
    const int a = valor_hex(s.at(p));
    const int b = valor_hex(s.at(p + 1));
    return a < 0 || b < 0 ? -1 : a * 16 + b;
}

// Highest zone up to `limit` a list names with `lletra` and two hex digits
// anywhere in it (a plain search, as lists were always searched).
int maxim_llista(const QString& llista, QChar lletra, int limit) {
    int m = -1;
    for (qsizetype p = llista.indexOf(lletra); p >= 0; p = llista.indexOf(lletra, p + 1)) {
        const int z = parell_hex(llista, p + 1);
        if (z <= limit) m = std::max(m, z);
    }
    return m;
}

// Highest zone a code sequence names: mouse zones "Z", webcam zones "W".
// The webcam's diagonals and its click codes are no zones; up, right and
// left share their codes with zones 10, 13 and 14 and count as those.
int maxim_serie(const QString& codis, int limit) {
    int m = -1;
    for (qsizetype p = 0; p + 3 <= codis.size(); p += 3) {
        // Upper-cased one character at a time: a sound level's character
        // may upper-case to two ("ß") and would shift every later code.
        QString s = codis.mid(p, 3);
        for (QChar& c : s)
            c = c.toUpper();
        const QChar tipus = s.at(0);
        if (tipus != u'Z' && tipus != u'W') continue;
        const QStringView parell = QStringView(s).mid(1, 2);
        if (tipus == u'W' && (parell == u"AE" || parell == u"AD" || parell == u"C1" || parell == u"C2"))
            continue;
        const int z = parell_hex(s, 1);
        if (z <= limit) m = std::max(m, z);
    }
    return m;
}

} // namespace

int busca_zona(const Activitat& a) {
    return Taula(a).lliure();
}

int calcula_zones_ultim(const Activitat& a, const item& editat, const QString& serie_editada) {
    // Only zones of the table count.
    const int limit = a.zones_max;
    int m = -1;
    auto usa = [&m, limit](const item& it, const QString& serie_codis) {
        m = std::max({m, maxim_llista(it.zones_web, u'W', limit), maxim_llista(it.zones_ratoli, u'H', limit),
                      maxim_serie(serie_codis, limit)});
    };
    // The edited item holds its series as action text.
    usa(editat, accions_text_a_codis(editat.serie, 0));
    m = std::max(m, maxim_serie(accions_text_a_codis(serie_editada, 0), limit));
    const int darrer = std::min<int>(a.nombre_items, static_cast<int>(a.items.size()) - 1);
    for (int j = 1; j <= darrer; ++j) {
        const item& it = a.items[static_cast<size_t>(j)];
        usa(it, it.serie);
    }
    return m;
}

zona_rect marc_de(const zona& z) {
    using dimensionar::a_16;
    return {a_16(z.esquerra), a_16(z.dalt), a_16(double(z.dreta) - z.esquerra),
            a_16(double(z.baix) - z.dalt)};
}

void desar_marc(zona& z, const zona_rect& m) {
    z.esquerra = m.x;
    z.dalt = m.y;
    z.dreta = int32_t(m.x) + m.amplada;
    z.baix = int32_t(m.y) + m.alcada;
}

int zona_nova(Activitat& a, int l, int t, int r, int b) {
    if (int64_t(b) - t < 5 || int64_t(r) - l < 5) return 0;
    Taula taula(a);
    const int k = taula.lliure();
    if (k > ZONES_MAXIMES) return -1;
    taula.slot(k) = zona{l, t, r, b, QString()};
    std::move(taula).desar(a);
    return k;
}

bool esborrar_zona(Activitat& a, int s, int ultima_usada) {
    if (s < 1 || s > a.zones_max || s <= ultima_usada) return false;
    Taula taula(a);
    taula.treure(s);
    std::move(taula).desar(a);
    return true;
}

int tota_la_pantalla(Activitat& a) {
    Taula taula(a);
    const int k = taula.maxim + 1;
    if (k > ZONES_MAXIMES) return -1;
    const zona pantalla = taula[0]; // a copy: the table grows below
    taula.slot(k) = pantalla;
    std::move(taula).desar(a);
    return k;
}

int compte_barra(int valor, int maxim) {
    return maxim - valor + 1;
}

Subdivisio subdividir(Activitat& a, int s, int c, int r, int ultima_usada) {
    if (s < 1 || s > a.zones_max) return Subdivisio::sense_seleccio;
    if (c < 1 || r < 1) return Subdivisio::cel_la_buida;
    Taula taula(a);
    const zona R = taula[s];
    const int64_t w = (int64_t(R.dreta) - R.esquerra) / c;
    const int64_t h = (int64_t(R.baix) - R.dalt) / r;
    // Integer division truncates; floor and truncation differ only below 0,
    // which is refused anyway.
    if (w <= 0 || h <= 0) return Subdivisio::cel_la_buida;
    // A zone items use keeps its number: the first cell takes its slot (and
    // its picture). One nobody uses leaves the table.
    int primera = 0;
    if (s > ultima_usada) {
        taula.treure(s);
    } else {
        zona& z = taula[s];
        z.esquerra = z.dalt = z.dreta = z.baix = 0;
        primera = s;
    }
    for (int fila = 0; fila < r; ++fila) {
        for (int col = 0; col < c; ++col) {
            const int k = primera ? std::exchange(primera, 0) : taula.lliure();
            if (k > ZONES_MAXIMES) return Subdivisio::massa_zones;
            zona& z = taula.slot(k);
            z.esquerra = static_cast<int32_t>(R.esquerra + col * w);
            z.dalt = static_cast<int32_t>(R.dalt + fila * h);
            z.dreta = static_cast<int32_t>(z.esquerra + w);
            z.baix = static_cast<int32_t>(z.dalt + h);
        }
    }
    std::move(taula).desar(a);
    return Subdivisio::feta;
}

} // namespace lumi
