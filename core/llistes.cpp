#include "core/llistes.h"

#include "core/camins.h"
#include "core/codis.h"
#include "core/idioma.h"
#include "core/text_codec.h"
#include "core/tipus_fitxer.h"
#include "core/vb.h"

namespace lumi {

namespace {

QString digit_hex(int w) {
    return QString::number(w, 16).toUpper();
}

// The word list in its current form: every number followed by ",". Lists
// converted by older versions lack the last comma.
QString amb_coma_final(const QString& llista) {
    if (llista.isEmpty() || llista.endsWith(u',')) return llista;
    return llista + u',';
}

// Code page 850, bytes 128..255.
constexpr char16_t OEM_850[] = u"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜø£Ø×ƒáíóúñÑªº¿®¬½¼¡«»░▒▓│┤ÁÂÀ©╣║╗╝¢¥┐"
                               u"└┴┬├─┼ãÃ╚╔╩╦╠═╬¤ðÐÊËÈıÍÎÏ┘┌█▄¦Ì▀ÓßÔÒõÕµþÞÚÛÙýÝ¯´\u00AD±‗¾¶§÷¸°¨·¹³²■\u00A0";
static_assert(sizeof(OEM_850) / sizeof(char16_t) == 129);

} // namespace

int llista_comptar(const QString& text, const QString& separador) {
    const QString t = retallar(text);
    if (t.isEmpty()) return 0;
    if (separador.isEmpty()) return 1;
    const QChar c = separador.at(0);
    const int n = static_cast<int>(t.count(c));
    return t.endsWith(c) ? n : n + 1;
}

QString llista_element_en(const QString& text, int n, const QString& separador, const QString& carpeta,
                          const QString& paraula_serie) {
    QString t = ruta_relativa(retallar(text), carpeta);
    if (t.isEmpty() || n < 1) return {};
    if (!paraula_serie.isEmpty() && t.startsWith(paraula_serie)) {
        const qsizetype blanc = t.indexOf(u' ');
        if (blanc >= 0) t = t.mid(blanc + 1);
    }
    if (separador.isEmpty()) return n == 1 ? t : QString();
    const QChar c = separador.at(0);
    qsizetype pos = 0;
    for (int k = 1; pos < t.size(); ++k) {
        const qsizetype fi = t.indexOf(c, pos);
        if (k == n) return t.mid(pos, fi < 0 ? -1 : fi - pos);
        if (fi < 0) break;
        pos = fi + 1;
    }
    return {};
}

QString llista_element(const QString& text, int n, const QString& separador) {
    return llista_element_en(text, n, separador, carpeta_activitat(), tradueix(QStringLiteral("Sèrie")));
}

EntornPlanificador& entorn_planificador() {
    static EntornPlanificador e;
    return e;
}

void llista_antiga_convertir(Activitat& a) {
    const QString antiga = a.paraules_veu[0];
    if (antiga.isEmpty()) return;
    const QStringList paraules = antiga.split(u',');
    QString nova;
    const int darrer_item = std::min<int>(a.nombre_items, static_cast<int>(a.items.size()) - 1);
    // The voice flags hold words 1..15; later words have nowhere to go.
    const int n = std::min<int>(static_cast<int>(paraules.size()), 15);
    for (int k = 1; k <= n; ++k) {
        const QString& p = paraules.at(k - 1);
        if (!p.isEmpty()) {
            for (int i = 1; i <= darrer_item; ++i)
                if (a.items[i].tecles_llista.contains(p)) a.items[i].veu[k] = 1;
        }
        if (k > 1) nova += u',';
        nova += digit_hex(k);
    }
    // Written without the last comma, as older versions did; readers accept both.
    a.paraules_veu[0] = nova;
}

void llista_antiga_convertir() {
    llista_antiga_convertir(activitat());
}

void items_series_revisar(Activitat& a, const item* editat) {
    if (editat && !a.items.empty()) a.items[0] = *editat;
    const int darrer_item = std::min<int>(a.nombre_items, static_cast<int>(a.items.size()) - 1);
    QString llista;
    for (int w = 0; w <= 15; ++w) {
        for (int i = 0; i <= darrer_item; ++i) {
            if (a.items[i].veu[w] != 0) {
                llista += digit_hex(w) + u',';
                break;
            }
        }
    }
    a.paraules_veu[0] = llista;
}

void items_series_revisar() {
    const auto& e = entorn_planificador();
    items_series_revisar(activitat(), e.item_editat ? e.item_editat() : nullptr);
}

namespace {

bool codis_tenen(const QString& codis, const QString& codi) {
    for (qsizetype p = 0; p + 3 <= codis.size(); p += 3)
        if (QStringView(codis).mid(p, 3) == codi) return true;
    return false;
}

} // namespace

void series_llista_actualitzar(Activitat& a, int item_mostrat, int k, int mode, const item* editat) {
    if (k < 0 || k > 15) return;
    const QString h = digit_hex(k) + u',';
    const QString llista = amb_coma_final(a.paraules_veu[0]);
    if (mode == 1) {
        if (llista.contains(h)) return;
        QString nova;
        for (int w = 0; w <= 15; ++w) {
            const QString hw = digit_hex(w) + u',';
            if (w == k || llista.contains(hw)) nova += hw;
        }
        a.paraules_veu[0] = nova;
    } else if (mode == 0) {
        const qsizetype pos = llista.indexOf(h);
        if (pos < 0) return;
        const int darrer_item = std::min<int>(a.nombre_items, static_cast<int>(a.items.size()) - 1);
        const QString codi = QStringLiteral("V0") + digit_hex(k);
        for (int i = 1; i <= darrer_item; ++i)
            if (i != item_mostrat && (a.items[i].veu[k] != 0 || codis_tenen(a.items[i].serie, codi))) return;
        if (editat && (editat->veu[k] != 0 || codis_tenen(accions_text_a_codis(editat->serie, 0), codi)))
            return;
        a.paraules_veu[0] = QString(llista).remove(pos, h.size());
    }
}

void series_llista_actualitzar(int k, int mode) {
    const auto& e = entorn_planificador();
    series_llista_actualitzar(activitat(), e.item_mostrat ? e.item_mostrat() : 0, k, mode,
                              e.item_editat ? e.item_editat() : nullptr);
}

QString serie_de_entrades(const QStringList& entrades) {
    const QChar micro(0xB5);
    QString r;
    for (const QString& e : entrades) {
        if (e.isEmpty()) continue;
        if (e.size() >= 2 && e.startsWith(micro) && e.endsWith(micro))
            r += e.mid(1, e.size() - 2);
        else
            r += u'{' + e + u'}';
    }
    return r;
}

QString llista_index(int p, int index_control, int o, int n, const QString& llista) {
    const QString sep = QString(QChar(separador_ordres));
    const int s = index_control + o;
    const bool hi_es = s >= 1 && s <= n;
    const QString mogut = hi_es ? llista_element(llista, s, sep) : QString();
    bool posat = !hi_es; // nothing to move when the dragged entry does not exist
    QStringList r;
    for (int k = 1; k <= n; ++k) {
        if (k == s) continue;
        if (k == p + o && !posat) {
            r << mogut;
            posat = true;
        }
        r << llista_element(llista, k, sep);
    }
    if (!posat) r << mogut;
    return serie_de_entrades(r);
}

namespace {

// The largest i in 1..n for which `cert(i)` holds, 0 when none does; `cert`
// holds up to some point and fails after it. The search starts at `inici`
// (1..n) and gallops from there, so a guess near the answer costs a few calls.
template <typename F> qsizetype darrer_cert(qsizetype n, qsizetype inici, const F& cert) {
    qsizetype lo = 0;     // cert holds here (0 stands for "none")
    qsizetype hi = n + 1; // cert fails here (n + 1 stands for "all")
    qsizetype pas = 1;
    if (cert(inici)) {
        lo = inici;
        while (lo < n) {
            const qsizetype i = std::min(lo + pas, n);
            if (!cert(i)) {
                hi = i;
                break;
            }
            lo = i;
            pas *= 2;
        }
    } else {
        hi = inici;
        while (hi > 1) {
            const qsizetype i = std::max<qsizetype>(hi - pas, 1);
            if (cert(i)) {
                lo = i;
                break;
            }
            hi = i;
            pas *= 2;
        }
    }
    while (hi - lo > 1) {
        const qsizetype m = lo + (hi - lo) / 2;
        if (cert(m))
            lo = m;
        else
            hi = m;
    }
    return lo;
}

} // namespace

QString text_ajustar(const QString& text, int amplada_form,
                     const std::function<int(const QString&)>& amplada_text, qsizetype linies_max) {
    if (!amplada_text) return text;
    static const QString trencaments = QStringLiteral(" ,.:;");
    // Only the line being placed is ever measured, never the rest of the text:
    // widths grow with the prefix, so searching from the last line's length
    // finds the widest prefix that fits in a few measures of one line each.
    QString resultat;
    const qsizetype n = text.size();
    qsizetype inici = 0;
    qsizetype previ = 1;
    qsizetype linies = 1;
    while (inici < n) {
        const qsizetype resta = n - inici;
        auto amplada = [&](qsizetype i) { return amplada_text(text.mid(inici, i)); };
        // Widest prefix narrower than the form, for a word wider than the form.
        const qsizetype cap_que_cap = darrer_cert(resta, std::min(previ, resta),
                                                  [&](qsizetype i) { return amplada(i) < amplada_form; });
        if (cap_que_cap == resta) break;
        // What is left may be exactly as wide as the form: it stays one line.
        const auto no_passa = [&](qsizetype i) { return amplada(i) <= amplada_form; };
        if (no_passa(cap_que_cap + 1) && darrer_cert(resta, cap_que_cap + 1, no_passa) == resta) break;
        qsizetype tall = 0;
        for (qsizetype i = cap_que_cap; i >= 1; --i) {
            if (trencaments.contains(text.at(inici + i - 1))) {
                tall = i;
                break;
            }
        }
        // No break fits: cut the word where it leaves the form, at least one
        // character, so the loop always ends.
        if (tall == 0) tall = std::max<qsizetype>(cap_que_cap, 1);
        if (tall >= resta) break;
        if (linies_max > 0 && linies >= linies_max) return resultat + text.mid(inici, tall);
        resultat += QStringView(text).mid(inici, tall);
        resultat += QChar(13);
        inici += tall;
        previ = std::max<qsizetype>(cap_que_cap, 1);
        ++linies;
    }
    resultat += QStringView(text).mid(inici);
    return resultat;
}

QString text_a_oem(const QString& text) {
    QString r = text;
    for (qsizetype i = 0; i < r.size(); ++i) {
        const char16_t c = r.at(i).unicode();
        if (c < 0x80) continue;
        QChar fora(u'?');
        for (int b = 0; b < 128; ++b) {
            if (OEM_850[b] == c) {
                fora = cp1252_a_caracter(static_cast<unsigned char>(0x80 + b));
                break;
            }
        }
        r[i] = fora;
    }
    return r;
}

QString text_de_oem(const QString& text) {
    QString r = text;
    for (qsizetype i = 0; i < r.size(); ++i) {
        unsigned char b = 0;
        if (r.at(i).unicode() < 0x80) continue;
        r[i] = caracter_a_cp1252(r.at(i), b) && b >= 0x80 ? QChar(OEM_850[b - 0x80]) : QChar(u'?');
    }
    return r;
}

QString icona_accio_tipus(const QString& accio) {
    const QString t = retallar(accio);
    if (t.isEmpty()) return {};
    const qsizetype blanc = t.indexOf(u' ');
    if (blanc < 0) {
        for (int m : {59, 60}) {
            const QString marca = text_idioma(m);
            if (!marca.isEmpty() && t == marca + u'_') return marca;
        }
        return QStringLiteral("TECLAT");
    }
    const QString w = t.left(blanc);
    auto termes = [&](std::initializer_list<const char16_t*> claus) {
        for (const char16_t* k : claus) {
            const QString v = tradueix(QString::fromUtf16(k));
            if (!v.isEmpty() && v == w) return true;
        }
        return false;
    };
    auto missatge = [&](int n) {
        const QString v = text_idioma(n);
        return !v.isEmpty() && v == w;
    };
    if (termes({u"Teclat", u"Llista Tecles"})) return QStringLiteral("TECLAT");
    if (termes({u"Ratolí", u"Zona"}) || missatge(35) ||
        termes({u"Ratolí_Zona", u"Clic dret", u"Clic esquerre", u"Clic"}))
        return QStringLiteral("RATOLI");
    if (termes({u"web"}) || missatge(71) || termes({u"Web", u"Web_Zona", u"Clic_web", u"Fora_web"}))
        return QStringLiteral("WEB");
    if (termes({u"Joystick", u"Amunt", u"Avall", u"Dreta", u"Esquerra", u"Botó"}))
        return QStringLiteral("JOYSTICK");
    if (missatge(32) || termes({u"Soroll_entre", u"Soroll"}) ||
        (!text_idioma(32).trimmed().isEmpty() && text_idioma(32).trimmed() == w))
        return QStringLiteral("VEU");
    return QStringLiteral("TECLAT");
}

QString icona_recurs_tipus(const QString& ordre) {
    const QString f = part_recurs(ordre, 0);
    if (f.isEmpty()) return {};
    const TipusFitxer e = tipus_de_nom(f);
    if (es_dibuix(e)) return QStringLiteral("GRAF");
    if (e == TipusFitxer::lrq) return QStringLiteral("LRQ");
    if (es_so(e)) return QStringLiteral("SO");
    if (e == TipusFitxer::scr || e == TipusFitxer::avi) return QStringLiteral("ANIM");
    if (e == TipusFitxer::swf) return QStringLiteral("FLASH");
    if (e == TipusFitxer::exe || e == TipusFitxer::com || e == TipusFitxer::bat || e == TipusFitxer::cmd)
        return QStringLiteral("EXE");
    const qsizetype guio = f.indexOf(u'_');
    const QString w = guio < 0 ? QString() : f.left(guio);
    if (!w.isEmpty()) {
        for (int n : {69, 62, 63, 64, 76, 79, 65, 66, 59, 60}) {
            const QString m = text_idioma(n);
            if (w == m) return m;
        }
        const QString color = text_idioma(10);
        if (w == color.toUpper()) return color;
    }
    return QStringLiteral("TEXT");
}

} // namespace lumi
