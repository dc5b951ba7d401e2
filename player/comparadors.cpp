#include "player/comparadors.h"

#include "core/codis.h"
#include "core/tecles.h"
#include "core/text_codec.h"
#include "core/vb.h"

namespace lumi {

namespace {

enum class Pas { Res, Encert, Error, Complet };

// The counts of series steps are kept apart until the matcher knows its
// result: when a later option check makes the input a right answer, the
// cycle counts it, and the step must not count it a second time.
struct Passos {
    int encerts = 0;
    int errors = 0;
};

const item& copiar_item(EntornComprova& e, int16_t i) {
    if (i >= 0 && i < static_cast<int>(e.a.items.size())) e.a.items[0] = e.a.items[i];
    return e.a.items[0];
}

QString esperat(const QString& sequencia_parcial, const item& it) {
    return it.serie.mid(sequencia_parcial.size(), 3);
}

QString esperat(const EntornComprova& e, const item& it) {
    return esperat(e.sequencia_parcial, it);
}

// Upper case one character at a time: a series is walked by position, and
// a full case mapping ("ß" to "SS") would shift every later code.
QString majuscules(const QString& s) {
    QString r = s;
    for (QChar& c : r)
        c = c.toUpper();
    return r;
}

// One step of a series; `encaixa` says whether the device's code fits the
// expected one.
Pas pas_serie(EntornComprova& e, const item& it, bool encaixa) {
    const QString exp = majuscules(esperat(e, it));
    if (exp == u"HFF" || encaixa) {
        e.sequencia_parcial += exp;
        if (e.sequencia_parcial == majuscules(it.serie)) {
            e.sequencia_parcial.clear();
            e.reaccio_serie_pendent.clear();
            if (e.serie_completa) e.serie_completa();
            return Pas::Complet;
        }
        return Pas::Encert;
    }
    return e.sequencia_parcial.isEmpty() ? Pas::Res : Pas::Error;
}

void sumar(int16_t& comptador, int n) {
    comptador = static_cast<int16_t>(std::clamp(comptador + n, -32768, 32767));
}

void comptar(EntornComprova& e, const Passos& p) {
    sumar(e.inf.respostes_be, p.encerts);
    sumar(e.inf.respostes_mal, p.errors);
}

// Result of a single-code step, with its count kept aside.
int16_t resultat_pas(Pas p, int16_t i, Passos& passos) {
    switch (p) {
    case Pas::Complet:
        return i;
    case Pas::Encert:
        ++passos.encerts;
        return COMPROVA_PAS_SERIE;
    case Pas::Error:
        ++passos.errors;
        return COMPROVA_PAS_SERIE;
    case Pas::Res:
        break;
    }
    return COMPROVA_MAL;
}

// Zone entries of three characters, the zone number in the last two (hex).
bool alguna_zona(const Activitat& a, const QString& zones, int x, int y) {
    const int darrera = zona_darrera(a);
    for (qsizetype p = 0; p + 3 <= zones.size(); p += 3) {
        bool ok = false;
        const int n = zones.mid(p + 1, 2).toInt(&ok, 16);
        if (ok && n >= 0 && n <= darrera && zona_conte(a.zones[n], x, y)) return true;
    }
    return false;
}

int caracter_nivell(QChar c) {
    unsigned char b = 0;
    if (!caracter_a_cp1252(c, b)) b = static_cast<unsigned char>(c.unicode() & 0xFF);
    return static_cast<int>(b) - 126;
}

} // namespace

int16_t comprova_tecla(EntornComprova& e, int16_t i, int tecla) {
    const item& it = copiar_item(e, i);
    if (it.teclat[0] == 1) return i;
    if (it.teclat[1] == 1 && tecla == 13) return i;
    if (it.teclat[2] == 1 && tecla == 32) return i;

    static const QString digits_veu = QStringLiteral("123456789ABCDEF");
    if (tecla > 0 && tecla < 0x10000) {
        const QChar c(static_cast<char16_t>(tecla));
        const qsizetype n = digits_veu.indexOf(c);
        if (n >= 0 && it.veu[n + 1] == 1 && e.a.paraules_veu[0].contains(c)) return i;
    }
    if (it.teclat[3] == 1 && it.tecles_llista.contains(codi_tecla(tecla))) return i;

    int16_t r = COMPROVA_MAL;
    Passos passos;
    if (it.teclat[10] == 1) {
        const QString exp = esperat(e, it);
        const Pas p = pas_serie(e, it, exp == codi_tecla(tecla) || exp == codi_veu(tecla));
        r = resultat_pas(p, i, passos);
        if (p == Pas::Complet) return i;
    }

    bool be = false;
    if (it.teclat[4] == 1 && tecla >= 112 && tecla <= 123) be = true;
    static const QString numerics =
        QStringLiteral(" 12 13 33 34 35 36 37 38 39 40 45 46 48 49 50 51 52 53 54 55 56 57 "
                       " 81 96 97 98 99 100 101 102 103 104 105 106 107 109 110 111 144 ");
    if (!be && it.teclat[5] == 1 && numerics.contains(u' ' + QString::number(tecla) + u' ')) be = true;
    if (!be && ((it.teclat[6] == 1 && tecla == 38) || (it.teclat[7] == 1 && tecla == 40) ||
                (it.teclat[8] == 1 && tecla == 39) || (it.teclat[9] == 1 && tecla == 37)))
        be = true;
    if (be) return i;

    comptar(e, passos);
    return r;
}

bool pren_modificador(const Activitat& a, const QString& sequencia_parcial, int16_t i, int tecla) {
    if (i < 1 || i >= static_cast<int>(a.items.size())) return false;
    const item& it = a.items[i];
    if (it.teclat[0] == 1 || (it.teclat[3] == 1 && it.tecles_llista.contains(codi_tecla(tecla)))) return true;
    const QString exp = esperat(sequencia_parcial, it);
    return it.teclat[10] == 1 && (majuscules(exp) == u"HFF" || exp == codi_tecla(tecla));
}

int16_t comprova_zona(EntornComprova& e, int16_t i, int boto, float x, float y) {
    const item& it = copiar_item(e, i);
    const QString codi = codi_clic_ratoli(e.a, boto, x, y);
    if (it.teclat[3] == 1 && it.tecles_llista.contains(codi)) return i;

    int16_t r = COMPROVA_MAL;
    Passos passos;
    if (it.teclat[10] == 1) {
        const Pas p = pas_serie(e, it, codi == esperat(e, it));
        r = resultat_pas(p, i, passos);
        if (p == Pas::Complet) return i;
    }

    bool be = false;
    if (boto == -1) {
        be = it.ratoli[0] == 1;
    } else if (boto == 1) {
        be = it.ratoli[1] == 1;
        if (!be && it.ratoli[3] != 0) {
            const int px = static_cast<int>(arrodonir_parell(x));
            const int py = static_cast<int>(arrodonir_parell(y));
            be = alguna_zona(e.a, it.zones_ratoli, px, py);
        }
    } else if (boto == 2) {
        be = it.ratoli[2] == 1;
    }
    if (be) return 1;

    comptar(e, passos);
    return r;
}

int16_t comprova_joystic(EntornComprova& e, int16_t i, const QString& events) {
    const item& it = copiar_item(e, i);
    if (it.teclat[3] == 1) {
        for (QChar c : events)
            if (it.tecles_llista.contains(codi_joystick(QString(c)))) return i;
    }

    int16_t r = COMPROVA_MAL;
    Passos passos;
    if (it.teclat[10] == 1) {
        for (QChar c : events) {
            const Pas p = pas_serie(e, it, codi_joystick(QString(c)) == esperat(e, it));
            const int16_t rp = resultat_pas(p, i, passos);
            if (p == Pas::Complet) {
                // Steps this event took before completing stay counted.
                passos.errors = 0;
                comptar(e, passos);
                return i;
            }
            if (rp == COMPROVA_PAS_SERIE) r = rp;
        }
    }

    for (QChar c : events) {
        const int k = QStringLiteral("ARDE1234").indexOf(c);
        if (k >= 0 && it.jostick[k] == 1) return 1;
    }

    // One event is one input: a wrong count at most once, and none when a
    // character of the same event took a step.
    if (passos.encerts > 0) passos.errors = 0;
    passos.errors = std::min(passos.errors, 1);
    comptar(e, passos);
    return r;
}

int16_t comprova_web(EntornComprova& e, int16_t i, int x, int y) {
    const item& it = copiar_item(e, i);
    int16_t r = COMPROVA_MAL;
    Passos passos;
    if (it.teclat[10] == 1) {
        const QString exp = esperat(e, it);
        const Pas p = pas_serie(e, it, zona_web_cam(e.a, x, y, exp) == exp);
        r = resultat_pas(p, i, passos);
        if (p == Pas::Complet) return i;
    }

    if (x == 0 && y == 0 && r == COMPROVA_MAL) return it.web[2] == 1 ? 1 : r;

    if (it.web[0] == 1 || it.web[1] == 1) return 1;
    if (it.web[11] != 0 && alguna_zona(e.a, it.zones_web, x, y)) return i;

    comptar(e, passos);
    return r;
}

int16_t comprova_so(EntornComprova& e, int16_t i) {
    const item& it = copiar_item(e, i);
    if (it.nivell[0] == 1) {
        switch (f_so(e.d, it.nivell[1], it.nivell[2], 0)) {
        case 1:
            return i;
        case 0:
            return COMPROVA_MAL;
        default:
            return COMPROVA_INDECIS;
        }
    }
    const QString exp = esperat(e, it);
    if (it.teclat[10] == 1 && exp.size() == 3 && exp.at(0) == u'S') {
        const int16_t baix = static_cast<int16_t>(caracter_nivell(exp.at(1)));
        const int16_t alt = static_cast<int16_t>(caracter_nivell(exp.at(2)));
        const int16_t f = f_so(e.d, baix, alt, 1);
        if (f == 2) return COMPROVA_INDECIS;
        Passos passos;
        const Pas p = pas_serie(e, it, f == 1);
        const int16_t r = resultat_pas(p, i, passos);
        comptar(e, passos);
        return r;
    }
    // An item that does not listen to the sound level is never judged by it:
    // room noise must not make a key or mouse item wrong.
    return COMPROVA_INDECIS;
}

int16_t f_so(EstatDispositius& d, int16_t baix, int16_t alt, int16_t mode) {
    if (mode == 0) {
        const int l = d.nivell_so;
        if (l > baix && l < alt) return 1;
        if (l > alt) return 0;
        return 2;
    }
    if (mode == 1) {
        int dins = 0, sobre = 0;
        for (int k = 0; k <= 1; ++k) {
            const int l = d.nivells_so[k];
            if (l > baix && l < alt) ++dins;
            if (l > alt) ++sobre;
        }
        d.nivells_so[0] = 0;
        d.nivells_so[1] = 0;
        d.nivells_so[10] = 0;
        if (dins == 2) return 1;
        if (sobre >= 1) return 0;
        return 2;
    }
    return 2;
}

} // namespace lumi
